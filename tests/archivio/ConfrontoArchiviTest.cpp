#include <gtest/gtest.h>

#include <functional>

#include "archivio/Database.h"
#include "support/Csv.h"
#include "support/Supporto.h"

// The demo Access files and their SQLite copy must answer every query and
// search of the program with the same records in the same order.

namespace {

using Righe = std::vector<std::vector<std::string>>;

// Values of `campi` for each record the walk of `criterio` finds.
Righe Cammina(Recordset& rs, const Criterio& criterio, const std::vector<std::string>& campi) {
    Righe trovate;
    const auto aggiungi = [&] {
        std::vector<std::string> riga;
        for (const auto& campo : campi) riga.push_back(rs[campo].IsNull() ? "<Null>" : rs[campo].Testo());
        trovate.push_back(std::move(riga));
    };
    rs.FindFirst(criterio);
    while (!rs.NoMatch()) {
        aggiungi();
        rs.FindNext(criterio);
    }
    return trovate;
}

// Values of `campi` for every record, in the record set's order.
Righe Tutte(Recordset& rs, const std::vector<std::string>& campi) {
    Righe tutte;
    if (rs.RecordCount() == 0) return tutte;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        std::vector<std::string> riga;
        for (const auto& campo : campi) riga.push_back(rs[campo].IsNull() ? "<Null>" : rs[campo].Testo());
        tutte.push_back(std::move(riga));
    }
    return tutte;
}

struct Settimana {
    std::string prima, ultima;
    std::vector<std::string> giorni;
};

const std::vector<Settimana>& Settimane() {
    static const std::vector<Settimana> settimane = {
        {"20261207", "20261213", {"20261207", "20261208", "20261209", "20261210", "20261211", "20261212", "20261213"}},
        {"20261226", "20270101", {"20261226", "20261227", "20261228", "20261229", "20261230", "20261231", "20270101"}},
    };
    return settimane;
}

const std::vector<std::string> kCampiCamere = {"NumeroHotel", "NumeroTableau", "NumeroCamera", "TipoCamera"};
const std::vector<std::string> kCampiOspiti = {"NumeroHotel",   "NumeroProgressivo", "NumeroComponente",
                                               "NomeCliente",   "NumeroCamera",      "DataArrivo",
                                               "DataPartenza",  "Partito",           "TipoPagamento",
                                               "CodiceAgenzia"};
const std::vector<std::string> kCampiPrenotate = {"NumeroHotel",  "NumeroPrenotazione", "NumeroCamera",
                                                  "TipoPrenotazione", "NumeroPersone", "DataArrivo",
                                                  "DataPartenza", "Prezzo"};
const std::vector<std::string> kCampiTestate = {"NumeroHotel", "NumeroPrenotazione", "NomeCliente",
                                                "Pagamento",   "TipoPrenotazione",   "Agenzia"};
const std::vector<std::string> kCampiAgenzie = {"NumeroHotel", "Codice", "RagioneSociale"};
const std::vector<std::string> kCampiAddebiti = {"NumeroHotel", "CodiceCliente", "NumeroConto",
                                                 "DataInizio",  "DataFine",      "ImportoTotale"};

const Campo Numero("Numero"), NumeroHotel("NumeroHotel"), Codice("Codice"), NumeroTableau("NumeroTableau"),
    NumeroCamera("NumeroCamera"), TipoCamera("TipoCamera"), Sigla("Sigla"), Tipologia("Tipologia"),
    DataArrivo("DataArrivo"), DataPartenza("DataPartenza"), Partito("Partito"), CodiceCliente("CodiceCliente"),
    NumeroConto("NumeroConto"), DataInizio("DataInizio"), DataFine("DataFine"),
    NumeroPrenotazione("NumeroPrenotazione"), TipoPrenotazione("TipoPrenotazione");

std::int64_t Intero(const std::string& testo) { return Valore::Testo(testo).Intero(); }

