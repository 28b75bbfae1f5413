#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "archivio/ArchivioSqlite.h"
#include "support/Csv.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// Two users of one group sharing a data folder of mode 2775, as reception
// and the back office share the suite's folder: the receptionist, whose home
// holds files of hers only, and the other user, who may put anything in the
// folder. Made for the test and removed after it; the test is skipped where
// users cannot be made (not run as root) or cannot run the program from
// where it was built.
class CartellaCondivisa : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "servono i permessi per creare gli utenti";
        const std::string n = std::to_string(getpid() % 100000);
        gruppo_ = "brv5g" + n;
        ricezione_ = "brv5r" + n;
        altro_ = "brv5a" + n;
        if (Esegui("groupadd " + gruppo_) != 0 || Esegui("useradd -M -N -g " + gruppo_ + " " + ricezione_) != 0 ||
            Esegui("useradd -M -N -g " + gruppo_ + " " + altro_) != 0)
            GTEST_SKIP() << "impossibile creare gli utenti della prova";
        fs::permissions(radice_.Percorso(), fs::perms(0755));
        casa_ = radice_.Percorso() / "casa";
        dati_ = radice_.Percorso() / "dati";
        fs::create_directories(casa_ / ".ssh");
        fs::create_directories(casa_ / "documenti");
        ScriviFile(casa_ / ".bashrc", "# avvio della shell\n");
        ScriviFile(casa_ / ".ssh" / "id_rsa", "CHIAVE PRIVATA\n");
        fs::permissions(casa_ / ".ssh" / "id_rsa", fs::perms(0600));
        Esegui("chown -R " + ricezione_ + " '" + casa_.string() + "' && chmod 0700 '" + casa_.string() + "'");
        fs::create_directory(dati_);
        CreaCopiaSqliteDemo(dati_);
        Esegui("chown -R root:" + gruppo_ + " '" + dati_.string() + "' && chmod 2775 '" + dati_.string() +
               "' && chmod 0664 '" + dati_.string() + "'/*");
        if (Come(ricezione_, std::string(BROVATO5_ESEGUIBILE) + " --version").first != 0)
            GTEST_SKIP() << "gli utenti della prova non possono avviare il programma da " << BROVATO5_ESEGUIBILE;
        ASSERT_EQ(Ricezione("tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026").first, 0);
    }

    void TearDown() override {
        for (const auto& utente : {ricezione_, altro_})
            if (!utente.empty()) Esegui("userdel " + utente + " 2>/dev/null");
        if (!gruppo_.empty()) Esegui("groupdel " + gruppo_ + " 2>/dev/null");
    }

    static int Esegui(const std::string& comando) { return EseguiConErrori(comando).first; }

    // `comando` run by the shell as `utente`, in the data folder, as workstation 1.
    std::pair<int, std::string> Come(const std::string& utente, const std::string& comando) const {
        return EseguiConErrori("runuser -u " + utente + " -- env -i PATH=/usr/bin:/bin HOME='" + casa_.string() +
                               "' TMPDIR=/tmp PCLocal=1 QT_QPA_PLATFORM=offscreen sh -c \"cd '" + dati_.string() +
                               "' && " + comando + "\"");
    }
    std::pair<int, std::string> Ricezione(const std::string& argomenti) const {
        return Come(ricezione_, std::string(BROVATO5_ESEGUIBILE) + " " + argomenti);
    }
    void Altro(const std::string& comando) const { ASSERT_EQ(Come(altro_, comando).first, 0) << comando; }

    // The receptionist's own files, as they were.
    void CasaIntatta() const {
        EXPECT_EQ(LeggiFile(casa_ / ".bashrc"), "# avvio della shell\n");
        EXPECT_EQ(LeggiFile(casa_ / ".ssh" / "id_rsa"), "CHIAVE PRIVATA\n");
        EXPECT_TRUE(fs::is_empty(casa_ / "documenti"));
    }

    CartellaTemporanea radice_;
    fs::path casa_, dati_;
    std::string gruppo_, ricezione_, altro_;
};

}  // namespace

