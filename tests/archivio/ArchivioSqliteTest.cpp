#include <gtest/gtest.h>

#include <fstream>

#include "archivio/Archivio.h"
#include "archivio/ArchivioSqlite.h"
#include "common/Errore.h"
#include "support/Csv.h"
#include "support/Supporto.h"

namespace {

Tabella TabellaDiProva() {
    Tabella t;
    t.nome = "Ospiti";
    t.colonne = {{"Numero", TipoCampo::Intero}, {"Nome", TipoCampo::Testo}, {"Importo", TipoCampo::Valuta},
                 {"Sconto", TipoCampo::Reale},  {"Nato", TipoCampo::Data},  {"Attivo", TipoCampo::SiNo}};
    t.righe = {
        {Valore::Intero(70421), Valore::Testo("D'Angelo Nicol\xF2"), Valore::Valuta(425000), Valore::Reale(12.5),
         Valore::Data("1961-04-12 00:00:00"), Valore::SiNo(true)},
        {Valore::Intero(-5), Valore::Testo(""), Valore::Valuta(-100), Valore(), Valore(), Valore::SiNo(false)},
        {Valore::Intero(3), Valore(), Valore::Valuta(999000), Valore::Reale(0.1), Valore::Data("2026-12-07 10:15:00"),
         Valore::SiNo(false)},
    };
    return t;
}

}  // namespace

TEST(ArchivioSqlite, RiletturaUgualeAlloScritto) {
    CartellaTemporanea cartella;
    const auto file = (cartella.Percorso() / "Prova.mdb").string();
    ScriviTabellaSqlite(file, TabellaDiProva());
    const auto archivio = ApriArchivio(file);
    EXPECT_EQ(archivio->NomiTabelle(), std::vector<std::string>{"Ospiti"});
    const Tabella letta = archivio->LeggiTabella("OSPITI");
    EXPECT_EQ(letta.nome, "Ospiti");
    EXPECT_EQ(letta.colonne, TabellaDiProva().colonne);
    EXPECT_EQ(letta.righe, TabellaDiProva().righe);  // Null and empty text stay apart, amounts exact
}

// A reading of some columns gives those the table has, in its order, with
// their values; a name it lacks is left out, as the Access reader does.
TEST(ArchivioSqlite, SoloLeColonneChieste) {
    CartellaTemporanea cartella;
    const auto file = (cartella.Percorso() / "Prova.mdb").string();
    ScriviTabellaSqlite(file, TabellaDiProva());
    const Tabella tutta = TabellaDiProva();
    const struct {
        std::vector<std::string> chieste;
        std::vector<std::size_t> attese;  // positions in the whole table
    } casi[] = {{{"attivo", "NOME"}, {1, 5}}, {{"Sconto", "Piano"}, {3}}, {{"Piano"}, {}}};
    for (const auto& caso : casi) {
        const Tabella letta = ApriArchivio(file)->LeggiColonne("Ospiti", Proiezione::Di(caso.chieste));
        ASSERT_EQ(letta.colonne.size(), caso.attese.size());
        ASSERT_EQ(letta.righe.size(), tutta.righe.size());
        for (std::size_t k = 0; k < caso.attese.size(); ++k) {
            EXPECT_EQ(letta.colonne[k], tutta.colonne[caso.attese[k]]);
            for (std::size_t r = 0; r < tutta.righe.size(); ++r)
                EXPECT_EQ(letta.righe[r][k], tutta.righe[r][caso.attese[k]]);
        }
    }
}

TEST(ArchivioSqlite, ErroriConNumero) {
    CartellaTemporanea cartella;
    const auto file = (cartella.Percorso() / "Prova.mdb").string();
    ScriviTabellaSqlite(file, TabellaDiProva());
    EXPECT_EQ(NumeroErroreDi([&] { ApriArchivio(file)->LeggiTabella("Camere"); }), 3078);
    EXPECT_EQ(NumeroErroreDi([&] { ApriArchivio((cartella.Percorso() / "Manca.mdb").string()); }), 3024);

    const auto testo = (cartella.Percorso() / "Testo.mdb").string();
    std::ofstream(testo) << "non sono un database";
    EXPECT_EQ(NumeroErroreDi([&] { ApriArchivio(testo); }), 3343);

    const auto troncato = (cartella.Percorso() / "Troncato.mdb").string();
    const std::string intero = LeggiFile(file);
    std::ofstream(troncato, std::ios::binary) << intero.substr(0, 1500);
    EXPECT_EQ(NumeroErroreDi([&] { ApriArchivio(troncato)->LeggiTabella("Ospiti"); }), 3343);
}

TEST(TrovaFile, NomeSenzaRiguardoAlleMaiuscole) {
    CartellaTemporanea cartella;
    std::ofstream(cartella.Percorso() / "TABLEAU.MDB") << "x";
    const CartellaDati dati(cartella.Percorso().string());
    EXPECT_EQ(TrovaFile(dati, "Tableau.mdb").Percorso(), (cartella.Percorso() / "TABLEAU.MDB").string());
    EXPECT_EQ(NumeroErroreDi([&] { TrovaFile(dati, "Camere.mdb"); }), 3024);
}

TEST(ArchivioSqlite, CopiaDeiDatiDemoUgualeAlleSorgenti) {
    CartellaTemporanea cartella;
    CreaCopiaSqliteDemo(cartella.Percorso());
    for (const auto& sorgente : SorgentiCsvDemo()) {
        const Tabella attesa = LeggiCsv(sorgente.percorso);
        const Tabella letta =
            ApriArchivio((cartella.Percorso() / (sorgente.database + ".mdb")).string())->LeggiTabella(sorgente.tabella);
        EXPECT_EQ(letta.colonne, attesa.colonne) << sorgente.tabella;
        EXPECT_EQ(letta.righe, attesa.righe) << sorgente.tabella;
    }
}
