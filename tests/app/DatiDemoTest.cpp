#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "app/DatiDemo.h"
#include "archivio/Archivio.h"
#include "common/Errore.h"
#include "support/Csv.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"

namespace fs = std::filesystem;

namespace {

Tabella Leggi(const fs::path& cartella, const std::string& file, const std::string& tabella) {
    return ApriArchivio((cartella / file).string())->LeggiTabella(tabella);
}

}  // namespace

TEST(DatiDemo, ArchivioCompletoAttornoAOggi) {
    CartellaTemporanea cartella;
    const auto demo = cartella.Percorso() / "demo";
    CreaDatiDemo(demo.string(), "09/12/2026");  // a Wednesday
    // The suite's files, tables and columns, as in the demo test data.
    std::set<std::string> file;
    for (const auto& voce : fs::directory_iterator(demo)) file.insert(voce.path().filename().string());
    std::set<std::string> attesi;
    for (const auto& sorgente : SorgentiCsvDemo()) {
        attesi.insert(sorgente.database + ".mdb");
        const Tabella t = Leggi(demo, sorgente.database + ".mdb", sorgente.tabella);
        EXPECT_EQ(t.colonne, LeggiCsv(sorgente.percorso).colonne) << sorgente.tabella;
        EXPECT_FALSE(t.righe.empty()) << sorgente.tabella;
    }
    EXPECT_EQ(file, attesi);
    // Who arrived by today is registered, later arrivals are booked.
    const Tabella ospiti = Leggi(demo, "Scheda_Cliente.mdb", "Scheda_Cliente");
    const int arrivo = ospiti.IndiceColonna("DataArrivo");
    for (const auto& r : ospiti.righe) EXPECT_LE(r[arrivo].Testo(), "20261209");
    const Tabella prenotate = Leggi(demo, "Camere_Prenotazione.mdb", "Camere_Prenotazione");
    for (const auto& r : prenotate.righe) EXPECT_GT(r[prenotate.IndiceColonna("DataArrivo")].Testo(), "20261209");
    std::set<std::string> tipi;
    for (const auto& r : prenotate.righe) tipi.insert(r[prenotate.IndiceColonna("TipoPrenotazione")].Testo());
    EXPECT_EQ(tipi, (std::set<std::string>{"A", "C", "D", "O", "P"}));

    // The same day gives the same data; the tableau from today is full.
    CreaDatiDemo((cartella.Percorso() / "ancora").string(), "09/12/2026");
    EXPECT_EQ(LeggiFile(cartella.Percorso() / "ancora" / "Scheda_Cliente.mdb"), LeggiFile(demo / "Scheda_Cliente.mdb"));
    UltimaCostruzione ultima;
    CreaTableau(ultima, {CartellaDati(demo.string()), "1"}, 1, 1, "101", "310", "09/12/2026");
    const std::string report = LeggiFile(demo / "FD1");
    int occupate = 0;
    for (std::size_t riga = 2; riga < 2 + 3 * 34; riga += 3)
        for (int k = 0; k < 7; ++k)
            if (report.substr(riga * 134 + 18 * k + 6, 17) != std::string(17, ' ')) ++occupate;
    EXPECT_GT(occupate, 34 * 7 * 2 / 3);
}

TEST(DatiDemo, CartellaNonVuotaRifiutata) {
    CartellaTemporanea cartella;
    const auto dati = cartella.Percorso() / "dati";
    fs::create_directory(dati);
    std::ofstream(dati / "Tableau.mdb") << "archivio dell'utente";
    EXPECT_EQ(NumeroErroreDi([&] { CreaDatiDemo(dati.string(), "09/12/2026"); }), 75);
    EXPECT_EQ(LeggiFile(dati / "Tableau.mdb"), "archivio dell'utente");
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella.Percorso()), fs::directory_iterator()), 1);
}

TEST(DatiDemo, CartellaScrittaConLaBarraFinale) {
    CartellaTemporanea cartella;
    const auto demo = cartella.Percorso() / "demo";
    CreaDatiDemo(demo.string() + "/", "09/12/2026");
    EXPECT_TRUE(fs::exists(demo / "Tableau.mdb"));
    // Nothing but the demo folder is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella.Percorso()), fs::directory_iterator()), 1);
}
