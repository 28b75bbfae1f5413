#pragma once

#include <memory>
#include <string>

#include "archivio/Archivio.h"

// Reads an SQLite 3 file of the suite. Column types come from the declared
// types: INT/INTEGER/LONG -> Intero, MONEY/CURRENCY -> Valuta, DOUBLE/REAL -> Reale,
// TEXT/MEMO -> Testo, DATETIME -> Data, BOOLEAN -> SiNo. Text is stored as UTF-8.
// A reading of some columns takes only those, as the Access reader does.
std::unique_ptr<Archivio> ApriArchivioSqlite(const FileArchivio& file);

// Writes `tabella` into the SQLite file `percorso` (created when missing), in
// its record order, with the declared types above. Used by the demo data and
// by tests that build scenarios in code. Replaces a table of the same name.
void ScriviTabellaSqlite(const std::string& percorso, const Tabella& tabella);
