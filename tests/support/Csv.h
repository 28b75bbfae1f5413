#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "archivio/Valore.h"

// The CSV sources of the demo databases (tests/data/demo/csv/<Database>/<Table>.csv):
// UTF-8, RFC 4180 quoting, a header cell "Name:TYPE" per column, \N for Null,
// "" for a zero-length text.

// The table of one CSV source, named after the file, as a database would give
// it: texts in Windows-1252; LONG and INT as Intero, MONEY as Valuta, DOUBLE as
// Reale, DATETIME as Data "yyyy-mm-dd hh:mm:ss" (a date alone gets " 00:00:00"),
// BOOLEAN as SiNo, TEXT(n) and MEMO as Testo. Throws std::runtime_error on a
// malformed file.
Tabella LeggiCsv(const std::filesystem::path& percorso);

struct SorgenteCsv {
    std::string database;  // file name without ".mdb": "Stampanti"
    std::string tabella;   // "SetStampa"
    std::filesystem::path percorso;
};

// Every CSV source of a test data set ("demo", or "edited": the demo files
// after deletions and updates in Access), ordered by database, then table.
std::vector<SorgenteCsv> SorgentiCsvDemo(const std::string& insieme = "demo");

// Shows a value in a failed test's message: N for Null, else its type and text.
void PrintTo(const Valore& valore, std::ostream* os);

// Writes the demo data as SQLite files into `cartella`, one file per database
// under the suite's names (AnagraficaHotels.mdb, ...), each table in CSV order:
// the same data as the demo Access files, in the second store format.
// `insieme` as for SorgentiCsvDemo.
void CreaCopiaSqliteDemo(const std::filesystem::path& cartella, const std::string& insieme = "demo");

class CartellaTemporanea;

// Fills `cartella` (the current folder) for a print of the demo week: the demo
// Access files, the report of hotel 1's week of 07/12/2026 as FD1, and a
// Contatori giving each hotel of `righe` (hotel, lines) its page length
// (LungPagNoComp).
void PreparaStampaDemo(const CartellaTemporanea& cartella,
                       const std::vector<std::pair<std::int64_t, std::int64_t>>& righe);
