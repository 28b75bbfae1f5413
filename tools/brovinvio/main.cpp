// brovinvio: sends the text of the workstation's mail file by e-mail, through
// the SMTP server of PostaElettronica.txt or, without that file, through the
// user's own mail client.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QMessageBox>

#include <curl/curl.h>

#include "Impostazioni.h"
#include "Messaggio.h"
#include "Smtp.h"
#include "common/Ambiente.h"

extern char** environ;

namespace {

const char* const Uso =
    "Uso: brovinvio\n"
    "\n"
    "Invia per posta elettronica il testo del file e-mail + PCLocal + .txt della\n"
    "cartella corrente (la prima riga, OGGETTO, non fa parte del testo).\n"
    "Con il file PostaElettronica.txt lo invia tramite il server SMTP indicato;\n"
    "senza, lo passa al programma di posta dell'utente (xdg-email).\n";

// True when a window can be seen: a display, and no Qt platform that draws
// off screen (as the program's tests run it).
bool SchermoVisibile() {
    const char* piattaforma = std::getenv("QT_QPA_PLATFORM");
    const bool invisibile = piattaforma && (std::string_view(piattaforma) == "offscreen" ||
                                            std::string_view(piattaforma) == "minimal");
    return (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) && !invisibile;
}

// The outcome told on stdout or stderr and, when the mailer runs on a desktop
// without a terminal (started by the program's preview), in a message box too.
void Avvisa(int argc, char* argv[], const std::string& testo, bool errore) {
    (errore ? std::cerr : std::cout) << "brovinvio: " << testo << "\n";
    if (!SchermoVisibile() || isatty(STDERR_FILENO)) return;
    QApplication applicazione(argc, argv);
    const QString messaggio = QString::fromStdString(testo);
    if (errore)
        QMessageBox::critical(nullptr, "Invio e-mail", messaggio);
    else
        QMessageBox::information(nullptr, "Invio e-mail", messaggio);
}

// Hands the text to the desktop's mail client and waits for xdg-email to return.
void ApriProgrammaPosta(const std::vector<std::string>& righe) {
    std::string testo;
    for (const auto& riga : righe) testo += riga + "\n";
    std::vector<std::string> argomenti = {"xdg-email", "--utf8", "--subject", ImpostazioniPosta().oggetto,
                                          "--body", testo};
    std::vector<char*> argv;
    for (auto& a : argomenti) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-email", nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("Manca " + std::string(NomeFileImpostazioni) +
                                 " e non è possibile aprire il programma di posta (xdg-email non trovato).");
    int stato = 0;
    if (waitpid(pid, &stato, 0) < 0 || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0)
        throw std::runtime_error("Il programma di posta non si è aperto (xdg-email non riuscito).");
}

std::string Invia() {
    const auto impostazioni = LeggiImpostazioni();
    const auto righe = LeggiFileMail();
    if (!impostazioni) {
        ApriProgrammaPosta(righe);
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
        Avvisa(argc, argv, e.what(), true);
        esito = 1;
    }
    curl_global_cleanup();
    return esito;
}
