#pragma once

#include <cstdint>
#include <string>

// Workstation text: the value of the environment variable PCLocal (name
// matched without regard to case), blanks trimmed; "" when it is not set.
// Throws Errore 5 when it holds "/", "\" or "..".
std::string Postazione();

// Name of the workstation's report file: "FD" + Postazione().
std::string NomeFileReport();

// Builds the weekly tableau of `hotel`, tableau `tableau`, rooms from
// `primaCamera` to `ultimaCamera` (as text) and the week starting on
// `dataInizio` (dd/mm/yyyy), reading the suite's databases in the current
// folder, and writes it as the report file. The report is written to a
// temporary file and renamed over the old one only when complete.
// Throws Errore on a missing or damaged database, table or field, or a
// report file that cannot be written; the previous report then stays.
void CreaTableau(std::int16_t& hotel, std::int16_t& tableau, const std::string& primaCamera,
                 const std::string& ultimaCamera, std::string dataInizio);
