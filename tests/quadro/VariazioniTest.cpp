#include <gtest/gtest.h>

#include "common/Routine.h"
#include "quadro/Variazioni.h"
#include "support/SettimanaFatta.h"
#include "support/Supporto.h"

namespace {

using G = GenereVariazione;

struct Stay {
    std::string camera;
    Partita partita;
};

Settimana Costruisci(const std::vector<std::string>& camere, const std::vector<Stay>& soggiorni) {
    SettimanaFatta s;
    for (const std::string& camera : camere) s.Camera(camera);
    for (const Stay& soggiorno : soggiorni) s.Soggiorno(soggiorno.camera, soggiorno.partita);
    return s.settimana;
}

const Partita Rossi = Ospiti("ROSSI", 70001, "20261208", "20261211");

}  // namespace

TEST(Variazioni, OgniGenereDiCambiamentoEILeCelleCheTocca) {
    struct Caso {
        const char* nome;
        std::vector<Stay> prima, dopo;
        std::vector<std::string> attese;  // DescriviVariazione of each change
        std::vector<std::pair<std::size_t, int>> marcate;  // room index, day
    };
    const std::vector<Caso> casi = {
        {"nulla di nuovo", {{"101", Rossi}}, {{"101", Rossi}}, {}, {}},
        {"aggiunta", {}, {{"102", Rossi}}, {"102: ROSSI, 08/12 - 11/12, aggiunta"}, {{1, 1}, {1, 2}, {1, 3}, {1, 4}}},
        {"cancellata", {{"101", Rossi}}, {}, {"101: ROSSI, 08/12 - 11/12, cancellata"}, {{0, 1}, {0, 2}, {0, 3}, {0, 4}}},
        {"accorciata",
         {{"101", Rossi}},
         {{"101", Ospiti("ROSSI", 70001, "20261208", "20261209")}},
         {"101: ROSSI, 08/12 - 09/12, accorciata (era 08/12 - 11/12)"},
         {{0, 1}, {0, 2}, {0, 3}, {0, 4}}},
        {"prolungata",
         {{"101", Rossi}},
         {{"101", Ospiti("ROSSI", 70001, "20261207", "20261211")}},
         {"101: ROSSI, 07/12 - 11/12, prolungata (era 08/12 - 11/12)"},
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}},
        {"spostata di camera",
         {{"101", Rossi}},
         {{"102", Rossi}},
         {"101 -> 102: ROSSI, 08/12 - 11/12, spostata"},
         {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 1}, {1, 2}, {1, 3}, {1, 4}}},
        {"spostata di date",
         {{"101", Rossi}},
         {{"101", Ospiti("ROSSI", 70001, "20261211", "20261213")}},
         {"101: ROSSI, 11/12 - 13/12, spostata (era 08/12 - 11/12)"},
         {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}}},
        {"una camera non stampata non conta", {}, {{"999", Rossi}}, {}, {}},
        {"la prenotazione non e l'ospite con lo stesso numero",
         {{"101", Rossi}},
         {{"101", Rossi}, {"102", Prenotati("ROSSI", 70001, "C", "20261208", "20261211")}},
         {"102: ROSSI, 08/12 - 11/12, aggiunta"},
         {{1, 1}, {1, 2}, {1, 3}, {1, 4}}},
    };
    for (const Caso& caso : casi) {
        const Settimana prima = Costruisci({"101", "102"}, caso.prima);
        const Settimana dopo = Costruisci({"101", "102", "999"}, caso.dopo);
        const VariazioniSettimana esito = ConfrontaConStampa(prima, "202612061915", dopo);
        std::vector<std::string> descritte;
        for (const Variazione& v : esito.variazioni) descritte.push_back(DescriviVariazione(v));
        EXPECT_EQ(descritte, caso.attese) << caso.nome;
        std::vector<std::pair<std::size_t, int>> marcate;
        for (std::size_t c = 0; c < dopo.camere.size(); ++c)
            for (int k = 0; k < 7; ++k)
                if (esito.Marcata(c, k)) marcate.emplace_back(c, k);
        EXPECT_EQ(marcate, caso.marcate) << caso.nome;
    }
    EXPECT_EQ(TitoloVariazioni("202612061915"), "Variazioni dall'ultima stampa (06/12/2026 19:15)");
}

TEST(Variazioni, LaStampaConservataSostituisceLaPrecedente) {
    CartellaTemporanea cartella;
    const Contesto contesto = cartella.Dati("3");
    Settimana settimana = Costruisci({"101"}, {{"101", Rossi}});
    const std::tm ora = Ora(7, 12, 2026, 18, 30);
    ConservaStampa(contesto, settimana, ora);
    settimana.camere.clear();
    ConservaStampa(contesto, settimana, ora);
    EXPECT_EQ(NomeSettimanaStampata("3", settimana), "stampato3_1_1_20261207.json");
    const std::string kept = LeggiFile(cartella.Percorso() / "doc" / "stampato3_1_1_20261207.json");
    EXPECT_TRUE(kept.starts_with("{\"formato\":1,\"hotel\":1,")) << kept.substr(0, 40);
    EXPECT_NE(kept.find("\"stampato\":\"202612071830\""), std::string::npos);
    EXPECT_NE(kept.find("\"camere\":[]"), std::string::npos);
}