// Runs every query and search of the program on the data folder `cartella`
// and gives everything found, labelled, in order.
std::vector<std::pair<std::string, Righe>> Risposte(const std::string& cartella) {
    std::vector<std::pair<std::string, Righe>> risposte;
    const auto annota = [&](std::string etichetta, Righe righe) {
        risposte.emplace_back(std::move(etichetta), std::move(righe));
    };

    // The main window's lists and proposed range, and the print menu's hotel.
    auto hotels = Database::Apri("AnagraficaHotels.mdb", cartella);
    auto rsHotels = hotels->OpenRecordset("AnagraficaHotels");
    annota("hotel > 0", Cammina(*rsHotels, Numero > 0, {"Numero", "RagioneSociale"}));
    annota("hotel 1", Cammina(*rsHotels, Numero == 1, {"Numero", "CodiceAssistenza"}));
    auto tableau = Database::Apri("Tableau.mdb", cartella);
    auto rsTableau = tableau->OpenRecordset("Tableau");
    auto numeri = Database::Apri("NumeriCamere.mdb", cartella);
    auto rsNumeri = numeri->OpenRecordset("NumeriCamere");
    auto tipi = Database::Apri("TipiCamere.mdb", cartella);
    auto rsTipi = tipi->OpenRecordset("TipiCamere");
    for (const int hotel : {1, 2, 3}) {
        annota("tableau " + std::to_string(hotel),
               Cammina(*rsTableau, NumeroHotel == hotel && Codice > 0, {"Codice", "Descrizione"}));
        for (const int codice : {1, 2}) {
            const auto camere = Cammina(*rsNumeri, NumeroHotel == hotel && NumeroTableau == codice, kCampiCamere);
            annota("camere " + std::to_string(hotel) + "/" + std::to_string(codice), camere);
            for (const auto& camera : camere)
                annota("tipo " + camera[3], Cammina(*rsTipi, Sigla == camera[3], {"Sigla", "Tipologia"}));
        }
    }

    // The builder's record sets and searches, for both demo weeks.
    for (const auto& settimana : Settimane()) {
        const Forma periodo = DataArrivo <= settimana.ultima && DataPartenza > settimana.prima;
        auto dbCamere = Database::Apri("NumeriCamere.mdb", cartella);
        const Selezione tipiCamere{
            .tabella = "TipiCamere", .campi = {Sigla}, .filtro = Tipologia == "C", .file = "TipiCamere.mdb"};
        auto rsCamere = dbCamere->OpenRecordset(
            {.tabella = "NumeriCamere", .filtro = In(TipoCamera, tipiCamere), .ordine = {NumeroCamera}});
        rsCamere->Sort({NumeroCamera});
        auto camere = rsCamere->OpenRecordset();
        annota("query camere", Tutte(*camere, kCampiCamere));

        auto dbOspiti = Database::Apri("Scheda_Cliente.mdb", cartella);
        auto ospiti = dbOspiti->OpenRecordset({.tabella = "Scheda_Cliente", .filtro = periodo});
        annota("query ospiti " + settimana.prima, Tutte(*ospiti, kCampiOspiti));
        auto dbPrenotate = Database::Apri("Camere_Prenotazione.mdb", cartella);
        auto prenotate = dbPrenotate->OpenRecordset({.tabella = "Camere_Prenotazione", .filtro = periodo});
        annota("query prenotate " + settimana.prima, Tutte(*prenotate, kCampiPrenotate));
        auto dbTestate = Database::Apri("Scheda_Prenotazione.mdb", cartella);
        const Selezione prenotateNelPeriodo{.tabella = "Camere_Prenotazione",
                                            .campi = {NumeroPrenotazione},
                                            .filtro = periodo,
                                            .file = "Camere_Prenotazione.mdb"};
        auto testate = dbTestate->OpenRecordset(
            {.tabella = "Scheda_Prenotazione", .filtro = In(NumeroPrenotazione, prenotateNelPeriodo)});
        annota("query testate " + settimana.prima, Tutte(*testate, kCampiTestate));
        auto dbAgenzie = Database::Apri("AgenzieAbituali.mdb", cartella);
        auto agenzie = dbAgenzie->OpenRecordset("AgenzieAbituali");
        auto dbAddebiti = Database::Apri("Arrangiamento.mdb", cartella);
        auto addebiti = dbAddebiti->OpenRecordset("Arrangiamento");

        for (const auto& camera : Tutte(*camere, kCampiCamere)) {
            const std::string& stanza = camera[2];
            for (const auto& giorno : settimana.giorni) {
                const std::string chi = camera[2] + " " + giorno;
                const auto presenti = Cammina(
                    *ospiti,
                    NumeroCamera == stanza && Partito == "N" && DataArrivo <= giorno && DataPartenza > giorno,
                    kCampiOspiti);
                annota("ospiti " + chi, presenti);
                for (const auto& ospite : presenti) {
                    annota("addebiti " + chi,
                           Cammina(*addebiti,
                                   NumeroHotel == 1 && CodiceCliente == Intero(ospite[1]) && NumeroConto == 1 &&
                                       DataInizio <= giorno && DataFine > giorno,
                                   kCampiAddebiti));
                    annota("agenzia " + chi,
                           Cammina(*agenzie, NumeroHotel == 1 && Codice == Intero(ospite[9]), kCampiAgenzie));
                }
                const auto prenotazioni = Cammina(*prenotate,
                                                  NumeroHotel == 1 && NumeroCamera == stanza &&
                                                      (TipoPrenotazione == "C" || TipoPrenotazione == "O" ||
                                                       TipoPrenotazione == "D"),
                                                  kCampiPrenotate);
                annota("prenotazioni " + chi, prenotazioni);
                for (const auto& prenotazione : prenotazioni) {
                    const std::int64_t numero = Intero(prenotazione[1]);
                    annota("testata " + chi,
                           Cammina(*testate, NumeroHotel == 1 && NumeroPrenotazione == numero, kCampiTestate));
                    annota("camera della prenotazione " + chi,
                           Cammina(*prenotate,
                                   NumeroHotel == 1 && NumeroPrenotazione == numero && NumeroCamera == stanza,
                                   kCampiPrenotate));
                }
            }
        }
    }
    return risposte;
}

}  // namespace

TEST(ConfrontoArchivi, AccessESqliteDannoLeStesseRisposte) {
    // The demo files, and the same after deletions and updates in Access.
    for (const char* insieme : {"demo", "edited"}) {
        SCOPED_TRACE(insieme);
        CartellaTemporanea sqlite;
        CreaCopiaSqliteDemo(sqlite.Percorso(), insieme);
        const auto daAccess = Risposte((CartellaDatiTest() / insieme).string());
        const auto daSqlite = Risposte(sqlite.Percorso().string());
        ASSERT_EQ(daAccess.size(), daSqlite.size());
        std::size_t trovati = 0;
        for (std::size_t i = 0; i < daAccess.size(); ++i) {
            EXPECT_EQ(daAccess[i], daSqlite[i]) << daAccess[i].first;
            trovati += daAccess[i].second.size();
        }
        // The walk must have met real data, not a run of empty answers.
        EXPECT_GT(trovati, 500u);
    }
}
