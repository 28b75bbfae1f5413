#include <gtest/gtest.h>

#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "archivio/ProcessoFiglio.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "common/piattaforma/qt/StampanteQt.h"
#include "print/MotoreStampa.h"
#include "print/StampaLaser.h"
#include "support/Csv.h"
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

// A text with every run of blanks made one blank, none at the ends.
std::string Compatta(const std::string& testo) { return Taglia(std::regex_replace(testo, std::regex(" +"), " ")); }

// A print system of the test's own: cupsd with the configuration, socket,
// spool and logs of tests/data/cups in a temporary folder, the system's
// programs except its one backend "cattura", which copies each job into the
// file <queue>-<job> of Lavori(). The process's print calls go to it.
class CupsPrivato {
public:
    CupsPrivato() {
        const fs::path d = cartella_.Percorso();
        for (const char* sotto : {"conf", "spool/tmp", "cache", "state", "log", "bin/backend", "lavori"})
            fs::create_directories(d / sotto);
        fs::permissions(d / "lavori", fs::perms::all);
        for (const auto& voce : fs::directory_iterator("/usr/lib/cups"))
            if (voce.path().filename() != "backend")
                fs::create_symlink(voce.path(), d / "bin" / voce.path().filename());
        // Owner-only, the backend runs as the user cupsd runs as.
        fs::copy_file(CartellaDatiTest() / "cups/cattura", d / "bin/backend/cattura");
        fs::permissions(d / "bin/backend/cattura", fs::perms::owner_all);
        for (const char* nome : {"cupsd.conf", "cups-files.conf"})
            std::ofstream(d / "conf" / nome) << std::regex_replace(LeggiFile(CartellaDatiTest() / "cups" / nome),
                                                                   std::regex("@CARTELLA@"), d.string());
        if (getuid() != 0)  // root's cupsd runs its programs as lp; any other user's as that user
            std::ofstream(d / "conf/cups-files.conf", std::ios::app)
                << "User " << getpwuid(getuid())->pw_name << "\nGroup " << getgrgid(getgid())->gr_name << "\n";
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

    // A raw queue on the capture backend; a queue not accepting jobs unless `attiva`.
    void AggiungiCoda(const std::string& nome, bool attiva = true) {
        std::vector<std::string> argomenti = {"-h", Socket(), "-p", nome, "-v", "cattura:" + Lavori().string()};
        if (attiva) argomenti.push_back("-E");
        Esegui("/usr/sbin/lpadmin", argomenti);
    }

    // Makes `nome` the print system's default queue.
    void Predefinita(const std::string& nome) { Esegui("/usr/sbin/lpadmin", {"-h", Socket(), "-d", nome}); }

    // The number of jobs of `coda` once `quanti` have arrived, or after a minute without.
    std::size_t AttendiLavori(const std::string& coda, std::size_t quanti) const {
        std::size_t arrivati = 0;
        for (int i = 0; i < 1200 && arrivati < quanti; ++i, std::this_thread::sleep_for(50ms)) {
            arrivati = 0;
            for (const auto& voce : fs::directory_iterator(Lavori())) {
                const fs::path& file = voce.path();
                arrivati += file.filename().string().starts_with(coda + "-") && file.extension() != ".tmp";
            }
        }
        return arrivati;
    }

    // The job file of `coda` once the backend has written it; empty after a minute without.
    fs::path AttendiLavoro(const std::string& coda) const {
        for (int i = 0; i < 1200; ++i, std::this_thread::sleep_for(50ms))
            for (const auto& voce : fs::directory_iterator(Lavori()))
                if (voce.path().filename().string().starts_with(coda + "-") && voce.path().extension() != ".tmp")
                    return voce.path();
        return {};
    }

private:
    fs::path Lavori() const { return cartella_.Percorso() / "lavori"; }
    std::string Socket() const { return (cartella_.Percorso() / "cups.sock").string(); }

    void Avvia() {
        const fs::path conf = cartella_.Percorso() / "conf";
        std::vector<std::string> argomenti = {"/usr/sbin/cupsd", "-f", "-c", (conf / "cupsd.conf").string(), "-s",
                                             (conf / "cups-files.conf").string()};
        std::vector<char*> argv;
        for (auto& a : argomenti) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = 0;
            problema_ = "cupsd non avviabile";
            return;
        }
        for (int i = 0; i < 200 && !fs::exists(Socket()); ++i, std::this_thread::sleep_for(50ms)) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = 0;
                problema_ = "cupsd terminato all'avvio: " + LeggiFile(cartella_.Percorso() / "log/error_log");
                return;
            }
        }
        if (!fs::exists(Socket())) problema_ = "cupsd non risponde sul socket " + Socket();
        cupsSetServer(Socket().c_str());
    }

    CartellaTemporanea cartella_;
    pid_t pid_ = 0;
    std::string problema_;
};

}  // namespace

