#pragma once

#include <string>

// Exports the report file Testo as the workstation's delimited file "fd" +
// Postazione() + ".csv" in the current folder, in UTF-8 after its byte-order mark.
// The separators come from "SeparatoreXLS.txt" (field, decimal, currency mark;
// "," "." and the euro sign when the file is missing). Throws Errore 53 when
// Testo does not exist, 62 when the settings file has fewer than three lines,
// 75 when the export cannot be written; no export file is left then.
void ConvertiXLS(const std::string& Testo);

std::string NomeFileEsportazione();  // "fd" + Postazione() + ".csv"
