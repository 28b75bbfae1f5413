#pragma once

#include <string>

#include "common/Contesto.h"

// Exports the report file Testo of the data folder as the workstation's
// delimited file "fd" + workstation + ".csv" there, in UTF-8 after its
// byte-order mark. The separators come from
// "SeparatoreXLS.txt" (field, decimal, currency mark; "," "." and the euro
// sign when the file is missing). Throws Errore 53 when Testo does not exist,
// 62 when the settings file has fewer than three lines, 75 when a file cannot
// be read or the export cannot be written; no export file is left then.
void ConvertiXLS(const Contesto& contesto, const std::string& Testo);

// "fd" + workstation + ".csv"
std::string NomeFileEsportazione(const std::string& postazione);
