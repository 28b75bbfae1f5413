#include "tableau/Criteri.h"

using namespace campo;

namespace {

// The values of a search: numbers as whole numbers, texts as they are.
Valore Intero(std::int64_t n) { return Valore::Intero(n); }
Valore Testo(std::string_view testo) { return Valore::Testo(testo); }

// The positions of a form's values.
constexpr Parametro Primo{0}, Secondo{1}, Terzo{2}, Quarto{3};

// The stays that touch the week: arrival not after its last day (first
// value), departure not before its first (second value). Those leaving on
// the first morning have no night in the week: the report's searches pass
// them by, the week's departures take them.
Criterio NellaSettimana(const std::string& primo, const std::string& ultimo) {
    static const Forma forma = DataArrivo <= Primo && DataPartenza >= Secondo;
    return {forma, {Testo(ultimo), Testo(primo)}};
}

// The booking types that take a place in the tableau.
Forma OccupaCamera(const Campo& tipo) { return tipo == "C" || tipo == "O" || tipo == "D"; }

// Values: hotel.
const Forma& FormaCamere() {
    static const Forma forma = NumeroHotel == Primo;
    return forma;
}

// Values: room, day.
const Forma& FormaOspiti() {
    static const Forma forma =
        NumeroCamera == Primo && Partito == "N" && DataArrivo <= Secondo && DataPartenza > Secondo;
    return forma;
}

// Values: hotel, guest account, day.
const Forma& FormaAddebiti() {
    static const Forma forma = NumeroHotel == Primo && CodiceCliente == Secondo && NumeroConto == 1 &&
                               DataInizio <= Terzo && DataFine > Terzo;
    return forma;
}

// Values: hotel, agency code.
const Forma& FormaAgenzia() {
    static const Forma forma = NumeroHotel == Primo && Codice == Secondo;
    return forma;
}

// Values: hotel, room.
const Forma& FormaPrenotazioni() {
    static const Forma forma = NumeroHotel == Primo && NumeroCamera == Secondo && OccupaCamera(TipoPrenotazione);
    return forma;
}

// Values: hotel, booking.
const Forma& FormaTestata() {
    static const Forma forma = NumeroHotel == Primo && NumeroPrenotazione == Secondo;
    return forma;
}

// Values: hotel, booking, room.
// Values: hotel, booking, room, the week's first day. Only a record with a
// night in the week counts as the booked room's first.
const Forma& FormaCameraPrenotata() {
    static const Forma forma =
        NumeroHotel == Primo && NumeroPrenotazione == Secondo && NumeroCamera == Terzo && DataPartenza > Quarto;
    return forma;
}

const Forma& FormaElencoHotel() {
    static const Forma forma = Numero > 0;
    return forma;
}

// Values: hotel.
const Forma& FormaElencoTableau() {
    static const Forma forma = NumeroHotel == Primo && Codice > 0;
    return forma;
}

// Values: hotel, tableau.
const Forma& FormaCamereDelTableau() {
    static const Forma forma = NumeroHotel == Primo && NumeroTableau == Secondo;
    return forma;
}

// Values: room type.
const Forma& FormaTipoCamera() {
    static const Forma forma = Sigla == Primo;
    return forma;
}

// Values: hotel.
const Forma& FormaHotel() {
    static const Forma forma = Numero == Primo;
    return forma;
}

// Values: hotel, tableau.
const Forma& FormaDescrizioneTableau() {
    static const Forma forma = NumeroHotel == Primo && Codice == Secondo;
    return forma;
}

}  // namespace

Selezione QueryCamere() {
    const Selezione tipiCheSonoCamere{
        .tabella = "TipiCamere", .campi = {Sigla}, .filtro = Tipologia == "C", .file = "TipiCamere.mdb"};
    return {.tabella = "NumeriCamere",
            .campi = {NumeroTableau, NumeroCamera, TipoCamera},
            .filtro = In(TipoCamera, tipiCheSonoCamere),
            .ordine = {NumeroCamera},
            .ricerche = {FormaCamere()},
            .facoltativi = {Piano, FuoriServizio}};
}

Selezione QueryOspiti(const std::string& primo, const std::string& ultimo) {
    return {.tabella = "Scheda_Cliente",
            .campi = {NumeroHotel, Partito, DataArrivo, DataPartenza, NumeroComponente, NomeCliente,
                      NumeroProgressivo, TipoPagamento, CodiceAgenzia},
            .filtro = NellaSettimana(primo, ultimo),
            .ricerche = {FormaOspiti()}};
}