// What the other user plants in the folder never makes the receptionist's
// program write, read or wait where it should not: each is refused at once
// with an Italian sentence naming the file, and her files stay as they were.
// The other user may write the Stampanti table, not choose her files with it.
TEST_F(CartellaCondivisa, NullaDiPiantatoFaScrivereLeggereOAspettare) {
    const std::string casa = casa_.string();
    const std::string stampa = "stampa --hotel 1 --destinazione Ufficio";
    const auto lineaFuori = [&] {
        Tabella stampanti = LeggiCsv(CartellaDatiTest() / "demo" / "csv" / "Stampanti" / "Stampanti.csv");
        const auto linea = static_cast<std::size_t>(stampanti.IndiceColonna("Linea"));
        for (auto& riga : stampanti.righe) riga[linea] = Valore::Testo(casa + "/.bashrc");
        ScriviTabellaSqlite((dati_ / "Stampanti.mdb").string(), stampanti);
    };
    struct Caso {
        const char* nome;
        std::string pianta;  // what the other user does first (shell)
        std::string comando; // the receptionist's command
        const char* nomina;  // what the error names
        std::function<void()> prima = {};  // written by the test itself, as the other user may
    } casi[] = {
        {"stampa su un collegamento", "ln -s " + casa + "/.bashrc stampa_ufficio.prn", stampa, "stampa_ufficio.prn"},
        {"stampa su una FIFO", "mkfifo stampa_ufficio.prn", stampa, "stampa_ufficio.prn"},
        {"report collegato, esportato", "rm -f FD1 && ln -s " + casa + "/.ssh/id_rsa FD1", "esporta", "FD1"},
        {"report collegato, stampato", "rm -f FD1 && ln -s " + casa + "/.ssh/id_rsa FD1", stampa, "FD1"},
        {"doc collegata", "ln -s " + casa + "/documenti doc", "stampa --hotel 1 --destinazione 'Reception PDF'", "doc"},
        {"stampante sul database", "true", stampa + " --stampante Tableau.mdb", "Tableau.mdb"},
        {"PDF sul database", "true", "stampa --hotel 1 --destinazione 'Reception PDF' --pdf NumeriCamere.mdb",
         "NumeriCamere.mdb"},
        {"separatori enormi", "truncate -s 2G SeparatoreXLS.txt", "esporta", "SeparatoreXLS.txt"},
        {"carattere enorme", "truncate -s 2G FontStp.txt", "stampa --hotel 1 --destinazione 'Reception PDF'",
         "FontStp.txt"},
        {"linea fuori dalla cartella", "true", stampa, "fuori dalla cartella dei dati", lineaFuori},  // the last
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        Altro(caso.pianta);
        if (caso.prima) caso.prima();
        const auto inizio = std::chrono::steady_clock::now();
        const auto [stato, errori] = Ricezione(caso.comando);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(10));
        EXPECT_EQ(stato, 1) << errori;
        EXPECT_EQ(errori.rfind("Errore ", 0), 0u) << errori;
        EXPECT_NE(errori.find(caso.nomina), std::string::npos) << errori;
        CasaIntatta();
        EXPECT_EQ(fs::symlink_status(dati_ / "fd1.csv").type(), fs::file_type::not_found);
        // The folder back as it was, with the receptionist's report built anew.
        Esegui("cd '" + dati_.string() + "' && rm -rf stampa_ufficio.prn doc SeparatoreXLS.txt FontStp.txt FD1");
        ASSERT_EQ(Ricezione("tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026").first, 0);
    }
}

// The other user, owning "doc", keeps swapping every new file there for a
// link to a file of the receptionist's while she saves PDFs: a PDF is never
// written through such a link.
TEST_F(CartellaCondivisa, PdfMaiScrittoAttraversoUnoScambio) {
    const std::string bersaglio = (casa_ / ".bashrc").string();
    Altro("mkdir -m 2775 doc");
    const std::string scambio = "for i in $(seq 4000); do for f in doc/*; do [ -L \"$f\" ] || ln -sf " + bersaglio +
                                " \"$f\" 2>/dev/null; done; done";
    const std::string sfondo = "runuser -u " + altro_ + " -- sh -c \"cd '" + dati_.string() + "' && " + scambio +
                               "\" >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(sfondo.c_str()), 0);
    int riuscite = 0;
    for (int i = 0; i < 10; ++i)
        riuscite += Ricezione("stampa --hotel 1 --destinazione 'Reception PDF' --pdf doc/tableau" +
                              std::to_string(i) + ".pdf").first == 0;
    Esegui("pkill -u " + altro_ + "; sleep 0.2");
    CasaIntatta();
    EXPECT_GT(riuscite, 0);
}
