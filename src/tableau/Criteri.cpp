#include "tableau/Criteri.h"

#include <initializer_list>

#include "archivio/Database.h"

#include "common/Routine.h"

namespace {

// The parts in one text, its room taken at once: the build makes thousands.
std::string Unisci(std::initializer_list<std::string_view> parti) {
    std::size_t lunghezza = 0;
    for (const std::string_view parte : parti) lunghezza += parte.size();
    std::string testo;
    testo.reserve(lunghezza);
    for (const std::string_view parte : parti) testo += parte;
    return testo;
}

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

const std::vector<std::string>& CampiTipi() {
    static const std::vector<std::string> campi{"Sigla", "Tipologia"};
    return campi;
}

const std::vector<std::string>& CampiCamere() {
    static const std::vector<std::string> campi{"NumeroHotel", "NumeroTableau", "NumeroCamera", "TipoCamera"};
    return campi;
}

const std::vector<std::string>& CampiOspiti() {
    static const std::vector<std::string> campi{
        "NumeroHotel", "NumeroProgressivo", "NumeroComponente", "NomeCliente", "NumeroCamera",
        "DataArrivo",  "DataPartenza",      "Partito",          "TipoPagamento", "CodiceAgenzia"};
    return campi;
}

const std::vector<std::string>& CampiCamerePrenotate() {
    static const std::vector<std::string> campi{"NumeroHotel",   "NumeroPrenotazione", "NumeroCamera",
                                                "TipoPrenotazione", "NumeroPersone",   "DataArrivo",
                                                "DataPartenza",  "Prezzo"};
    return campi;
}

const std::vector<std::string>& CampiTestate() {
    static const std::vector<std::string> campi{"NumeroHotel", "NumeroPrenotazione", "NomeCliente",
                                                "Pagamento",   "TipoPrenotazione",   "Agenzia"};
    return campi;
}

const std::vector<std::string>& CampiAgenzie() {
    static const std::vector<std::string> campi{"NumeroHotel", "Codice", "RagioneSociale"};
    return campi;
}

const std::vector<std::string>& CampiAddebiti() {
    static const std::vector<std::string> campi{"NumeroHotel", "CodiceCliente", "NumeroConto",
                                                "DataInizio",  "DataFine",      "ImportoTotale"};
    return campi;
}

std::string CriterioCamere(std::int64_t hotel) { return Hotel(hotel); }

std::string CriterioOspiti(std::string_view stanza, std::string_view giorno) {
    const std::string data = Letterale(giorno);
    return Unisci({"NumeroCamera = ", Letterale(stanza), " and Partito = 'N' and DataArrivo <= ", data,
                   " and DataPartenza > ", data});
}

std::string CriterioAddebiti(std::int64_t hotel, std::int64_t cliente, std::string_view giorno) {
    const std::string data = Letterale(giorno);
    return Unisci({Hotel(hotel), " and CodiceCliente = ", TestoIntero(cliente),
                   " and NumeroConto = 1 and DataInizio <= ", data, " and DataFine > ", data});
}

std::string CriterioAgenzia(std::int64_t hotel, std::int64_t codice) {
    return Unisci({Hotel(hotel), " and Codice = ", TestoIntero(codice)});
}

std::string CriterioPrenotazioni(std::int64_t hotel, std::string_view stanza) {
    return Unisci({Hotel(hotel), " and NumeroCamera = ", Letterale(stanza),
                   " and (TipoPrenotazione = 'C' or TipoPrenotazione = 'O' or TipoPrenotazione = 'D')"});
}

std::string CriterioTestata(std::int64_t hotel, std::int64_t numero) {
    return Unisci({Hotel(hotel), " and NumeroPrenotazione = ", TestoIntero(numero)});
}

std::string CriterioCameraPrenotata(std::int64_t hotel, std::int64_t numero, std::string_view camera) {
    return Unisci({CriterioTestata(hotel, numero), " and NumeroCamera = ", Letterale(camera)});
}