TEST(StampanteQt, CaratteriDimensioniEPagine) {
    CartellaTemporanea cartella(true);
    StampanteQt stampante;
    stampante.StampaInPdf();
    for (const auto& [windows, sostituto] : {std::pair{"Courier New", "Liberation Mono"},
                                             std::pair{"Times New Roman", "Liberation Serif"}}) {
        stampante.ImpostaFontName(windows);
        EXPECT_EQ(stampante.FamigliaUsata(), sostituto);
    }
    // A size of 0 or less draws at the least size there is.
    EXPECT_GT(stampante.AltezzaRiga({"Courier New", 0}), 0);
    // 300 lines do not fit on one sheet: the text runs on over the next ones.
    for (int i = 0; i < 300; ++i) StampaLaser(stampante, "riga \xE7" "con\xE7 grassetto " + std::to_string(i), {9.6, 9.2});
    stampante.FineDocumento();
    ScriviFile("prova.pdf", stampante.PrendiPdf());
    EXPECT_GE(Pagine("prova.pdf"), 4);
    EXPECT_NE(Esegui("/usr/bin/pdftotext", {"prova.pdf", "-"}).find("riga con grassetto 299"), std::string::npos);
}

// The demo week into a PDF through the driver by the "stampa" command
// (Courier New 10, 8 compressed, on A4): two pages each time, every line
// whole with its Sunday, the heading with the tableau and week given on both.
TEST(StampanteQt, SettimanaDemoInPdfIntera) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
    std::vector<std::string> attese;
    std::ifstream report("FD1", std::ios::binary);
    for (std::string riga; std::getline(report, riga);) {
        riga.pop_back();  // CR
        attese.push_back(Compatta(Cp1252ToUtf8(Converti2(riga))));
    }
    struct Caso {
        const char* pdf;
        bool compressa, orizzontale;
    } casi[] = {{"ritratto.pdf", false, false}, {"compressa.pdf", true, false}, {"orizzontale.pdf", false, true}};
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.pdf);
        std::vector<std::string> comando = {"stampa", "--hotel=1", "--destinazione=Reception PDF", "--tableau=1",
                                            "--data=07/12/2026", std::string("--pdf=") + caso.pdf};
        if (caso.compressa) comando.push_back("--compressa");
        if (caso.orizzontale) comando.push_back("--orizzontale");
        std::ostringstream out, err;
        EXPECT_EQ(EseguiComando(comando, OpzioniAvvio{}, out, err, [] { return std::make_unique<StampanteQt>(); }), 0)
            << err.str();
        EXPECT_EQ(Pagine(caso.pdf), 2);
        const std::string testo = Compatta(Esegui("/usr/bin/pdftotext", {"-layout", caso.pdf, "-"}));
        for (const std::string& attesa : attese) EXPECT_NE(testo.find(attesa), std::string::npos) << attesa;
        for (const char* pagina : {"pagina 1 di 2", "pagina 2 di 2"}) EXPECT_NE(testo.find(pagina), std::string::npos);
        EXPECT_NE(testo.find("Hotel : Hotel Bellavista S.r.l. Tableau : Corpo principale Settimana : 07/12/2026 "
                             "\xE2\x80\x93 13/12/2026"),
                  std::string::npos);
    }
}

