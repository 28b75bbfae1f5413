#include <gtest/gtest.h>

#include <fstream>

#include "support/Csv.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"

namespace fs = std::filesystem;

namespace {

// The report of hotel 1, tableau 1, all its rooms, for the week of `data`,
// built from the databases in `cartella`.
std::string Report(const fs::path& cartella, const std::string& data) {
    const fs::path precedente = fs::current_path();
    fs::current_path(cartella);
    std::int16_t hotel = 1;
    std::int16_t tableau = 1;
    CreaTableau(hotel, tableau, "1", "305", data);
    fs::current_path(precedente);
    return LeggiFile(cartella / NomeFileReport());
}

std::string Atteso(const std::string& nome) { return LeggiFile(CartellaDatiTest() / "tableau" / nome); }

}  // namespace

TEST(TableauDemo, LeDueSettimaneDaAccessEDallaCopiaSqlite) {
    VariabileAmbiente postazione("PCLocal", "1");
    CartellaTemporanea access;
    access.CopiaDa(CartellaDatiTest() / "demo");
    CartellaTemporanea sqlite;
    CreaCopiaSqliteDemo(sqlite.Percorso());
    for (const auto& [data, file] : {std::pair{"07/12/2026", "demo-hotel1-tableau1-07-12-2026.fd"},
                                     std::pair{"26/12/2026", "demo-hotel1-tableau1-26-12-2026.fd"}}) {
        const std::string atteso = Atteso(file);
        ASSERT_EQ(atteso.size(), (2u + 3u * 28u) * 134u);
        EXPECT_EQ(Report(access.Percorso(), data), atteso) << data;
        EXPECT_EQ(Report(sqlite.Percorso(), data), atteso) << data;
    }
}

// Files after deletions and updates in Access give the reports their correct
// reading gives through SQLite.
TEST(TableauDemo, FileModificatiInAccessComeLaLoroLetturaCorretta) {
    VariabileAmbiente postazione("PCLocal", "1");
    CartellaTemporanea access;
    access.CopiaDa(CartellaDatiTest() / "edited");
    CartellaTemporanea sqlite;
    CreaCopiaSqliteDemo(sqlite.Percorso(), "edited");
    for (const char* data : {"07/12/2026", "26/12/2026"}) {
        const std::string daSqlite = Report(sqlite.Percorso(), data);
        EXPECT_EQ(Report(access.Percorso(), data), daSqlite) << data;
        EXPECT_EQ(daSqlite.find("Gallo"), std::string::npos) << data;  // a deleted guest
    }
}

// Within one program run a build reuses the tables read before only while
// their files are unchanged: a file rewritten in place at the same size, its
// modification time set back, is read afresh.
TEST(TableauDemo, UnFileCambiatoTraDueCostruzioniSiRilegge) {
    VariabileAmbiente postazione("PCLocal", "1");
    CartellaTemporanea cartella;
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    const fs::path clienti = cartella.Percorso() / "Scheda_Cliente.mdb";
    const std::string modificato = LeggiFile(CartellaDatiTest() / "edited" / "Scheda_Cliente.mdb");
    ASSERT_EQ(fs::file_size(clienti), modificato.size());
    const auto scritto = fs::last_write_time(clienti);
    const std::string prima = Report(cartella.Percorso(), "07/12/2026");
    EXPECT_EQ(prima, Atteso("demo-hotel1-tableau1-07-12-2026.fd"));
    EXPECT_EQ(Report(cartella.Percorso(), "07/12/2026"), prima);

    std::fstream(clienti, std::ios::binary | std::ios::in | std::ios::out) << modificato;
    fs::last_write_time(clienti, scritto);
    const std::string dopo = Report(cartella.Percorso(), "07/12/2026");
    EXPECT_NE(prima.find("Gallo"), std::string::npos);
    EXPECT_EQ(dopo.find("Gallo"), std::string::npos);  // deleted in the rewritten file
}

// The main window builds under the user's locale: an Italian one changes nothing.
TEST(TableauDemo, UgualeConLaVirgolaDecimale) {
    LocaleVirgolaDecimale italiano;
    if (!italiano.Attiva()) GTEST_SKIP() << "nessuna localizzazione con la virgola decimale installata";
    VariabileAmbiente postazione("PCLocal", "1");
    CartellaTemporanea access;
    access.CopiaDa(CartellaDatiTest() / "demo");
    EXPECT_EQ(Report(access.Percorso(), "07/12/2026"), Atteso("demo-hotel1-tableau1-07-12-2026.fd"));
}
