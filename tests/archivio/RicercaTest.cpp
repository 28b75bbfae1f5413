#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "archivio/Ricerca.h"
#include "support/Supporto.h"
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

const Campo Hotel("Hotel"), Camera("Camera"), Tipo("Tipo"), Codice("Codice"), Prezzo("Prezzo"), Data("Data"),
    Misto("Misto");

std::vector<Forma> Criteri() {
    return {
        Hotel == 1,
        Camera == "a1" && Hotel == 2,
        Hotel == 1 && Camera == "B2" && (Tipo == "C" || Tipo == "O" || Tipo == "D"),
        Camera == "\xE0" "1" && Tipo == "c",
        Camera == "101" && Hotel == 1,
        Hotel == Valore::Reale(-0.0) && Camera == "A1",
        Hotel == Valore::Reale(1.0) && Hotel == 1 && Camera == "b2",
        Hotel == 1 && Data > "20261205" && Data <= "20261210",
        Prezzo == Valore::Reale(12.5) && Tipo == "d",
        Codice == 7,
        Codice == "7" && Hotel == "1",
        Misto == 5 && Hotel == 0,
        Misto == "5",
        IsNull(Tipo) && Hotel == 1,
        !(Hotel == 1) && Tipo == "O",
        Tipo == "o" || Hotel == 2,
    };
}

std::vector<std::uint32_t> InOrdine(std::size_t n) {
    std::vector<std::uint32_t> righe(n);
    for (std::uint32_t i = 0; i < n; ++i) righe[i] = i;
    return righe;
}

const EseguiSottoquery nessunaSottoquery = [](const Selezione&) { return std::vector<Valore>{}; };

