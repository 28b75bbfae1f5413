#pragma once

#include <string>
#include <vector>

#include "archivio/Criterio.h"

// A record set the program opens on a file of the suite, with searches the
// program makes on it.
struct SelezioneDaProvare {
    std::string file;
    Selezione selezione;
    std::vector<Criterio> ricerche;
};

// Opens each record set on the demo files and on their SQLite copy: it must
// hold records, give each field it names, declare each search's form among
// its searches (so that its fields are checked when it is opened) and find
// a record with each. A misspelt table or field fails here.
void ControllaSuiFileDemo(const std::vector<SelezioneDaProvare>& casi);
