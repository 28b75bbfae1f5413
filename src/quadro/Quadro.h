#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tableau/Settimana.h"

// The week as a picture (the room rack): what the window and the printed
// pages draw for every room and day, made from the week's data. Texts are
// Windows-1252.

// Where the week shown comes from: the week built from the start day
// `dataInizio` (dd/mm/yyyy). Throws Errore when it cannot be built.
using FornitoreSettimana = std::function<Settimana(const std::string& dataInizio)>;

// What a room is on a day, as its colour, letter and hatch tell.
enum class StatoQuadro { Libera, Ospite, PrenotazioneC, PrenotazioneD, Opzione, FuoriServizio };

// Every state, in the order the legend lists them.
constexpr std::array<StatoQuadro, 6> kStatiQuadro = {StatoQuadro::Ospite,  StatoQuadro::PrenotazioneC,
                                                     StatoQuadro::PrenotazioneD, StatoQuadro::Opzione,
                                                     StatoQuadro::FuoriServizio, StatoQuadro::Libera};

// The legend's words for a state ("Ospite registrato").
std::string NomeStato(StatoQuadro stato);
// The letter that tells the state apart in black and white ('R', 'C', 'D', 'O', 'X'; ' ' for free).
char LetteraStato(StatoQuadro stato);

// The state a party gives its nights: registered guests, an option (booking
// type "O"), a booking of type "C", any other booking as type "D".
StatoQuadro StatoPartita(const Partita& partita);

// The stretch of a stay drawn across the days, in half days from the start
// of the week: 0 is the start of day 0, 14 the end of day 6. A night of day k
// runs from the middle of day k to the middle of day k + 1 (2k + 1 to 2k + 3),
// so a day of departure and arrival holds the end of one stay in its left
// half and the start of the next in its right half.
struct Barra {
    int giorno = 0;          // a day of the stretch where its party is listed
    std::size_t indice = 0;  // the party in giorni[giorno].partite
    int inizio = 0;
    int fine = 0;
    bool continuaPrima = false;  // the stay began before the week
    bool continuaDopo = false;   // the stay goes on after the week
    bool mostrata = false;       // the party the report shows on those nights
    StatoQuadro stato = StatoQuadro::Libera;
    friend bool operator==(const Barra&, const Barra&) = default;
};

// The stretches of the stays of a room, stay by stay in the order they are
// first found. A stay is split where the report shows it on some nights and
// another party on others. Where the report shows several parties on one
// night, the last one listed is the one drawn as shown. A stay that leaves
// on day 0 is the left half of that day.
std::vector<Barra> BarreCamera(const CameraSettimana& camera);

// The state of a room on each day: that of the party shown for the night,
// else out of service or free.
std::array<StatoQuadro, Griglia::Giorni> StatiCamera(const CameraSettimana& camera);

// Which rooms the picture lists.
struct FiltroQuadro {
    std::string tipo;                   // TipoCamera; "" for every type
    std::optional<std::int64_t> piano;  // Piano; none for every floor
    std::optional<StatoQuadro> stato;   // rooms in that state on at least one day; out of service: the rooms that are
    friend bool operator==(const FiltroQuadro&, const FiltroQuadro&) = default;
};

// The indices of the rooms of `settimana` that `filtro` lets through, in order.
std::vector<std::size_t> CamereFiltrate(const Settimana& settimana, const FiltroQuadro& filtro);
// The room types and the floors of the week's rooms, each once, sorted.
std::vector<std::string> TipiDelleCamere(const Settimana& settimana);
std::vector<std::int64_t> PianiDelleCamere(const Settimana& settimana);
// The week with only the rooms `camere` (indices), in that order.
Settimana SoloCamere(const Settimana& settimana, const std::vector<std::size_t>& camere);

// True when a party of the day, shown or not, has `cercato` in its name,
// case ignored. An empty or blank text finds nothing.
bool NomeNelGiorno(const GiornoCamera& giorno, std::string_view cercato);

// The name as a short bar shows it: the first word whole, each other by its
// initial and a point ("ROSSI M. A.").
std::string NomeAccorciato(const std::string& nome);
// The second line of a bar: persons, agency and payment code, those there are
// ("2 · Agenzia Sole · C").
std::string DettaglioBarra(const Partita& partita);

// The three lines of the totals of a day as the picture's totals row shows them.
std::array<std::string, 3> RigheTotali(const TotaliGiorno& totali);
// The week's totals on one line.
std::string TestoTotaliSettimana(const TotaliGiorno& totali);

// A date text yyyymmdd as dd/mm/yyyy; any other text as it is.
std::string DataLeggibile(const std::string& data);
// A time yyyymmddhhnn as "dd/mm/yyyy hh:mm"; any other text as it is.
std::string OraLeggibile(const std::string& ora);
// The calendar day of a date text yyyymmdd; none when it is no valid date.
std::optional<std::chrono::sys_days> GiornoDellaData(const std::string& data);

// The ISO 8601 number of the week a day falls in (1 to 53).
int SettimanaIso(std::chrono::sys_days giorno);

// The title of the picture: hotel, tableau and week with its number on the
// left, "aggiornato al" and when the data were read on the right.
struct TitoloQuadro {
    std::string sinistra;
    std::string destra;
};
TitoloQuadro ComponiTitolo(const Settimana& settimana);

// The heading of the day `giorno` in the picture: "Lunedì 07/12".
std::string IntestazioneGiorno(const DataSettimana& giorno);

// What the details of a cell say: the room and the day, then the parties
// of that day in full, a block of lines each.
struct DettagliCella {
    std::string titolo;
    std::vector<std::vector<std::string>> partite;
};
DettagliCella DescriviCella(const Settimana& settimana, std::size_t camera, int giorno);
