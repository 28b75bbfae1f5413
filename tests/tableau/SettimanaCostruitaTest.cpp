#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "common/Routine.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"
#include "tableau/FileReport.h"
#include "tableau/RigaReport.h"
#include "tableau/Scenario.h"

namespace fs = std::filesystem;

namespace {

// What a party's cell of line A begins with: its name in 8 characters.
std::string NomeInCella(const Partita& partita) { return Adatta(partita.nome.substr(0, 14), 8); }

// The week's rooms and days against the report's lines, cell by cell.
void ControllaControReport(const Settimana& settimana, const std::vector<std::string>& righe) {
    ASSERT_EQ(righe.size(), 2 + 3 * settimana.camere.size());
    for (int k = 0; k < Griglia::Giorni; ++k)
        EXPECT_EQ(Cella(righe[0], k),
                  CellaIntestazione(NomiGiorni[settimana.giorni[k].nome], settimana.giorni[k].giornoMese));
    for (std::size_t c = 0; c < settimana.camere.size(); ++c) {
        const CameraSettimana& camera = settimana.camere[c];
        const std::string& a = righe[2 + 3 * c];
        const std::string& b = righe[3 + 3 * c];
        EXPECT_EQ(a.substr(0, 5), Adatta(Taglia(camera.numero), 5));
        EXPECT_EQ(b.substr(0, 5), Adatta(Taglia(camera.tipo), 5));
        for (int k = 0; k < Griglia::Giorni; ++k) {
            SCOPED_TRACE(camera.numero + " day " + std::to_string(k));
            EXPECT_EQ(camera.giorni[k].cellaA, Cella(a, k));
            EXPECT_EQ(camera.giorni[k].cellaB, Cella(b, k));
        }
    }
}

// The parties of every day against its cells and dates: the one shown names
// line A, an occupied cell has one, a blank cell none; each party's moment
// is what the day is to its stay.
void ControllaPartite(const Settimana& settimana) {
    for (const CameraSettimana& camera : settimana.camere)
        for (int k = 0; k < Griglia::Giorni; ++k) {
            SCOPED_TRACE(camera.numero + " day " + std::to_string(k));
            const GiornoCamera& giorno = camera.giorni[k];
            const std::string& data = settimana.giorni[k].data;
            int mostrate = 0;
            for (const Partita& p : giorno.partite) {
                const MomentoSoggiorno atteso = p.partenza == data ? MomentoSoggiorno::Partenza
                                                : p.arrivo == data ? MomentoSoggiorno::Arrivo
                                                                   : MomentoSoggiorno::Soggiorno;
                EXPECT_EQ(p.momento, atteso) << p.nome;
                EXPECT_LE(p.arrivo, data);
                EXPECT_GE(p.partenza, data);
                EXPECT_GT(p.persone, 0);
                if (!p.mostrata) continue;
                ++mostrate;
                EXPECT_NE(p.momento, MomentoSoggiorno::Partenza);
                EXPECT_EQ(giorno.cellaA.substr(0, 8), NomeInCella(p));
            }
            EXPECT_EQ(mostrate, CellaOccupata(giorno) ? 1 : 0) << giorno.cellaA;
        }
}

Settimana SenzaOra(Settimana settimana) {
    settimana.aggiornato.clear();
    return settimana;
}

}  // namespace

