#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "archivio/Ricerca.h"
#include "common/Errore.h"

namespace {

// A table of 3000 records drawn from small pools, so that every criterion has
// many matches: texts in mixed case (accented ones too), Nulls in every field,
// numbers written as texts, and a column holding numbers and texts together.
Tabella TabellaGenerata() {
    Tabella t;
    t.nome = "Generata";
    t.colonne = {{"Hotel", TipoCampo::Intero}, {"Camera", TipoCampo::Testo}, {"Tipo", TipoCampo::Testo},
                 {"Codice", TipoCampo::Testo}, {"Prezzo", TipoCampo::Valuta}, {"Data", TipoCampo::Testo},
                 {"Misto", TipoCampo::Testo}};
    const std::vector<Valore> hotel = {Valore::Intero(0), Valore::Intero(1), Valore::Intero(2), Valore()};
    const std::vector<Valore> camere = {Valore::Testo("101"), Valore::Testo("101 "), Valore::Testo("a1"),
                                        Valore::Testo("A1"),  Valore::Testo("B2"),   Valore::Testo("b2"),
                                        Valore::Testo("\xE0" "1"), Valore::Testo("\xC0" "1"), Valore()};
    const std::vector<Valore> tipi = {Valore::Testo("C"), Valore::Testo("c"), Valore::Testo("O"), Valore::Testo("D"),
                                      Valore()};
    const std::vector<Valore> codici = {Valore::Testo("7"), Valore::Testo("007"), Valore::Testo(" 7"),
                                        Valore::Testo("8"), Valore::Testo("8.0")};
    const std::vector<Valore> prezzi = {Valore::Valuta(125000), Valore::Valuta(125001), Valore::Valuta(0), Valore()};
    const std::vector<Valore> misti = {Valore::Intero(5), Valore::Testo("5"), Valore::Testo(" 5.0"),
                                       Valore::Intero(6), Valore()};
    std::uint32_t seme = 12345;
    const auto scegli = [&seme](const std::vector<Valore>& pool) {
        seme = seme * 1103515245u + 12345u;
        return pool[(seme >> 16) % pool.size()];
    };
    for (int i = 0; i < 3000; ++i) {
        const std::string data = "202612" + std::string(i % 3 ? "0" : "1") + std::to_string(i % 10);
        t.righe.push_back({scegli(hotel), scegli(camere), scegli(tipi), scegli(codici), scegli(prezzi),
                           i % 17 ? Valore::Testo(data) : Valore(), scegli(misti)});
    }
    return t;
}

const char* const criteri[] = {
    "Hotel = 1",
    "Camera = 'a1' and Hotel = 2",
    "Hotel = 1 and Camera = 'B2' and (Tipo = 'C' or Tipo = 'O' or Tipo = 'D')",
    "Camera = '\xE0" "1' and Tipo = 'c'",
    "Camera = '101' and Hotel = 1",
    "Hotel = -0.0 and Camera = 'A1'",
    "Hotel = 1.0 and Hotel = 1 and Camera = 'b2'",
    "Hotel = 1 and Data > '20261205' and Data <= '20261210'",
    "Prezzo = 12.5 and Tipo = 'd'",
    "Codice = 7",
    "Codice = '7' and Hotel = '1'",
    "Misto = 5 and Hotel = 0",
    "Misto = '5'",
    "Tipo Is Null and Hotel = 1",
    "Not Hotel = 1 and Tipo = 'O'",
    "Tipo = 'o' or Hotel = 2",
};

// Positions found by a first search from `da`, then by each next search
// (which must move forward).
std::vector<std::size_t> Percorso(Ricerca& ricerca, const std::string& criterio, std::size_t da) {
    std::vector<std::size_t> trovati;
    for (auto p = ricerca.Trova(criterio, da); p; p = ricerca.Trova(criterio, *p + 1)) {
        if (*p < da || (!trovati.empty() && *p <= trovati.back())) {
            ADD_FAILURE() << criterio << ": la ricerca torna indietro";
            break;
        }
        trovati.push_back(*p);
    }
    return trovati;
}

}  // namespace

TEST(Ricerca, ConIndiciStessiRecordStessoOrdineDellaScansione) {
    const Tabella tabella = TabellaGenerata();
    // A record set in an order of its own: positions differ from the table's.
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = (i * 7919u) % static_cast<std::uint32_t>(righe.size());
    const auto nessunaSottoquery = [](sql::Selezione&) { return std::vector<Valore>{}; };
    Ricerca indicizzata(tabella, righe, nessunaSottoquery, Ricerca::Modo::ConIndici);
    Ricerca scansione(tabella, righe, nessunaSottoquery, Ricerca::Modo::Scansione);

    for (const char* criterio : criteri) {
        const auto atteso = Percorso(scansione, criterio, 0);
        EXPECT_FALSE(atteso.empty()) << criterio;
        EXPECT_EQ(Percorso(indicizzata, criterio, 0), atteso) << criterio;
        for (std::size_t da : {std::size_t{1}, std::size_t{1499}, std::size_t{2999}, std::size_t{3000}})
            EXPECT_EQ(indicizzata.Trova(criterio, da), scansione.Trova(criterio, da)) << criterio << " da " << da;
    }
}

TEST(Ricerca, UnaConversioneImpossibileFermaEntrambe) {
    Tabella tabella = TabellaGenerata();
    tabella.righe[2000][0] = Valore::Intero(1);
    tabella.righe[2000][6] = Valore::Testo("cinque");
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = i;
    const auto nessunaSottoquery = [](sql::Selezione&) { return std::vector<Valore>{}; };
    for (auto modo : {Ricerca::Modo::ConIndici, Ricerca::Modo::Scansione}) {
        Ricerca ricerca(tabella, righe, nessunaSottoquery, modo);
        EXPECT_TRUE(ricerca.Trova("Hotel = 1 and Misto = 5", 0));
        EXPECT_THROW(Percorso(ricerca, "Hotel = 1 and Misto = 5", 0), Errore);
    }
}

