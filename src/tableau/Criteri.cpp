#include "tableau/Criteri.h"

#include "common/Database.h"

#include "common/Routine.h"

namespace {

std::string Hotel(std::int64_t hotel) { return "NumeroHotel = " + TestoIntero(hotel); }

// The stays that touch the week: arrival not after its last day, departure after its first.
std::string NellaSettimana(const std::string& primo, const std::string& ultimo) {
    return " Where DataArrivo <= " + Letterale(ultimo) + " and DataPartenza > " + Letterale(primo);
}

}  // namespace

std::string QueryCamere() {
    return "Select * From NumeriCamere Where TipoCamera In (Select Sigla From TipiCamere In 'TipiCamere.mdb' "
           "Where Tipologia = 'C') Order by NumeroCamera;";
}

std::string QueryOspiti(const std::string& primo, const std::string& ultimo) {
    return "Select * From Scheda_Cliente" + NellaSettimana(primo, ultimo);
}

std::string QueryCamerePrenotate(const std::string& primo, const std::string& ultimo) {
    return "Select * From Camere_Prenotazione" + NellaSettimana(primo, ultimo);
}

std::string QueryTestate(const std::string& primo, const std::string& ultimo) {
    return "Select * From Scheda_Prenotazione Where NumeroPrenotazione In (Select NumeroPrenotazione From "
           "Camere_Prenotazione In 'Camere_Prenotazione.mdb'" +
           NellaSettimana(primo, ultimo) + ")";
}

std::string CriterioCamere(std::int64_t hotel) { return Hotel(hotel); }

std::string CriterioOspiti(std::string_view stanza, std::string_view giorno) {
    return "NumeroCamera = " + Letterale(stanza) + " and Partito = 'N' and DataArrivo <= " + Letterale(giorno) +
           " and DataPartenza > " + Letterale(giorno);
}

std::string CriterioAddebiti(std::int64_t hotel, std::int64_t cliente, std::string_view giorno) {
    return Hotel(hotel) + " and CodiceCliente = " + TestoIntero(cliente) + " and NumeroConto = 1 and DataInizio <= " +
           Letterale(giorno) + " and DataFine > " + Letterale(giorno);
}

std::string CriterioAgenzia(std::int64_t hotel, std::int64_t codice) {
    return Hotel(hotel) + " and Codice = " + TestoIntero(codice);
}

std::string CriterioPrenotazioni(std::int64_t hotel, std::string_view stanza) {
    return Hotel(hotel) + " and NumeroCamera = " + Letterale(stanza) +
           " and (TipoPrenotazione = 'C' or TipoPrenotazione = 'O' or TipoPrenotazione = 'D')";
}

std::string CriterioTestata(std::int64_t hotel, std::int64_t numero) {
    return Hotel(hotel) + " and NumeroPrenotazione = " + TestoIntero(numero);
}

std::string CriterioCameraPrenotata(std::int64_t hotel, std::int64_t numero, std::string_view camera) {
    return CriterioTestata(hotel, numero) + " and NumeroCamera = " + Letterale(camera);
}
