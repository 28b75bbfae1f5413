#include <gtest/gtest.h>

#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include "common/ArchivioSqlite.h"
#include "common/Codifica.h"
#include "common/ProcessoFiglio.h"
#include "common/qt/StampanteQt.h"
#include "print/MotoreStampa.h"
#include "print/StampaLaser.h"
#include "support/Supporto.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string Esegui(const std::string& programma, const std::vector<std::string>& argomenti) {
    const EsitoProgramma esito = EseguiProgramma(programma, argomenti, 30s, 1u << 24);
    EXPECT_EQ(esito.codice, 0) << programma;
    return esito.uscita;
}

int Pagine(const fs::path& pdf) {
    std::smatch trovato;
    const std::string info = Esegui("/usr/bin/pdfinfo", {pdf.string()});
    return std::regex_search(info, trovato, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(trovato[1]) : -1;
}

// A text with every run of blanks made one blank, without blanks at the ends.
std::string Compatta(const std::string& testo) {
    return std::regex_replace(std::regex_replace(testo, std::regex(" +"), " "), std::regex("^ | $"), "");
}

// A print system of the test's own: cupsd with its own configuration, socket,
// spool and logs, its programs those of the system except the one backend
// "cattura", which copies each job into the file <queue>-<job> of Lavori().
// The process's print calls go to it while it lives.
class CupsPrivato {
public:
    CupsPrivato() {
        const fs::path d = cartella_.Percorso();
        for (const char* sotto : {"conf", "spool/tmp", "cache", "state", "log", "bin/backend", "lavori"})
            fs::create_directories(d / sotto);
        fs::permissions(d / "lavori", fs::perms::all);
        for (const auto& voce : fs::directory_iterator("/usr/lib/cups"))
            if (voce.path().filename() != "backend") fs::create_symlink(voce.path(), d / "bin" / voce.path().filename());
        const fs::path backend = d / "bin/backend/cattura";
        std::ofstream(backend) << "#!/bin/sh\n"
                                  "[ $# -eq 0 ] && { echo 'file cattura \"Unknown\" \"Cattura\"'; exit 0; }\n"
                                  "lavoro=\"${DEVICE_URI#cattura:}/$PRINTER-$1\"\n"
                                  "if [ $# -ge 6 ]; then cat \"$6\"; else cat; fi > \"$lavoro.tmp\" && "
                                  "mv \"$lavoro.tmp\" \"$lavoro\"\n";
        fs::permissions(backend, fs::perms::owner_all);
        socket_ = (d / "cups.sock").string();
        std::ofstream(d / "conf/cupsd.conf") << "LogLevel info\nListen " << socket_
                                             << "\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                                "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                                                "<Policy default>\n <Limit All>\n  Order allow,deny\n  Allow all\n"
                                                " </Limit>\n</Policy>\n";
        std::ofstream file(d / "conf/cups-files.conf");
        file << "ServerRoot " << (d / "conf").string() << "\nServerBin " << (d / "bin").string()
             << "\nRequestRoot " << (d / "spool").string() << "\nTempDir " << (d / "spool/tmp").string()
             << "\nCacheDir " << (d / "cache").string() << "\nStateDir " << (d / "state").string()
             << "\nAccessLog " << (d / "log/access_log").string() << "\nErrorLog " << (d / "log/error_log").string()
             << "\nPageLog " << (d / "log/page_log").string() << "\nPrintcap " << (d / "printcap").string() << "\n";
        // Run by a user, cupsd runs its programs as that user.
        if (getuid() != 0)
            file << "User " << getpwuid(getuid())->pw_name << "\nGroup " << getgrgid(getgid())->gr_name << "\n";
        file.close();
        Avvia();
    }

    ~CupsPrivato() {
        cupsSetServer(nullptr);
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    // Empty when cupsd is running, else why it is not.
    const std::string& Problema() const { return problema_; }

    // A raw queue on the capture backend.
    void AggiungiCoda(const std::string& nome) {
        Esegui("/usr/sbin/lpadmin", {"-h", socket_, "-p", nome, "-E", "-v", "cattura:" + Lavori().string()});
    }

    fs::path Lavori() const { return cartella_.Percorso() / "lavori"; }

    // The job file of `coda` once the backend has written it.
    fs::path AttendiLavoro(const std::string& coda) const {
        for (auto limite = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < limite;) {
            for (const auto& voce : fs::directory_iterator(Lavori())) {
                const std::string nome = voce.path().filename().string();
                if (nome.starts_with(coda + "-") && !nome.ends_with(".tmp")) return voce.path();
            }
            std::this_thread::sleep_for(50ms);
        }
        return {};
    }

private:
    void Avvia() {
        const std::string eseguibile = "/usr/sbin/cupsd";
        if (!fs::exists(eseguibile)) {
            problema_ = "cupsd non installato";
            return;
        }
        const fs::path conf = cartella_.Percorso() / "conf";
        std::vector<std::string> argomenti = {eseguibile, "-f", "-c", (conf / "cupsd.conf").string(), "-s",
                                             (conf / "cups-files.conf").string()};
        std::vector<char*> argv;
        for (auto& a : argomenti) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, eseguibile.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = 0;
            problema_ = "cupsd non avviato";
            return;
        }
        for (int i = 0; i < 200 && !fs::exists(socket_); ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = 0;
                problema_ = "cupsd terminato all'avvio: " + LeggiFile(cartella_.Percorso() / "log/error_log");
                return;
            }
            std::this_thread::sleep_for(50ms);
        }
        if (!fs::exists(socket_)) problema_ = "cupsd non risponde sul socket " + socket_;
        cupsSetServer(socket_.c_str());
    }

    CartellaTemporanea cartella_;
    std::string socket_;
    pid_t pid_ = 0;
    std::string problema_;
};