// The demo week printed on a real print system: through the driver on one
// queue (Qt hands CUPS a PDF), as raw bytes on another.
TEST(StampaCups, SettimanaDemoSuDueCode) {
    CupsPrivato cups;
    if (!cups.Problema().empty()) GTEST_SKIP() << "CUPS non disponibile: " << cups.Problema();
    cups.AggiungiCoda("Laser");
    cups.AggiungiCoda("Aghi");
    cups.AggiungiCoda("Ferma", false);
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    // Pages of 40 lines, short enough for a landscape sheet.
    PreparaStampaDemo(cartella, {{1, 40}});
    StampanteQt stampante;
    const auto installate = stampante.Stampanti();
    ASSERT_EQ(std::set<std::string>(installate.begin(), installate.end()), (std::set<std::string>{"Aghi", "Ferma", "Laser"}));

    SceltaStampa driver;
    driver.orizzontale = true;
    driver.destinazione = "Reception PDF";
    driver.stampante = "Laser";
    EXPECT_EQ(StampaReport(ContestoCorrente(), driver, 1, stampante).filePdf, "");
    SceltaStampa diretta;
    diretta.destinazione = "Ufficio";
    StampaReport(ContestoCorrente(), diretta, 1, stampante);
    const std::string attesi = LeggiFile("stampa_ufficio.prn");
    diretta.stampante = "Aghi";
    StampaReport(ContestoCorrente(), diretta, 1, stampante);
    diretta.stampante = "Ferma";
    try {
        StampaReport(ContestoCorrente(), diretta, 1, stampante);
        ADD_FAILURE() << "stampa su una coda che non accetta lavori";
    } catch (const Errore& e) {
        EXPECT_EQ(e.Numero(), NumeroErrore::ErroreStampante);
        EXPECT_NE(e.Descrizione().find("la stampante non accetta lavori"), std::string::npos) << e.Descrizione();
    }

    const fs::path pdf = cups.AttendiLavoro("Laser");
    ASSERT_FALSE(pdf.empty()) << "nessun lavoro sulla coda Laser";
    // 86 lines, each page a heading blank, one line of top margin and 39 report lines.
    EXPECT_EQ(Pagine(pdf), 3);
    const std::string testo = Compatta(Esegui("/usr/bin/pdftotext", {"-layout", pdf.string(), "-"}));
    std::ifstream report("FD1", std::ios::binary);
    int righeTrovate = 0;
    for (std::string riga; std::getline(report, riga);) {
        riga.pop_back();                                        // CR
        if (riga.find('\xE7') != std::string::npos) continue;  // bold switches move the text
        const std::string attesa = Compatta(Cp1252ToUtf8(Converti2(riga)));
        EXPECT_NE(testo.find(attesa), std::string::npos) << attesa;
        ++righeTrovate;
    }
    EXPECT_GT(righeTrovate, 80);
    EXPECT_NE(testo.find("| Luned\xC3\xAC 07/12 |"), std::string::npos);

    const fs::path grezzo = cups.AttendiLavoro("Aghi");
    ASSERT_FALSE(grezzo.empty()) << "nessun lavoro sulla coda Aghi";
    EXPECT_EQ(LeggiFile(grezzo), attesi);
    EXPECT_TRUE(attesi.starts_with(std::string("\x1B\x12\0\0\0 \r\n \r\n     | Luned\xEC", 19)));
}

// A PDF is made in memory and handed over whole: the printer writes no file
// of its own anywhere (another user of the folder could put a link in its
// place), and a PDF is taken once.
TEST(StampanteQt, PdfFattoInMemoriaETolto) {
    CartellaTemporanea cartella(true);
    StampanteQt stampante;
    stampante.StampaInPdf();
    for (int i = 0; i < 3000; ++i) stampante.Stampa("riga " + std::to_string(i), true);
    stampante.FineDocumento();
    const std::string pdf = stampante.PrendiPdf();
    EXPECT_TRUE(pdf.starts_with("%PDF-")) << pdf.substr(0, 16);
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 32), std::string::npos);
    EXPECT_TRUE(fs::is_empty(cartella.Percorso()));
    EXPECT_EQ(NumeroErroreDi([&] { stampante.PrendiPdf(); }), NumeroErrore::FileNonScrivibile);
}

// A PDF printed in between does not stay on the shared printer object: the
// prints through the driver before and after it, on the default queue or on a
// printer chosen by name, reach the queue. A queue the server lacks is an
// error, never a file.
TEST(StampaCups, DopoIlPdfLaStampaTornaSullaCoda) {
    CupsPrivato cups;
    if (!cups.Problema().empty()) GTEST_SKIP() << "CUPS non disponibile: " << cups.Problema();
    cups.AggiungiCoda("Laser");
    cups.Predefinita("Laser");
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
    StampanteQt stampante;
    SceltaStampa predefinita;
    predefinita.destinazione = "Reception PDF";  // its printer is not installed here: the default one prints
    SceltaStampa pdf = predefinita;
    pdf.comePdf = true;
    SceltaStampa laser = predefinita;
    laser.stampante = "Laser";

    EXPECT_EQ(StampaReport(ContestoCorrente(), predefinita, 1, stampante).filePdf, "");
    EXPECT_TRUE(LeggiFile(StampaReport(ContestoCorrente(), pdf, 1, stampante).filePdf).starts_with("%PDF-"));
    EXPECT_EQ(StampaReport(ContestoCorrente(), predefinita, 1, stampante).filePdf, "");
    StampaReport(ContestoCorrente(), pdf, 1, stampante);
    EXPECT_EQ(StampaReport(ContestoCorrente(), laser, 1, stampante).filePdf, "");
    EXPECT_EQ(cups.AttendiLavori("Laser", 3), 3u);

    SceltaStampa diretta;
    diretta.destinazione = "Ufficio";
    diretta.stampante = "Laser_Ufficio";
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), diretta, 1, stampante); }), NumeroErrore::ErroreStampante);
    EXPECT_FALSE(fs::exists("Laser_Ufficio"));
}
