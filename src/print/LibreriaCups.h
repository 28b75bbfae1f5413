#pragma once

#include <cups/cups.h>

// The functions of the print system's library (libcups) the direct path
// uses. The library is loaded the first time a print queue is looked up: a
// program that never prints to a queue (a report built by a night job)
// starts without it and the two dozen libraries it brings along.
struct LibreriaCups {
    decltype(&::cupsServer) Server;
    decltype(&::cupsLastError) LastError;
    decltype(&::cupsLastErrorString) LastErrorString;
    decltype(&::httpAssembleURIf) AssembleURIf;
    decltype(&::ippNewRequest) NewRequest;
    decltype(&::ippAddString) AddString;
    decltype(&::cupsDoRequest) DoRequest;
    decltype(&::ippDelete) Delete;
    decltype(&::cupsCreateJob) CreateJob;
    decltype(&::cupsStartDocument) StartDocument;
    decltype(&::cupsWriteRequestData) WriteRequestData;
    decltype(&::cupsFinishDocument) FinishDocument;
    decltype(&::cupsCancelJob2) CancelJob2;
};

// The library, loaded once for the whole run. Throws Errore 482 when the
// print system's library is not installed.
const LibreriaCups& Cups();
