// brovinvio: sends the text of the workstation's mail file by e-mail, through
// the SMTP server of PostaElettronica.txt or, without that file, through the
// user's own mail client.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QMessageBox>

#include <curl/curl.h>
#include <xcb/xcb.h>

#include "Impostazioni.h"
#include "Messaggio.h"
#include "Smtp.h"
#include "common/Ambiente.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/forms/TraduzioneQt.h"
#include "common/piattaforma/AvviaProgramma.h"
#include "common/Contesto.h"

extern char** environ;

namespace {

const char* const Uso =
    "Uso: brovinvio\n"
    "\n"
    "Invia per posta elettronica il testo del file e-mail + PCLocal + .txt della\n"
    "cartella corrente (la prima riga, OGGETTO, non fa parte del testo).\n"
    "Con il file PostaElettronica.txt lo invia tramite il server SMTP indicato;\n"
    "senza, lo passa al programma di posta dell'utente (xdg-email).\n";

// xdg-email hands the text over inside a mailto address, in which every
// character but letters, digits and "@.-\/" takes three and a line end six;
// the address must fit one argument of a program (128 KiB) with room to spare.
constexpr std::size_t kMassimoTestoInMailto = 100 * 1024;

// True when the X display named by DISPLAY answers.
bool DisplayRaggiungibile() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    xcb_connection_t* connessione = xcb_connect(display, nullptr);
    const bool raggiunto = xcb_connection_has_error(connessione) == 0;
    xcb_disconnect(connessione);
    return raggiunto;
}

// True when the outcome also goes into a message box: the program that
// started the mailer does not show it itself, no terminal shows it, Qt draws
// on the screen (not off screen, as the tests run it) and the display answers.
bool FinestraVisibile() {
    if (std::getenv(VariabileEsitoMostrato) || isatty(STDERR_FILENO)) return false;
    const char* piattaforma = std::getenv("QT_QPA_PLATFORM");
    if (piattaforma && *piattaforma && std::string_view(piattaforma) != "xcb") return false;
    return DisplayRaggiungibile();
}

// The outcome told on stdout or stderr and, when a window can be seen, in a
// message box too. The line is written out before any window is tried.
void Avvisa(int argc, char* argv[], const std::string& testo, bool errore) {
    (errore ? std::cerr : std::cout) << "brovinvio: " << testo << std::endl;
    if (!FinestraVisibile()) return;
    // The display that answered, whatever platform Qt would pick by itself.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication applicazione(argc, argv);
    const TraduzioneQt traduzione;
    const QString messaggio = QString::fromStdString(testo);
    if (errore)
        QMessageBox::critical(nullptr, "Invio e-mail", messaggio);
    else
        QMessageBox::information(nullptr, "Invio e-mail", messaggio);
}

// Characters the text takes inside xdg-email's mailto address.
std::size_t LunghezzaInMailto(const std::string& testo) {
    std::size_t lunghezza = 0;
    for (const unsigned char c : testo) {
        const bool letterale = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                               std::string_view("@.-\\/").find(static_cast<char>(c)) != std::string_view::npos;
        lunghezza += c == '\n' ? 6 : letterale ? 1 : 3;
    }
    return lunghezza;
}

// A text too long for a mailto address goes as the attached file
// "tableau" + PCLocal + ".txt" (UTF-8, CR LF), written anew in the data folder;
// the mail's own text names it. Gives xdg-email's arguments for the text.
std::vector<std::string> TestoPerXdgEmail(const Contesto& contesto, const std::vector<std::string>& righe) {
    std::string testo;
    for (const auto& riga : righe) testo += riga + "\n";
    if (LunghezzaInMailto(testo) <= kMassimoTestoInMailto) return {"--body", testo};
    const std::string allegato = "tableau" + contesto.postazione + ".txt";
    FileSostitutivo file(contesto.cartella, allegato, "il tableau da allegare");
    for (const auto& riga : righe) file.ScriviRiga(riga);
    file.Completa();
    return {"--body", "Il tableau è nel file allegato " + allegato + ".\n", "--attach",
            std::filesystem::absolute(contesto.cartella.PercorsoDi(file.Nome())).string()};
}

// Hands the text to the desktop's mail client and waits for xdg-email to return.
void ApriProgrammaPosta(const Contesto& contesto, const std::vector<std::string>& righe) {
    std::vector<std::string> argomenti = {"xdg-email", "--utf8", "--subject", ImpostazioniPosta().oggetto};
    for (auto& argomento : TestoPerXdgEmail(contesto, righe)) argomenti.push_back(std::move(argomento));
    std::vector<char*> argv;
    for (auto& a : argomenti) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const std::string senzaImpostazioni = "Manca " + std::string(NomeFileImpostazioni) + " e ";
    if (const int errore = posix_spawnp(&pid, "xdg-email", nullptr, nullptr, argv.data(), environ); errore != 0)
        throw std::runtime_error(senzaImpostazioni + "non è possibile aprire il programma di posta: " +
                                 (errore == ENOENT ? "xdg-email non trovato (pacchetto xdg-utils)."
                                                   : "xdg-email non si avvia, " + DescrizioneErroreSistema(errore) +
                                                         "."));
    int stato = 0;
    if (waitpid(pid, &stato, 0) < 0 || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0)
        throw std::runtime_error("Il programma di posta non si è aperto (xdg-email non riuscito).");
}

// Sends the mail file of the workstation of PCLocal in the current folder,
// the data folder the mailer is started in.
std::string Invia() {
    const Contesto contesto{CartellaDati("."), PostazioneDellAmbiente()};
    const auto impostazioni = LeggiImpostazioni(contesto.cartella);
    const auto righe = LeggiFileMail(contesto);
    if (!impostazioni) {
        ApriProgrammaPosta(contesto, righe);
        return "Messaggio aperto nel programma di posta.";
    }
    InviaSmtp(*impostazioni, ComponiMessaggio(*impostazioni, righe));
    return "Messaggio inviato a " + ElencoDestinatari(*impostazioni) + ".";
}

}  // namespace

int main(int argc, char* argv[]) {
    PreparaCartellaRuntime();
    if (argc > 1) {
        const std::string argomento = argv[1];
        (argomento == "--help" || argomento == "-h" ? std::cout : std::cerr) << Uso;
        return argomento == "--help" || argomento == "-h" ? 0 : 2;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int esito = 0;
    try {
        Avvisa(argc, argv, Invia(), false);
    } catch (const std::exception& e) {
        Avvisa(argc, argv, TestoErrore(e), true);
        esito = 1;
    }
    curl_global_cleanup();
    return esito;
}
