#pragma once

#include <array>
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "common/Contesto.h"
#include "tableau/Settimana.h"

// What changed in a week since it was last printed. Every print of the
// picture or of the report of a week keeps that week's model under "doc",
// per workstation; opening the same week again compares it with the kept one.
// Texts Windows-1252.

// How a stay differs from the one printed.
enum class GenereVariazione {
    Aggiunta,    // not there at the print
    Spostata,    // in another room, or on other dates not within nor around the printed ones
    Accorciata,  // the same room, within the printed dates
    Prolungata,  // the same room, around the printed dates
    Cancellata,  // no longer there
};

struct Variazione {
    GenereVariazione genere = GenereVariazione::Aggiunta;
    std::string camera;       // the room now; for a cancellation the room it was in
    std::string cameraPrima;  // for a move to another room, the room it was in; "" otherwise
    std::string nome;
    std::string arrivo, partenza;            // yyyymmdd, now (as printed for a cancellation)
    std::string arrivoPrima, partenzaPrima;  // as printed; "" for an addition
    friend bool operator==(const Variazione&, const Variazione&) = default;
};

// The changes of a week against its print at `stampato` (yyyymmddhhnn), and
// the cells they touch in the week as it is now: for every room (indexed as
// its `camere`) the days where a changed stay was printed or is now.
struct VariazioniSettimana {
    std::string stampato;
    std::vector<Variazione> variazioni;
    std::vector<std::array<bool, Griglia::Giorni>> celle;

    bool Marcata(std::size_t camera, int giorno) const { return camera < celle.size() && celle[camera][giorno]; }
};

// Compares the week `attuale` with `stampata`, its model kept at the print
// made at `stampato`. Only rooms listed in both are compared (a range of
// rooms asked differently adds or drops nothing). A stay is known by its
// kind and number (the guests' account, the booking), and by its name where
// the number is 0. Changes are listed by room in the order of `attuale`,
// then by arrival.
VariazioniSettimana ConfrontaConStampa(const Settimana& stampata, const std::string& stampato,
                                       const Settimana& attuale);

// The change on one line: "102: ROSSI MARIO, 08/12 - 10/12, accorciata (era 08/12 - 12/12)".
std::string DescriviVariazione(const Variazione& variazione);
// "Variazioni dall'ultima stampa (07/12/2026 18:30)".
std::string TitoloVariazioni(const std::string& stampato);

// The name of the kept model of a week in the archive folder:
// "stampato" + workstation + "_" + hotel + "_" + tableau + "_" + first day (yyyymmdd) + ".json".
std::string NomeSettimanaStampata(const std::string& postazione, const Settimana& settimana);

// The largest kept model read back: a week of a thousand rooms is a few MB.
constexpr std::size_t kMassimoSettimanaStampata = std::size_t{32} << 20;

// Keeps the model of `settimana`, printed at `ora`, for the workstation of
// `contesto`: its JSON replaces the one kept before for that week in the
// archive folder. Throws Errore 75 (61 for a full disk), 76 when the archive
// folder cannot be made.
void ConservaStampa(const Contesto& contesto, const Settimana& settimana, const std::tm& ora);

// After a print, PDF or mail of the week's report: keeps `settimana` (when
// known) as ConservaStampa does. A week that cannot be kept does not undo
// what was printed: the sentence returned, to be added to the outcome, says
// so, in UTF-8 ("" when kept, or when there is no week).
std::string ConservaDopoLaStampa(const Contesto& contesto, const Settimana* settimana, const std::tm& ora);
