#pragma once

#include "common/FileSostitutivo.h"

// The workstation's report file being written. Lines go to a temporary file
// in the same folder; Completa() renames it over the report, so a build that
// stops half-way leaves the previous report as it was.
class FileReport : public FileSostitutivo {
public:
    // Opens the temporary file in the current folder. Throws Errore 75.
    FileReport();
};