// Criteria that differ only in their constants share one reading: asked in
// turn, each finds what it finds alone.
TEST(Ricerca, CriteriDellaStessaFormaInAlternanza) {
    const Tabella tabella = TabellaGenerata();
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = i;
    const auto nessunaSottoquery = [](sql::Selezione&) { return std::vector<Valore>{}; };
    const char* const stessaForma[] = {"Camera = 'a1' and Hotel = 2", "Camera = '101' and Hotel = 1",
                                       "Camera = 'B2' and Hotel = -0", "Camera = 'b2' and Hotel = 1.0"};
    Ricerca insieme(tabella, righe, nessunaSottoquery);
    for (int giro = 0; giro < 2; ++giro) {
        for (const char* criterio : stessaForma) {
            Ricerca sola(tabella, righe, nessunaSottoquery);
            const auto atteso = Percorso(sola, criterio, 0);
            EXPECT_FALSE(atteso.empty()) << criterio;
            EXPECT_EQ(Percorso(insieme, criterio, 0), atteso) << criterio;
            EXPECT_EQ(insieme.Trova(criterio, 1500), sola.Trova(criterio, 1500)) << criterio;
        }
    }
}

// The records a criterion has found answer the searches made with it again,
// from any position and in any order, as a search of its own would.
TEST(Ricerca, RicercheRipetuteDaPosizioniQualsiasi) {
    const Tabella tabella = TabellaGenerata();
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = i;
    const auto nessunaSottoquery = [](sql::Selezione&) { return std::vector<Valore>{}; };
    Ricerca ripetuta(tabella, righe, nessunaSottoquery);
    for (const char* criterio : criteri) {
        for (const std::size_t da : {1499u, 0u, 700u, 2999u, 5u}) {
            Ricerca nuova(tabella, righe, nessunaSottoquery);
            EXPECT_EQ(Percorso(ripetuta, criterio, da), Percorso(nuova, criterio, da)) << criterio << " da " << da;
            EXPECT_EQ(ripetuta.Trova(criterio, da + 1), nuova.Trova(criterio, da + 1)) << criterio << " da " << da;
        }
    }
}

// Criteria let go between one week's searches and the next, or past the
// most kept: the criteria asked after, of the same forms with other
// constants, find what they find alone, none with the constants of a
// criterion let go.
TEST(Ricerca, CriteriLasciatiTraUnaSettimanaELAltra) {
    const Tabella tabella = TabellaGenerata();
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = i;
    const auto nessunaSottoquery = [](sql::Selezione&) { return std::vector<Valore>{}; };
    const char* const stessaForma[] = {"Camera = 'a1' and Hotel = 2", "Camera = '101' and Hotel = 1",
                                       "Hotel = 1 and Data > '20261205' and Data <= '20261210'",
                                       "Hotel = 2 and Data > '20261201' and Data <= '20261203'"};
    Ricerca ricerca(tabella, righe, nessunaSottoquery);
    for (int giro = 0; giro < 2; ++giro) {
        for (const char* criterio : stessaForma) {
            Ricerca sola(tabella, righe, nessunaSottoquery);
            EXPECT_EQ(Percorso(ricerca, criterio, 0), Percorso(sola, criterio, 0)) << criterio;
            ricerca.DimenticaCriteri();
            EXPECT_EQ(ricerca.Trova(criterio, 1500), sola.Trova(criterio, 1500)) << criterio;
            ricerca.DimenticaCriteri();
        }
    }
    // Past the most criteria kept they are let go by themselves, as between two weeks.
    const auto atteso = Percorso(ricerca, stessaForma[1], 0);
    for (std::size_t numero = 0; numero <= Ricerca::kMassimoCriteri; ++numero)
        ricerca.Trova("Camera = '" + std::to_string(numero) + "' and Hotel = 1", 0);
    EXPECT_EQ(Percorso(ricerca, stessaForma[1], 0), atteso);
}

// One field compared in turn with a number, a text and Null: the index
// answers each as a test of every record does, a Null finding nothing.
TEST(Ricerca, UnCampoConfrontatoConCostantiDiOgniGenere) {
    const Tabella tabella = TabellaGenerata();
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = i;
    const auto nessunaSottoquery = [](sql::Selezione&) { return std::vector<Valore>{}; };
    Ricerca indicizzata(tabella, righe, nessunaSottoquery);
    Ricerca scansione(tabella, righe, nessunaSottoquery, Ricerca::Modo::Scansione);
    const struct {
        const char* criterio;
        bool trova;
    } casi[] = {
        {"Misto = 5 and Hotel = 1", true},   {"Misto = '5' and Hotel = 1", true}, {"Misto = Null and Hotel = 1", false},
        {"Hotel = '2' and Camera = 'b2'", true}, {"Hotel = 2 and Camera = Null", false},
        {"Codice = 8 and Hotel = 2", true},  {"Codice = '8' and Hotel = 2", true},
    };
    for (int giro = 0; giro < 2; ++giro) {
        for (const auto& caso : casi) {
            const auto atteso = Percorso(scansione, caso.criterio, 0);
            EXPECT_EQ(!atteso.empty(), caso.trova) << caso.criterio;
            EXPECT_EQ(Percorso(indicizzata, caso.criterio, 0), atteso) << caso.criterio;
        }
    }
}
