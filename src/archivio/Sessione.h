#pragma once

#include "archivio/ArchivioAccess.h"
#include "archivio/StatoFile.h"
#include "archivio/TabelleCondivise.h"

// What the store keeps from one reading to the next for whoever owns it (the
// main window, a command, a test) and the databases opened with it: the
// tables read, each kept while its file is unchanged, so that another build
// does not read them again; the Access readers' places and the names of the
// tables of the files they have listed; the fingerprints of the files taken
// last. Nothing of it outlives its owner. Safe for use from several threads.
struct SessioneArchivio {
    TabelleConservate tabelle;
    LettoriAccess lettori;
    UltimeImpronte impronte;
};
