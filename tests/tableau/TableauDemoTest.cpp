#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <stop_token>
#include <thread>
#include <vector>

#include "archivio/Sessione.h"
#include "common/Errore.h"
#include "support/Csv.h"
#include "support/PagineJet4.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"
#include "tableau/FileReport.h"

namespace fs = std::filesystem;

namespace {

// The report of hotel 1, tableau 1, all its rooms, for the week of `data`,
// built from the databases in `cartella` as workstation 1, with what
// `ultima` keeps of the builds before.
std::string Report(const fs::path& cartella, const std::string& data, UltimaCostruzione& ultima) {
    CreaTableau(ultima, {CartellaDati(cartella.string()), "1"}, 1, 1, "1", "305", data);
    return LeggiFile(cartella / NomeFileReport("1"));
}

std::string Report(const fs::path& cartella, const std::string& data) {
    UltimaCostruzione ultima;
    return Report(cartella, data, ultima);
}

// The Access readers this process has started and not yet reaped.
std::vector<pid_t> LettoriInCorso() {
    std::vector<pid_t> lettori;
    for (const auto& filo : fs::directory_iterator("/proc/self/task")) {
        std::ifstream figli(filo.path() / "children");
        for (pid_t pid = 0; figli >> pid;) {
            std::string nome;
            if (std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/comm"), nome) && nome == "brovato5-mdb")
                lettori.push_back(pid);
        }
    }
    return lettori;
}

// Stops the process `pid` as a reader stuck on a share that no longer
// answers: true once it is stopped, false when it has ended first.
bool FermaLettore(pid_t pid) {
    if (kill(pid, SIGSTOP) != 0) return false;
    for (int i = 0; i < 200; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string riga;
        if (!std::getline(stat, riga)) return false;
        const auto stato = riga.substr(riga.rfind(')') + 2, 1);
        if (stato == "T") return true;
        if (stato == "Z" || stato == "X") return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

std::string Atteso(const std::string& nome) { return LeggiFile(CartellaDatiTest() / "tableau" / nome); }

}  // namespace

TEST(TableauDemo, LeDueSettimaneDaAccessEDallaCopiaSqlite) {
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

// Within one session a new build reuses the tables read before only while
// their files are unchanged: a file rewritten in place at the same size, its
// modification time set back, is read afresh.
TEST(TableauDemo, UnFileCambiatoTraDueCostruzioniSiRilegge) {
    CartellaTemporanea cartella;
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    const fs::path clienti = cartella.Percorso() / "Scheda_Cliente.mdb";
    const std::string modificato = LeggiFile(CartellaDatiTest() / "edited" / "Scheda_Cliente.mdb");
    ASSERT_EQ(fs::file_size(clienti), modificato.size());
    const auto scritto = fs::last_write_time(clienti);
    const auto sessione = std::make_shared<SessioneArchivio>();
    const auto report = [&] {
        UltimaCostruzione ultima(sessione);
        return Report(cartella.Percorso(), "07/12/2026", ultima);
    };
    const std::string prima = report();
    EXPECT_EQ(prima, Atteso("demo-hotel1-tableau1-07-12-2026.fd"));
    EXPECT_EQ(report(), prima);

    std::fstream(clienti, std::ios::binary | std::ios::in | std::ios::out) << modificato;
    fs::last_write_time(clienti, scritto);
    const std::string dopo = report();
    EXPECT_NE(prima.find("Gallo"), std::string::npos);
    EXPECT_EQ(dopo.find("Gallo"), std::string::npos);  // deleted in the rewritten file
}

// The main window builds under the user's locale: an Italian one changes nothing.
TEST(TableauDemo, UgualeConLaVirgolaDecimale) {
    LocaleVirgolaDecimale italiano;
    if (!italiano.Attiva()) GTEST_SKIP() << "nessuna localizzazione con la virgola decimale installata";
    CartellaTemporanea access;
    access.CopiaDa(CartellaDatiTest() / "demo");
    EXPECT_EQ(Report(access.Percorso(), "07/12/2026"), Atteso("demo-hotel1-tableau1-07-12-2026.fd"));
}

// Reception writes a file from another workstation while builds read it:
// every build gives the report of one of the file's versions, or finds the
// file in use, never a mixture of the two nor a damaged file. The writer
// rewrites in place, page by page, the pages where the versions differ.
TEST(TableauDemo, FileRiscrittoPaginaPerPaginaDuranteLeCostruzioni) {
    CartellaTemporanea cartella;
    UltimaCostruzione ultima;
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    const fs::path clienti = cartella.Percorso() / "Scheda_Cliente.mdb";
    // Version B: a guest of the whole week deleted, which changes his row's
    // page and the row count on the table's definition page.
    const std::string versioneA = LeggiFile(clienti);
    std::string versioneB = versioneA;
    PagineJet4(versioneB).CancellaRiga(versioneB.find("\xFF\xFE" "Bianchi Giovanni"));
    constexpr std::size_t kPagina = 4096;
    std::vector<std::size_t> pagineDiverse;
    for (std::size_t p = 0; p < versioneA.size(); p += kPagina)
        if (versioneA.compare(p, kPagina, versioneB, p, kPagina) != 0) pagineDiverse.push_back(p);
    ASSERT_EQ(pagineDiverse.size(), 2u);

    // Each page written on its own, a moment after the one before: meanwhile
    // the file holds one version's page and the other's row count.
    const auto scriviPagine = [&](int fd, const std::string& versione) {
        for (const std::size_t p : pagineDiverse) {
            ASSERT_EQ(pwrite(fd, versione.data() + p, kPagina, static_cast<off_t>(p)), static_cast<ssize_t>(kPagina));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    const int fd = open(clienti.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const std::string reportA = Report(cartella.Percorso(), "07/12/2026", ultima);
    scriviPagine(fd, versioneB);
    const std::string reportB = Report(cartella.Percorso(), "07/12/2026", ultima);
    ASSERT_NE(reportA, reportB);

    std::atomic<bool> fine = false;
    std::atomic<int> scritture = 0;
    std::thread scrittore([&] {
        for (int n = 0; !fine; ++n) {
            scriviPagine(fd, n % 2 == 0 ? versioneA : versioneB);
            ++scritture;
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
    });
    int giusti = 0;
    int inUso = 0;
    for (const auto inizio = std::chrono::steady_clock::now();
         std::chrono::steady_clock::now() - inizio < std::chrono::seconds(1);) {
        try {
            const std::string report = Report(cartella.Percorso(), "07/12/2026", ultima);
            EXPECT_TRUE(report == reportA || report == reportB) << "costruzione " << giusti + inUso + 1;
            ++giusti;
        } catch (const Errore& e) {
            EXPECT_EQ(e.Numero(), NumeroErrore::FileInUso) << e.Testo();
            ++inUso;
        }
    }
    fine = true;
    scrittore.join();
    close(fd);
    EXPECT_GT(giusti, 0);
    EXPECT_GT(scritture, 10);
}

// Each file a build reads, missing or not a database, ends the build with
// its own error, whether read for a record set of the build or only through
// a query that reaches it (the room types); the files read ahead of their
// queries report nothing of their own.
TEST(TableauDemo, UnFileMancanteODannegiatoDaIlSuoErrore) {
    for (const char* file : {"NumeriCamere.mdb", "TipiCamere.mdb", "Scheda_Cliente.mdb", "AgenzieAbituali.mdb",
                             "Arrangiamento.mdb", "Camere_Prenotazione.mdb", "Scheda_Prenotazione.mdb"}) {
        SCOPED_TRACE(file);
        CartellaTemporanea cartella;
        cartella.CopiaDa(CartellaDatiTest() / "demo");
        const fs::path percorso = cartella.Percorso() / file;
        for (const int errore : {NumeroErrore::FileNonTrovato, NumeroErrore::FormatoNonRiconosciuto}) {
            fs::remove(percorso);
            if (errore == NumeroErrore::FormatoNonRiconosciuto) std::ofstream(percorso) << std::string(8192, 'x');
            std::string testo;
            try {
                Report(cartella.Percorso(), "07/12/2026");
            } catch (const Errore& e) {
                testo = e.Testo();
            }
            EXPECT_EQ(testo.rfind("Errore " + std::to_string(errore) + ":", 0), 0u) << testo;
            EXPECT_NE(testo.find(file), std::string::npos) << testo;
        }
    }
}

// A build asked to stop while its reader is stalled ends at once, abandoned,
// and leaves no reader behind: neither running nor a zombie. The readers of
// the small demo files are quick: the build is made again until one of them
// is caught at work.
TEST(TableauDemo, UnLettoreFermoNonTrattieneLaCostruzioneAnnullata) {
    using namespace std::chrono_literals;
    CartellaTemporanea cartella;
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    const Contesto contesto = cartella.Dati("1");
    pid_t fermato = 0;
    for (int prova = 0; prova < 100 && fermato == 0; ++prova) {
        UltimaCostruzione ultima;  // a session of its own: every file is read again
        std::stop_source arresto;
        Avanzamento avanzamento(arresto.get_token(), {});
        auto costruzione = std::async(std::launch::async, [&] {
            CreaTableau(ultima, contesto, 1, 1, "1", "305", "07/12/2026", avanzamento);
        });
        while (fermato == 0 && costruzione.wait_for(0ms) == std::future_status::timeout)
            for (const pid_t lettore : LettoriInCorso())
                if (fermato == 0 && FermaLettore(lettore)) fermato = lettore;
        if (fermato == 0) {
            costruzione.get();
            continue;
        }
        const auto inizio = std::chrono::steady_clock::now();
        arresto.request_stop();
        ASSERT_EQ(costruzione.wait_for(2s), std::future_status::ready);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, 2s);
        EXPECT_THROW(costruzione.get(), CostruzioneAnnullata);
        EXPECT_NE(kill(fermato, 0), 0);
    }
    EXPECT_NE(fermato, 0) << "nessun lettore colto al lavoro";
}
