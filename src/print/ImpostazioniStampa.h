#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class CartellaDati;
struct SceltaStampa;

// Everything a print run reads from the suite's settings before it prints.
struct ImpostazioniStampa {
    std::string fontCorpo;            // body font ("FontStp.txt")
    std::int16_t lunghezzaPagina = 60;  // counted lines per page (Contatori)
    std::int16_t tipoStampa = 0;      // print type of the destination record
    // The twelve groups of SetStampa's "Compresso" and "Grassetto", index 1..12.
    std::array<double, 13> compresso{};
    std::array<std::int16_t, 13> grassetto{};
    std::int16_t lunghezzaFoglio = 66;  // lines of a sheet, for filling pages up
    std::int16_t margineSuperiore = 0;  // blank lines at the top of every page
    std::string destinazione;         // printer, port, queue or file
    // Whether the destination is the user's own choice (typed into
    // "Stampante", or in her environment) rather than the shared "Linea" of
    // the Stampanti table, which any user of the data folder may write.
    bool destinazioneDellUtente = false;

    // Compresso 6 = 1: through the printer driver; otherwise raw text.
    bool PerDriver() const { return compresso[6] == 1; }
    // Font size of the report lines on the driver path.
    double DimensioneCorpo(bool compressa) const { return compressa ? compresso[1] : compresso[7]; }
    // The five bytes sent before the report on the direct path (Compresso 1..5
    // compressed, else 7..11). Throws Errore 5 naming the setting for a code
    // outside 0..255.
    std::string SequenzaControllo(bool compressa) const;
};

// The largest settings file read ("FontStp.txt", "SeparatoreXLS.txt"): a
// few lines; a larger file is refused unread.
constexpr std::size_t kMassimoFileImpostazioni = 64 * 1024;

// Reads the settings for `scelta` and hotel `hotel` from the data folder
// `cartella`. Throws Errore 3021 naming the destinations there are when no
// printer record matches the chosen one, Errore on a missing settings
// database, table or field, or a settings file that cannot be read.
ImpostazioniStampa LeggiImpostazioni(const CartellaDati& cartella, const SceltaStampa& scelta, std::int16_t hotel);

// The assistance code of the suite, as the print menu reads it: field
// "CodiceAssistenza" of hotel 1 in "AnagraficaHotels"; "" when there is none.
std::string CodiceAssistenza(const CartellaDati& cartella);
