#include <gtest/gtest.h>

#include <chrono>

#include "common/Routine.h"
#include "quadro/Quadro.h"
#include "support/SettimanaFatta.h"

using namespace std::chrono;

namespace {

struct Posto {
    Partita partita;
    bool mostrata = true;
};

using S = StatoQuadro;

}  // namespace

// The week is 07/12/2026 (day 0) to 13/12; half day 2k + 1 is the middle of day k.
TEST(BarreCamera, UnaBarraPerSoggiornoConMezzeCelleEFrecce) {
    struct Caso {
        const char* nome;
        std::vector<Posto> soggiorni;
        std::vector<Barra> attese;  // giorno, indice, inizio, fine, prima, dopo, mostrata, stato
    };
    const std::vector<Caso> casi = {
        {"dentro la settimana", {{Ospiti("A", 1, "20261209", "20261212")}}, {{2, 0, 5, 11, false, false, true, S::Ospite}}},
        {"iniziato prima", {{Ospiti("A", 1, "20261205", "20261209")}}, {{0, 0, 0, 5, true, false, true, S::Ospite}}},
        {"continua dopo",
         {{Prenotati("B", 7, "C", "20261211", "20261220")}},
         {{4, 0, 9, 14, false, true, true, S::PrenotazioneC}}},
        {"tutta la settimana e oltre",
         {{Prenotati("B", 7, "X", "20261201", "20261231")}},
         {{0, 0, 0, 14, true, true, true, S::PrenotazioneD}}},
        {"parte il primo giorno", {{Ospiti("A", 1, "20261201", "20261207")}}, {{0, 0, 0, 1, true, false, true, S::Ospite}}},
        {"parte e arriva lo stesso giorno",
         {{Ospiti("A", 1, "20261205", "20261208")}, {Prenotati("B", 7, "O", "20261208", "20261210")}},
         {{0, 0, 0, 3, true, false, true, S::Ospite}, {1, 1, 3, 7, false, false, true, S::Opzione}}},
        {"l'altra partita resta visibile",
         {{Ospiti("A", 1, "20261208", "20261211"), false}, {Prenotati("B", 7, "O", "20261209", "20261211")}},
         {{1, 0, 3, 9, false, false, false, S::Ospite}, {2, 1, 5, 9, false, false, true, S::Opzione}}},
        {"la scelta del report cambia a meta soggiorno",
         {{Ospiti("A", 1, "20261208", "20261212")}, {Prenotati("B", 7, "D", "20261209", "20261210")}},
         {{1, 0, 3, 5, false, false, true, S::Ospite},
          {2, 0, 5, 7, false, false, false, S::Ospite},
          {3, 0, 7, 11, false, false, true, S::Ospite},
          {2, 1, 5, 7, false, false, true, S::PrenotazioneD}}},
    };
    for (const Caso& caso : casi) {
        SettimanaFatta s;
        s.Camera("1");
        for (const Posto& posto : caso.soggiorni) s.Soggiorno("1", posto.partita, posto.mostrata);
        EXPECT_EQ(BarreCamera(s.settimana.camere[0]), caso.attese) << caso.nome;
    }
}