// Positions found by a first search from `da`, then by each next search
// (which must move forward).
std::vector<std::size_t> Percorso(Ricerca& ricerca, const Criterio& criterio, std::size_t da) {
    std::vector<std::size_t> trovati;
    for (auto p = ricerca.Trova(criterio, da); p; p = ricerca.Trova(criterio, *p + 1)) {
        if (*p < da || (!trovati.empty() && *p <= trovati.back())) {
            ADD_FAILURE() << "la ricerca torna indietro";
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
    Ricerca indicizzata(tabella, righe, nessunaSottoquery, Ricerca::Modo::ConIndici);
    Ricerca scansione(tabella, righe, nessunaSottoquery, Ricerca::Modo::Scansione);

    const auto criteri = Criteri();
    for (std::size_t c = 0; c < criteri.size(); ++c) {
        const auto atteso = Percorso(scansione, criteri[c], 0);
        EXPECT_FALSE(atteso.empty()) << "criterio " << c;
        EXPECT_EQ(Percorso(indicizzata, criteri[c], 0), atteso) << "criterio " << c;
        for (std::size_t da : {std::size_t{1}, std::size_t{1499}, std::size_t{2999}, std::size_t{3000}})
            EXPECT_EQ(indicizzata.Trova(criteri[c], da), scansione.Trova(criteri[c], da)) << c << " da " << da;
    }
}

TEST(Ricerca, UnaConversioneImpossibileFermaEntrambe) {
    Tabella tabella = TabellaGenerata();
    tabella.righe[2000][0] = Valore::Intero(1);
    tabella.righe[2000][6] = Valore::Testo("cinque");
    const auto righe = InOrdine(tabella.righe.size());
    for (auto modo : {Ricerca::Modo::ConIndici, Ricerca::Modo::Scansione}) {
        Ricerca ricerca(tabella, righe, nessunaSottoquery, modo);
        const Forma criterio = Hotel == 1 && Misto == 5;
        EXPECT_TRUE(ricerca.Trova(criterio, 0));
        EXPECT_THROW(Percorso(ricerca, criterio, 0), Errore);
    }
}

namespace {

// A form and the values of each search, with the same form's values written in.
struct ValoriDaCercare {
    const Forma& forma;
    std::vector<Valore> valori;
    Forma scritta;
};

// Each search of a form given values in turn, twice over, finds through the
// index what the form with those values written in finds by testing every
// record; those with a Null first value find nothing.
void ControllaInTurno(const std::vector<ValoriDaCercare>& casi) {
    const Tabella tabella = TabellaGenerata();
    const auto righe = InOrdine(tabella.righe.size());
    Ricerca insieme(tabella, righe, nessunaSottoquery);
    for (int giro = 0; giro < 2; ++giro) {
        for (std::size_t c = 0; c < casi.size(); ++c) {
            const Criterio criterio(casi[c].forma, casi[c].valori);
            Ricerca scansione(tabella, righe, nessunaSottoquery, Ricerca::Modo::Scansione);
            const auto atteso = Percorso(scansione, casi[c].scritta, 0);
            EXPECT_EQ(atteso.empty(), casi[c].valori.front().IsNull()) << "caso " << c;
            EXPECT_EQ(Percorso(insieme, criterio, 0), atteso) << "caso " << c;
            EXPECT_EQ(insieme.Trova(criterio, 1500), scansione.Trova(casi[c].scritta, 1500)) << "caso " << c;
        }
    }
}

const Parametro primo{0}, secondo{1};

}  // namespace

// One form given the values of each search in turn finds what each finds alone.
TEST(Ricerca, CriteriDellaStessaFormaInAlternanza) {
    const Forma camera = Camera == primo && Hotel == secondo;
    ControllaInTurno({
        {camera, {Valore::Testo("a1"), Valore::Intero(2)}, Camera == "a1" && Hotel == 2},
        {camera, {Valore::Testo("101"), Valore::Intero(1)}, Camera == "101" && Hotel == 1},
        {camera, {Valore::Testo("B2"), Valore::Reale(-0.0)}, Camera == "B2" && Hotel == Valore::Reale(-0.0)},
        {camera, {Valore::Testo("b2"), Valore::Reale(1.0)}, Camera == "b2" && Hotel == Valore::Reale(1.0)},
    });
    const Tabella tabella = TabellaGenerata();
    const auto righe = InOrdine(tabella.righe.size());
    Ricerca ricerca(tabella, righe, nessunaSottoquery);
    EXPECT_EQ(NumeroErroreDi([&] { ricerca.Trova(Criterio(camera, {Valore::Testo("a1")}), 0); }),
              NumeroErrore::ParametriInsufficienti);
}

// One field compared in turn with a number, a text and Null: the index
// answers each as a test of every record does, a Null finding nothing.
TEST(Ricerca, UnCampoConfrontatoConCostantiDiOgniGenere) {
    const Forma camera = Camera == primo && Hotel == secondo;
    const Forma misto = Misto == primo && Hotel == secondo;
    const Forma codice = Codice == primo && Hotel == 2;
    ControllaInTurno({
        {misto, {Valore::Intero(5), Valore::Intero(1)}, Misto == 5 && Hotel == 1},
        {misto, {Valore::Testo("5"), Valore::Intero(1)}, Misto == "5" && Hotel == 1},
        {misto, {Valore(), Valore::Intero(1)}, Misto == Valore() && Hotel == 1},
        {camera, {Valore::Testo("b2"), Valore::Testo("2")}, Camera == "b2" && Hotel == "2"},
        {camera, {Valore(), Valore::Intero(2)}, Camera == Valore() && Hotel == 2},
        {codice, {Valore::Intero(8)}, Codice == 8 && Hotel == 2},
        {codice, {Valore::Testo("8")}, Codice == "8" && Hotel == 2},
    });
}

// Searches made again with one criterion, from any position and in any
// order, find what a search of its own would.
TEST(Ricerca, RicercheRipetuteDaPosizioniQualsiasi) {
    const Tabella tabella = TabellaGenerata();
    const auto righe = InOrdine(tabella.righe.size());
    Ricerca ripetuta(tabella, righe, nessunaSottoquery);
    for (const Forma& criterio : Criteri()) {
        for (const std::size_t da : {1499u, 0u, 700u, 2999u, 5u}) {
            Ricerca nuova(tabella, righe, nessunaSottoquery);
            EXPECT_EQ(Percorso(ripetuta, criterio, da), Percorso(nuova, criterio, da)) << " da " << da;
            EXPECT_EQ(ripetuta.Trova(criterio, da + 1), nuova.Trova(criterio, da + 1)) << " da " << da;
        }
    }
}

// Past the most forms kept they are let go: a form built for each search
// piles none up, and a form kept before, searched again with other values,
// finds what it finds alone.
TEST(Ricerca, FormeLasciateOltreLeMassime) {
    const Tabella tabella = TabellaGenerata();
    const auto righe = InOrdine(tabella.righe.size());
    const Forma forma = Camera == Parametro{0} && Hotel == 1;
    Ricerca ricerca(tabella, righe, nessunaSottoquery);
    Percorso(ricerca, Criterio(forma, {Valore::Testo("a1")}), 0);
    for (std::size_t numero = 0; numero <= Ricerca::kMassimeForme; ++numero)
        ricerca.Trova(Camera == std::to_string(numero) && Hotel == 1, 0);
    Ricerca sola(tabella, righe, nessunaSottoquery);
    const Criterio criterio(forma, {Valore::Testo("B2")});
    EXPECT_EQ(Percorso(ricerca, criterio, 0), Percorso(sola, criterio, 0));
}