// The demo data folder with the report of the demo week as FD1, its pages
// shortened to 40 lines so that none runs past the bottom of a sheet.
class CartellaDemo {
public:
    CartellaDemo() : cartella_(true), postazione_("PCLocal", "1") {
        cartella_.CopiaDa(CartellaDatiTest() / "demo");
        fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
        fs::remove("Contatori.mdb");
        using enum TipoCampo;
        ScriviTabellaSqlite("Contatori.mdb", {"Contatori",
                                              {{"NumeroHotel", Intero}, {"LungPagComp", Intero}, {"LungPagNoComp", Intero}},
                                              {{Valore::Intero(1), Valore::Intero(40), Valore::Intero(40)}}});
    }

private:
    CartellaTemporanea cartella_;
    VariabileAmbiente postazione_;
};

}  // namespace

TEST(StampanteQt, CaratteriDimensioniEPagine) {
    CartellaTemporanea cartella(true);
    StampanteQt stampante;
    stampante.StampaSuPdf("prova.pdf");
    stampante.ImpostaFontName("Courier New");
    EXPECT_EQ(stampante.FamigliaUsata(), "Liberation Mono");
    stampante.ImpostaFontName("Times New Roman");
    EXPECT_EQ(stampante.FamigliaUsata(), "Liberation Serif");
    stampante.ImpostaFontSize(0);
    EXPECT_GT(stampante.FontSize(), 0);
    stampante.ImpostaFontSize(10);
    stampante.ImpostaFontSize(stampante.FontSize() - 0.4);
    EXPECT_DOUBLE_EQ(stampante.FontSize(), 9.6);
    // 300 lines do not fit on one sheet: the text runs on over the next ones.
    for (int i = 0; i < 300; ++i) StampaLaser(stampante, "riga \xE7" "con\xE7 grassetto " + std::to_string(i));
    stampante.FineDocumento();
    EXPECT_GE(Pagine("prova.pdf"), 4);
    const std::string testo = Esegui("/usr/bin/pdftotext", {"prova.pdf", "-"});
    EXPECT_NE(testo.find("riga con grassetto 299"), std::string::npos);
}

// The demo week printed on a real print system: through the driver on one
// queue (Qt hands CUPS a PDF), as raw bytes on another.
TEST(StampaCups, SettimanaDemoSuDueCode) {
    CupsPrivato cups;
    if (!cups.Problema().empty()) GTEST_SKIP() << "CUPS non disponibile: " << cups.Problema();
    cups.AggiungiCoda("Laser");
    cups.AggiungiCoda("Aghi");
    CartellaDemo cartella;
    StampanteQt stampante;
    const auto installate = stampante.Stampanti();
    ASSERT_EQ(std::set<std::string>(installate.begin(), installate.end()), (std::set<std::string>{"Aghi", "Laser"}));

    SceltaStampa driver;
    driver.destinazione = "Reception PDF";
    driver.stampante = "Laser";
    driver.orizzontale = true;
    EXPECT_EQ(StampaReport(driver, 1, stampante).filePdf, "");
    SceltaStampa diretta;
    diretta.destinazione = "Ufficio";
    StampaReport(diretta, 1, stampante);
    const std::string attesi = LeggiFile("stampa_ufficio.prn");
    diretta.stampante = "Aghi";
    StampaReport(diretta, 1, stampante);

    const fs::path pdf = cups.AttendiLavoro("Laser");
    ASSERT_FALSE(pdf.empty()) << "nessun lavoro sulla coda Laser";
    // 86 lines, a heading blank, one line of top margin, 40 counted lines a page.
    EXPECT_EQ(Pagine(pdf), 3);
    const std::string testo = Compatta(Esegui("/usr/bin/pdftotext", {"-layout", pdf.string(), "-"}));
    std::ifstream report("FD1", std::ios::binary);
    int righeCercate = 0;
    for (std::string riga; std::getline(report, riga);) {
        riga.pop_back();  // CR
        if (riga.find('\xE7') != std::string::npos) continue;  // bold switches move the text
        const std::string attesa = Compatta(Cp1252ToUtf8(Converti2(riga)));
        EXPECT_NE(testo.find(attesa), std::string::npos) << attesa;
        ++righeCercate;
    }
    EXPECT_GT(righeCercate, 80);
    EXPECT_NE(testo.find("| Luned\xC3\xAC 07/12 |"), std::string::npos);

    const fs::path grezzo = cups.AttendiLavoro("Aghi");
    ASSERT_FALSE(grezzo.empty()) << "nessun lavoro sulla coda Aghi";
    EXPECT_EQ(LeggiFile(grezzo), attesi);
    EXPECT_TRUE(attesi.starts_with(std::string("\x1B\x12\0\0\0", 5) + " \r\n \r\n     | Luned\xEC 07/12")) << attesi.substr(0, 40);
}