Selezione QueryCamerePrenotate(const std::string& primo, const std::string& ultimo) {
    return {.tabella = "Camere_Prenotazione",
            .campi = {NumeroPrenotazione, NumeroPersone, DataArrivo, DataPartenza, Prezzo},
            .filtro = NellaSettimana(primo, ultimo),
            .ricerche = {FormaPrenotazioni(), FormaCameraPrenotata()}};
}

Selezione QueryTestate(const std::string& primo, const std::string& ultimo) {
    const Selezione prenotazioniDellaSettimana{.tabella = "Camere_Prenotazione",
                                               .campi = {NumeroPrenotazione},
                                               .filtro = NellaSettimana(primo, ultimo),
                                               .file = "Camere_Prenotazione.mdb"};
    return {.tabella = "Scheda_Prenotazione",
            .campi = {NomeCliente, Pagamento, TipoPrenotazione, Agenzia},
            .filtro = In(NumeroPrenotazione, prenotazioniDellaSettimana),
            .ricerche = {FormaTestata()}};
}

Selezione TabellaAgenzie() {
    return {.tabella = "AgenzieAbituali", .campi = {RagioneSociale}, .ricerche = {FormaAgenzia()}};
}

Selezione TabellaAddebiti() {
    return {.tabella = "Arrangiamento", .campi = {ImportoTotale}, .ricerche = {FormaAddebiti()}};
}

Selezione TabellaTipiCamere() {
    return {.tabella = "TipiCamere", .campi = {Sigla, Tipologia}, .ricerche = {FormaTipoCamera()}};
}

Selezione TabellaHotel() {
    return {.tabella = "AnagraficaHotels", .campi = {Numero, RagioneSociale}, .ricerche = {FormaElencoHotel()}};
}

Selezione TabellaTableau() {
    return {.tabella = "Tableau", .campi = {Codice, Descrizione}, .ricerche = {FormaElencoTableau()}};
}

Selezione TabellaNumeriCamere() {
    return {.tabella = "NumeriCamere", .campi = {NumeroCamera, TipoCamera}, .ricerche = {FormaCamereDelTableau()}};
}

Selezione TabellaAssistenza() {
    return {.tabella = "AnagraficaHotels", .campi = {CodiceAssistenza}, .ricerche = {FormaHotel()}};
}

Selezione TabellaNomiHotel() {
    return {.tabella = "AnagraficaHotels", .campi = {RagioneSociale}, .ricerche = {FormaHotel()}};
}

Selezione TabellaDescrizioniTableau() {
    return {.tabella = "Tableau", .campi = {Descrizione}, .ricerche = {FormaDescrizioneTableau()}};
}

Criterio CriterioCamere(std::int64_t hotel) { return {FormaCamere(), {Intero(hotel)}}; }

Criterio CriterioOspiti(std::string_view stanza, std::string_view giorno) {
    return {FormaOspiti(), {Testo(stanza), Testo(giorno)}};
}

Criterio CriterioAddebiti(std::int64_t hotel, std::int64_t cliente, std::string_view giorno) {
    return {FormaAddebiti(), {Intero(hotel), Intero(cliente), Testo(giorno)}};
}

Criterio CriterioAgenzia(std::int64_t hotel, std::int64_t codice) {
    return {FormaAgenzia(), {Intero(hotel), Intero(codice)}};
}

Criterio CriterioPrenotazioni(std::int64_t hotel, std::string_view stanza) {
    return {FormaPrenotazioni(), {Intero(hotel), Testo(stanza)}};
}

Criterio CriterioTestata(std::int64_t hotel, std::int64_t numero) {
    return {FormaTestata(), {Intero(hotel), Intero(numero)}};
}

Criterio CriterioCameraPrenotata(std::int64_t hotel, std::int64_t numero, std::string_view camera,
                                 std::string_view primo) {
    return {FormaCameraPrenotata(), {Intero(hotel), Intero(numero), Testo(camera), Testo(primo)}};
}

Criterio CriterioElencoHotel() { return FormaElencoHotel(); }

Criterio CriterioElencoTableau(std::int64_t hotel) { return {FormaElencoTableau(), {Intero(hotel)}}; }

Criterio CriterioCamereDelTableau(std::int64_t hotel, std::int64_t tableau) {
    return {FormaCamereDelTableau(), {Intero(hotel), Intero(tableau)}};
}

Criterio CriterioTipoCamera(std::string_view sigla) { return {FormaTipoCamera(), {Testo(sigla)}}; }

Criterio CriterioHotel(std::int64_t numero) { return {FormaHotel(), {Intero(numero)}}; }

Criterio CriterioDescrizioneTableau(std::int64_t hotel, std::int64_t codice) {
    return {FormaDescrizioneTableau(), {Intero(hotel), Intero(codice)}};
}