// On every archive of the tests, for several weeks, hotels, tableaux and
// ranges: the week the report was written from matches it cell by cell, and
// the week built alone from another session is the same, writes nothing, and
// written as a report gives the same file.
TEST(SettimanaCostruita, ComeIlReportSuOgniArchivio) {
    RiempiTabelleComuni();
    struct Caso {
        const char* archivio;
        std::int16_t hotel, tableau;
        const char* prima;
        const char* ultima;
        const char* data;
    };
    const Caso casi[] = {
        {"demo", 1, 1, "1", "999", "07/12/2026"},   {"demo", 1, 1, "1", "999", "26/12/2026"},
        {"demo", 1, 1, "102", "201", "03/12/2026"}, {"demo", 1, 2, "1", "999", "10/12/2026"},
        {"demo", 2, 1, "1", "999", "06/12/2026"},   {"edited", 1, 1, "1", "999", "07/12/2026"},
        {"edited", 1, 1, "1", "999", "12/12/2026"}, {"demo", 7, 1, "1", "999", "07/12/2026"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(std::string(caso.archivio) + " " + caso.data + " hotel " + std::to_string(caso.hotel));
        CartellaTemporanea cartella;
        cartella.CopiaDa(CartellaDatiTest() / caso.archivio);
        const Contesto contesto = cartella.Dati("1");
        UltimaCostruzione ultima;
        const Settimana scritta =
            CreaTableau(ultima, contesto, caso.hotel, caso.tableau, caso.prima, caso.ultima, caso.data);
        ControllaControReport(scritta, RigheReport(*LeggiFileReport(contesto)));
        ControllaPartite(scritta);

        CartellaTemporanea altra;
        altra.CopiaDa(CartellaDatiTest() / caso.archivio);
        UltimaCostruzione nuova;
        Avanzamento nessuno;
        const Settimana sola = CostruisciSettimana(nuova, altra.Dati("1"), caso.hotel, caso.tableau, caso.prima,
                                                   caso.ultima, caso.data, nessuno);
        EXPECT_EQ(SenzaOra(sola), SenzaOra(scritta));
        EXPECT_FALSE(fs::exists(altra.Percorso() / "FD1"));
        EXPECT_EQ(sola.aggiornato.size(), 12u);
        // Written on its own, the week gives the same report byte for byte.
        ScriviReport(altra.Dati("1"), sola);
        EXPECT_EQ(LeggiFileReport(altra.Dati("1")), LeggiFileReport(contesto));
    }
}

// The reports kept from before the week was data are what the week gives.
TEST(SettimanaCostruita, LeSettimaneDemoComeIReportConservati) {
    RiempiTabelleComuni();
    CartellaTemporanea cartella;
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    UltimaCostruzione ultima;
    Avanzamento nessuno;
    for (const auto& [data, file] : {std::pair{"07/12/2026", "demo-hotel1-tableau1-07-12-2026.fd"},
                                     std::pair{"26/12/2026", "demo-hotel1-tableau1-26-12-2026.fd"}}) {
        const Settimana settimana = CostruisciSettimana(ultima, cartella.Dati("1"), 1, 1, "1", "305", data, nessuno);
        ControllaControReport(settimana, RigheReport(LeggiFile(CartellaDatiTest() / "tableau" / file)));
    }
    const Settimana settimana = CostruisciSettimana(ultima, cartella.Dati("1"), 1, 1, "1", "305", "07/12/2026", nessuno);
    EXPECT_EQ(settimana.nomeHotel, "Hotel Bellavista S.r.l.");
    EXPECT_EQ(settimana.descrizioneTableau, "Corpo principale");
    // Floors and rooms out of service from the rooms' table.
    std::set<std::string> fuori;
    std::map<std::string, std::optional<std::int64_t>> piani;
    for (const CameraSettimana& camera : settimana.camere) {
        piani[camera.numero] = camera.piano;
        if (camera.fuoriServizio) fuori.insert(camera.numero);
    }
    EXPECT_EQ(fuori, std::set<std::string>{"304"});
    for (const auto& [numero, piano] : {std::pair{"1", 0}, std::pair{"10", 0}, std::pair{"101", 1}, std::pair{"304", 3}})
        EXPECT_EQ(piani.at(numero), piano) << numero;
}

// Guests and a booking of the same stay, then a booking arriving on the day
// the guests leave: every party on each day with its facts, the booking the
// one the report shows; a rooms' table without the out-of-service field.
TEST(SettimanaCostruita, PartenzeEPartiteSovrapposte) {
    RiempiTabelleComuni();
    CartellaTemporanea cartella;
    Scenario s{cartella.Percorso()};
    s.Camera("102");
    s.Agenzia(5, "Sole e Mare Viaggi");
    s.Aggiungi(Scenario::Ospite{.camera = "102", .arrivo = "20261208", .partenza = "20261210", .nome = "Bertolucci",
                                .progressivo = 70500, .pagamento = Valore::Testo("c"), .agenzia = 5});
    s.Aggiungi(Scenario::Ospite{.camera = "102", .arrivo = "20261208", .partenza = "20261210", .componente = 2,
                                .nome = "Bertolucci Anna", .progressivo = 70501, .pagamento = Valore()});
    s.Addebito(70500, "20261208", "20261210", Euro("85.00"));
    s.Aggiungi(Scenario::Prenotata{.camera = "102", .numero = 261001, .arrivo = "20261210", .partenza = "20261212",
                                   .persone = 3});
    s.Aggiungi(Scenario::Testata{.numero = 261001, .nome = "Verdi Anna", .agenzia = "Viaggi Blu"});
    s.Aggiungi(Scenario::Prenotata{.camera = "102", .numero = 261002, .arrivo = "20261208", .partenza = "20261210",
                                   .tipo = "O"});
    s.Aggiungi(Scenario::Testata{.numero = 261002, .nome = "Bertolucci Piero", .tipo = "O"});
    // Leaving on the first morning: a guest, and a booking with a later
    // record of the same room that the report's line B must still find.
    s.Aggiungi(Scenario::Ospite{.camera = "102", .arrivo = "20261204", .partenza = "20261207", .nome = "Neri",
                                .progressivo = 70600});
    s.Aggiungi(Scenario::Prenotata{.camera = "102", .numero = 261003, .arrivo = "20261205", .partenza = "20261207"});
    s.Aggiungi(Scenario::Prenotata{.camera = "102", .numero = 261003, .arrivo = "20261212", .partenza = "20261214"});
    s.Aggiungi(Scenario::Testata{.numero = 261003, .nome = "Gialli Ugo"});
    s.Scrivi();
    UltimaCostruzione ultima;
    Avanzamento nessuno;
    const Settimana settimana =
        CostruisciSettimana(ultima, cartella.Dati("1"), 1, 1, "1", "999", "07/12/2026", nessuno);
    ASSERT_EQ(settimana.camere.size(), 1u);
    const CameraSettimana& camera = settimana.camere[0];
    EXPECT_EQ(camera.piano, 1);
    EXPECT_FALSE(camera.fuoriServizio);  // the table has no such field

    using M = MomentoSoggiorno;
    const auto ospiti = [](M momento, std::int64_t importo) {
        return Partita{GenerePartita::Ospite, "Bertolucci", "20261208", "20261210", momento, 2, "Sole e Mare Viaggi",
                       'C', importo, 70500, "", false};
    };
    const auto opzione = [](M momento, bool mostrata) {
        return Partita{GenerePartita::Prenotazione, "Bertolucci Piero", "20261208", "20261210", momento, 2, "", 'B',
                       80, 261002, "O", mostrata};
    };
    const auto verdi = [](M momento, bool mostrata) {
        return Partita{GenerePartita::Prenotazione, "Verdi Anna", "20261210", "20261212", momento, 3, "Viaggi Blu", 'B',
                       80, 261001, "C", mostrata};
    };
    const auto neri = Partita{GenerePartita::Ospite, "Neri", "20261204", "20261207", M::Partenza, 1, "", 'C', 0,
                              70600, "", false};
    const auto gialli = [](const char* arrivo, const char* partenza, M momento, bool mostrata) {
        return Partita{GenerePartita::Prenotazione, "Gialli Ugo", arrivo, partenza, momento, 2, "", 'B', 80, 261003,
                       "C", mostrata};
    };
    const std::vector<std::vector<Partita>> attese = {
        {neri, gialli("20261205", "20261207", M::Partenza, false)},
        {ospiti(M::Arrivo, 85), opzione(M::Arrivo, true)},
        {ospiti(M::Soggiorno, 85), opzione(M::Soggiorno, true)},
        {ospiti(M::Partenza, 0), opzione(M::Partenza, false), verdi(M::Arrivo, true)},
        {verdi(M::Soggiorno, true)},
        {verdi(M::Partenza, false), gialli("20261212", "20261214", M::Arrivo, true)},
        {gialli("20261212", "20261214", M::Soggiorno, true)},
    };
    for (int k = 0; k < Griglia::Giorni; ++k) EXPECT_EQ(camera.giorni[k].partite, attese[k]) << "day " << k;
    ControllaPartite(settimana);

    // On the day of departure and arrival: one stay leaves, one arrives.
    const auto totali = TotaliDeiGiorni(settimana);
    EXPECT_EQ(totali[3].arrivi, 1);
    EXPECT_EQ(totali[3].partenze, 1);
    EXPECT_EQ(totali[3].persone, 3);
    EXPECT_EQ(totali[1].arrivi, 1);
    EXPECT_EQ(totali[0].partenze, 2);
    EXPECT_EQ(totali[0].occupate, 0);
    // The later record of booking 261003 is the one its line B shows.
    EXPECT_NE(camera.giorni[5].cellaB, std::string(Griglia::LarghezzaCella, ' '));
}
