#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Contesto.h"

// What the print menu reads and files, apart from the print run itself.
// Texts are Windows-1252.

// The clock that dates the archive copy: local date and time, read once per
// call (TempoLocale of the common routines).
using Orologio = std::function<std::tm()>;

// The archive folder "doc" of the data folder, where the dated copies and
// PDFs of the report go; made when missing. Throws Errore 76 when it is a
// link or no folder, or cannot be made.
extern const char* const kCartellaArchivio;
CartellaDati CartellaArchivio(const CartellaDati& cartella);

// The name of a dated file of the report in the archive folder for the time
// `ora`: "fd" + workstation + yyyymmddhhnn + `estensione` (".doc", ".pdf").
std::string NomeInArchivio(const std::string& postazione, const std::tm& ora, const std::string& estensione);

// True for the file name of an archive copy of this workstation's report
// ("fd" + workstation + twelve digits + ".doc", without regard to case).
bool CopiaInArchivio(const std::string& postazione, const std::string& nomeFile);

// Copies the workstation's report file into the archive folder as `nomeArchivio`
// (NomeInArchivio with ".doc"), replacing an older copy of that name. Throws
// Errore when the report is missing or cannot be read, or the copy fails.
void ArchiviaReport(const Contesto& contesto, const std::string& nomeArchivio);

// The hotel a print reads its page length for: the chosen one, hotel 1 when none is chosen (0).
std::int16_t HotelDiStampa(std::int16_t hotel);

// Destinazione of every record of hotel 1 in the Stampanti table, in the order found.
std::vector<std::string> DestinazioniHotel1(const CartellaDati& cartella);

// The PDF destination among `destinazioni`: the last one whose name holds
// "PDF" (upper case); none when no name does.
std::optional<std::size_t> DestinazionePdf(const std::vector<std::string>& destinazioni);