TEST(Quadro, StatiFiltriERicerca) {
    SettimanaFatta s;
    s.Camera("101", "DBL", 1).Camera("102", "SGL", 1).Camera("201", "SGL", 2, true).Camera("202", "DBL");
    s.Camera("203", "TRP", std::nullopt, true);
    s.Soggiorno("101", Ospiti("ROSSI MARIO", 1, "20261205", "20261209"));
    s.Soggiorno("102", Prenotati("Caff\xE8 Bar", 7, "O", "20261210", "20261212"));
    // Out of service, yet occupied all week.
    s.Soggiorno("201", Ospiti("NERI", 2, "20261201", "20261220"));
    const Settimana& w = s.settimana;

    const std::array<S, 7> stati101 = {S::Ospite, S::Ospite, S::Libera, S::Libera, S::Libera, S::Libera, S::Libera};
    EXPECT_EQ(StatiCamera(w.camere[0]), stati101);
    EXPECT_EQ(StatiCamera(w.camere[2])[0], S::Ospite);
    EXPECT_EQ(StatiCamera(w.camere[4])[0], S::FuoriServizio);

    const std::vector<std::pair<FiltroQuadro, std::vector<std::size_t>>> filtri = {
        {{}, {0, 1, 2, 3, 4}},
        {{"SGL", std::nullopt, std::nullopt}, {1, 2}},
        {{"", 1, std::nullopt}, {0, 1}},
        {{"DBL", 1, std::nullopt}, {0}},
        {{"", std::nullopt, S::Opzione}, {1}},
        {{"", std::nullopt, S::FuoriServizio}, {2, 4}},
        {{"", std::nullopt, S::Ospite}, {0, 2}},
        {{"", std::nullopt, S::Libera}, {0, 1, 3}},
        {{"", std::nullopt, S::PrenotazioneC}, {}},
    };
    for (const auto& [filtro, attese] : filtri) EXPECT_EQ(CamereFiltrate(w, filtro), attese) << filtro.tipo;
    EXPECT_EQ(TipiDelleCamere(w), (std::vector<std::string>{"DBL", "SGL", "TRP"}));
    EXPECT_EQ(PianiDelleCamere(w), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(SoloCamere(w, {3, 0}).camere[0].numero, "202");

    const GiornoCamera& giorno = w.camere[1].giorni[3];
    for (const auto& [cercato, trovato] : std::vector<std::pair<std::string, bool>>{
             {"caff\xc8", true}, {" bar ", true}, {"rossi", false}, {"", false}, {"   ", false}})
        EXPECT_EQ(NomeNelGiorno(giorno, cercato), trovato) << cercato;
}

TEST(Quadro, TestiDelleBarreEDelTitolo) {
    EXPECT_EQ(NomeAccorciato("ROSSI  MARIO ANNA"), "ROSSI M. A.");
    EXPECT_EQ(NomeAccorciato(" VERDI "), "VERDI");
    Partita p = Prenotati("X", 1, "C", "20261207", "20261208", 3);
    EXPECT_EQ(DettaglioBarra(p), "3 \xB7 Agenzia Sole \xB7 B");
    p.agenzia.clear();
    p.pagamento = ' ';
    EXPECT_EQ(DettaglioBarra(p), "3");

    for (const auto& [giorno, settimana] : std::vector<std::pair<sys_days, int>>{
             {sys_days{2026y / December / 7}, 50},
             {sys_days{2027y / January / 1}, 53},
             {sys_days{2025y / December / 29}, 1},
             {sys_days{2021y / January / 3}, 53},
             {sys_days{2024y / December / 30}, 1}})
        EXPECT_EQ(SettimanaIso(giorno), settimana) << DataTabella(giorno);

    SettimanaFatta s;
    const TitoloQuadro titolo = ComponiTitolo(s.settimana);
    EXPECT_EQ(titolo.sinistra, "Hotel : Hotel Prova   Tableau : Camere   Settimana 50 : 07/12/2026 \x96 13/12/2026");
    EXPECT_EQ(titolo.destra, "aggiornato al 07/12/2026 08:30");
    EXPECT_EQ(IntestazioneGiorno(s.settimana.giorni[6]), "Domenica 13/12");
    EXPECT_EQ(OraLeggibile("2026120"), "2026120");
    EXPECT_EQ(DataLeggibile("20261332"), "20261332");
}

TEST(Quadro, IDettagliDiUnaCellaDiconoTutto) {
    SettimanaFatta s;
    s.Camera("101", "DBL", std::nullopt, true);
    s.Soggiorno("101", Ospiti("ROSSI MARIO", 70001, "20261205", "20261209"), false);
    s.Soggiorno("101", Prenotati("VERDI ANNA", 501, "O", "20261208", "20261209", 1));
    const DettagliCella dettagli = DescriviCella(s.settimana, 0, 1);
    EXPECT_EQ(dettagli.titolo, "Camera 101 (DBL) \x96 Marted\xEC 08/12/2026 \x96 fuori servizio");
    ASSERT_EQ(dettagli.partite.size(), 2u);
    EXPECT_EQ(dettagli.partite[0], (std::vector<std::string>{
                                       "Ospite registrato: ROSSI MARIO",
                                       "Arrivo 05/12/2026, partenza 09/12/2026 (4 notti), in soggiorno",
                                       "Persone: 2",
                                       "Agenzia: nessuna",
                                       "Pagamento: C",
                                       "Importo del giorno: 85",
                                       "Conto n. 70001",
                                       "Non mostrata nel report",
                                   }));
    EXPECT_EQ(dettagli.partite[1][0], "Opzione: VERDI ANNA");
    EXPECT_EQ(dettagli.partite[1][1], "Arrivo 08/12/2026, partenza 09/12/2026 (1 notte), arriva oggi");
    EXPECT_EQ(dettagli.partite[1][6], "Prenotazione n. 501");
    EXPECT_EQ(dettagli.partite[1][7], "Mostrata nel report");
}
