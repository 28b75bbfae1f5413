#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "common/CartellaDati.h"
#include "tableau/Settimana.h"

// The heading of every page printed through the driver: the report file has
// none of its own. Texts in Windows-1252.

// The tableau a print is of, as the print menu or the command line knows it.
struct TableauStampato {
    std::int16_t codice = 0;  // Codice in Tableau, for the hotel printed for; 0: not named
    std::string primoGiorno;  // the week's first day, dd/mm/yyyy; "": read from the report's header line
    // The week the report was written from, kept at each print so that the
    // room rack can show what changed since; none when the report is of an
    // earlier run.
    std::shared_ptr<const Settimana> settimana;
};

// What the heading says: on the left the hotel, the tableau and the week, on
// the right when the print was made and the page.
struct IntestazioneStampa {
    std::string sinistra;
    std::string stampata;

    // The right part on page `pagina` (from 1) of `pagine`.
    std::string Destra(std::size_t pagina, std::size_t pagine) const;
};

// The heading of hotel `hotel` (RagioneSociale, first 45 characters), the
// tableau definition `tableau` (Descrizione) and the week from `primoGiorno`
// (dd/mm/yyyy, "" for none) to six days after it, printed at `ora`. Each
// part left out when empty.
IntestazioneStampa ComponiIntestazione(const std::string& hotel, const std::string& tableau,
                                       const std::string& primoGiorno, const std::tm& ora);

// The heading of a print for hotel `hotel`, read from AnagraficaHotels and
// Tableau in the data folder `cartella` (a record not found leaves its part out);
// the week from `tableau`, else from the report's header line `primaRiga`.
// Throws Errore on a missing database, table or field.
IntestazioneStampa LeggiIntestazione(const CartellaDati& cartella, std::int16_t hotel, const TableauStampato& tableau,
                                     const std::string& primaRiga, const std::tm& ora);

// The first day of the week that the report's header line `riga` shows,
// dd/mm/yyyy: the weekday and dd/mm of its first day's cell, in the year
// nearest `oggi` in which that day falls on that weekday. "" when the line
// shows no such day.
std::string PrimoGiornoDelReport(const std::string& riga, std::chrono::sys_days oggi);
