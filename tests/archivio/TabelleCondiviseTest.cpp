#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "archivio/ArchivioSqlite.h"
#include "archivio/Database.h"
#include "archivio/TabelleCondivise.h"
#include "common/Errore.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// A table of one text field with the given values, one record each.
Tabella Camere(std::initializer_list<const char*> numeri) {
    Tabella t{"Camere", {{"NumeroCamera", TipoCampo::Testo}}, {}};
    for (const char* n : numeri) t.righe.push_back({Valore::Testo(n)});
    return t;
}

// Reads by counting how often it is asked to read.
class Lettore {
public:
    explicit Lettore(int& letture) : letture_(letture) {}
    Tabella operator()() const {
        ++letture_;
        return Camere({"101"});
    }

private:
    int& letture_;
};

class TabelleCondiviseSuFile : public ::testing::Test {
protected:
    fs::path File(const char* nome) const { return cartella_.Percorso() / nome; }
    std::shared_ptr<const Tabella> Leggi(const fs::path& file, const std::string& tabella) {
        return tabelle_.Leggi(FileDelTest(file), tabella, Lettore(letture_));
    }

    CartellaTemporanea cartella_;
    TabelleCondivise tabelle_;
    int letture_ = 0;
};

}  // namespace

TEST_F(TabelleCondiviseSuFile, UnaTabellaLettaUnaVoltaPerFile) {
    ScriviFile(File("a.mdb"), "aaaa");
    ScriviFile(File("b.mdb"), "bbbb");
    const auto prima = Leggi(File("a.mdb"), "Camere");
    EXPECT_EQ(Leggi(File("a.mdb"), "CAMERE"), prima);
    // Another path to the same file is the same file.
    EXPECT_EQ(Leggi(cartella_.Percorso() / "." / "a.mdb", "camere"), prima);
    EXPECT_EQ(letture_, 1);
    EXPECT_NE(Leggi(File("a.mdb"), "Ospiti"), prima);
    EXPECT_NE(Leggi(File("b.mdb"), "Camere"), prima);
    EXPECT_EQ(letture_, 3);
}

TEST_F(TabelleCondiviseSuFile, UnFileCambiatoSiRilegge) {
    const fs::path file = File("a.mdb");
    ScriviFile(file, "aaaa");
    auto prima = Leggi(file, "Camere");
    // Longer, same time of last change.
    const auto ora = fs::last_write_time(file);
    ScriviFile(file, "aaaaa");
    fs::last_write_time(file, ora);
    auto seconda = Leggi(file, "Camere");
    EXPECT_NE(seconda, prima);
    // Same size, changed later.
    ScriviFile(file, "bbbbb");
    fs::last_write_time(file, ora + std::chrono::seconds(1));
    auto terza = Leggi(file, "Camere");
    EXPECT_NE(terza, seconda);
    // Another file put in its place, with the same size and time.
    ScriviFile(File("nuovo.mdb"), "ccccc");
    fs::last_write_time(File("nuovo.mdb"), ora + std::chrono::seconds(1));
    fs::rename(File("nuovo.mdb"), file);
    EXPECT_NE(Leggi(file, "Camere"), terza);
    EXPECT_EQ(letture_, 4);
}

TEST_F(TabelleCondiviseSuFile, UnaLetturaFallitaNonResta) {
    ScriviFile(File("a.mdb"), "aaaa");
    const auto fallisce = [] () -> Tabella { throw Errore(3343, "illeggibile"); };
    EXPECT_THROW(tabelle_.Leggi(FileDelTest(File("a.mdb")), "Camere", fallisce), Errore);
    EXPECT_EQ(Leggi(File("a.mdb"), "Camere")->righe.size(), 1u);
    // A missing file is left to the reader, which reports it.
    EXPECT_THROW(tabelle_.Leggi(FileDelTest(File("manca.mdb")), "Camere", fallisce), Errore);
}

TEST(TabelleCondivise, DatabaseDelloStessoLavoroLeggonoUnaTabellaUnaVolta) {
    CartellaTemporanea cartella;
    const std::string dir = cartella.Percorso().string();
    const std::string camere = (cartella.Percorso() / "Camere.mdb").string();
    ScriviTabellaSqlite(camere, Camere({"101", "102"}));
    ScriviTabellaSqlite((cartella.Percorso() / "Tipi.mdb").string(), Camere({"101", "102", "103"}));
    auto condivise = std::make_shared<TabelleCondivise>();
    auto proprio = Database::Apri(CartellaDati(dir), "Camere.mdb", condivise);
    EXPECT_EQ(proprio->OpenRecordset("Camere")->RecordCount(), 2u);
    // Records of Tipi.mdb whose number is in Camere.mdb, reached through an In clause.
    const auto viaIn = [&](std::shared_ptr<TabelleCondivise> tabelle) {
        const auto database = tabelle ? Database::Apri(CartellaDati(dir), "Tipi.mdb", std::move(tabelle))
                                      : Database::Apri(CartellaDati(dir), "Tipi.mdb");
        const Campo numero("NumeroCamera");
        return database
            ->OpenRecordset({.tabella = "Camere",
                             .filtro = In(numero, Selezione{.tabella = "Camere", .campi = {numero}, .file = "Camere.mdb"})})
            ->RecordCount();
    };
    // Rewritten in place to the same size and time: only a fresh read sees it.
    const auto scritto = fs::last_write_time(camere);
    const auto dimensione = fs::file_size(camere);
    ScriviTabellaSqlite(camere, Camere({"101", "109"}));
    fs::last_write_time(camere, scritto);
    ASSERT_EQ(fs::file_size(camere), dimensione);
    EXPECT_EQ(viaIn(condivise), 2u);
    EXPECT_EQ(viaIn(nullptr), 1u);
    // Changed later: read afresh by the databases of the job opened after,
    // the open one keeps what it read.
    fs::last_write_time(camere, scritto + std::chrono::seconds(2));
    EXPECT_EQ(viaIn(condivise), 1u);
    EXPECT_EQ(proprio->OpenRecordset("Camere")->RecordCount(), 2u);
}

// A reading with the columns asked for or more serves; otherwise the columns
// of the copy kept are read again together with those asked for.
TEST_F(TabelleCondiviseSuFile, UnaLetturaConLeColonneChiesteServe) {
    ScriviFile(File("a.mdb"), "aaaa");
    std::vector<Proiezione> lette;
    const auto leggi = [&](const char* tabella, const Proiezione& colonne) {
        return tabelle_.Leggi(FileDelTest(File("a.mdb")), tabella, colonne, [&](const Proiezione& daLeggere) {
            lette.push_back(daLeggere);
            return Camere({"101"});
        });
    };
    const auto ab = Proiezione::Di({"A", "b"});
    const auto prima = leggi("Camere", ab);
    EXPECT_EQ(leggi("CAMERE", Proiezione::Di({"a"})), prima);
    EXPECT_NE(leggi("Camere", Proiezione::Di({"C"})), prima);
    leggi("Camere", Proiezione::Di({"B", "c"}));
    leggi("Ospiti", Proiezione::Di({"A"}));
    leggi("Ospiti", {});
    leggi("Ospiti", Proiezione::Di({"Z"}));
    EXPECT_EQ(lette, (std::vector<Proiezione>{ab, Proiezione::Di({"a", "b", "c"}), Proiezione::Di({"A"}), {}}));
}
