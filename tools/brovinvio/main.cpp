// brovinvio: sends the text of the workstation's mail file by e-mail, with a
// file of the data folder attached when asked, through the SMTP server of
// PostaElettronica.txt or, without that file, through the user's own mail client.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>
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
    "Uso: brovinvio [--allega FILE]\n"
    "\n"
    "Invia per posta elettronica il testo del file e-mail + PCLocal + .txt della\n"
    "cartella corrente (la prima riga, OGGETTO, non fa parte del testo).\n"
    "Con il file PostaElettronica.txt lo invia tramite il server SMTP indicato;\n"
    "senza, lo passa al programma di posta dell'utente (xdg-email).\n"
    "  --allega FILE  allega il file indicato, dentro la cartella corrente\n"
    "                 (per esempio doc/quadro1202612071830.pdf)\n";

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
// message box too. The line is written out before any window is tried. Its
// first line is the outcome, "brovinvio: " before it; the lines after it, if
// any, are technical details (indented), which the box keeps behind "Mostra
// dettagli".
void Avvisa(int argc, char* argv[], const std::string& testo, bool errore) {
    (errore ? std::cerr : std::cout) << "brovinvio: " << testo << std::endl;
    if (!FinestraVisibile()) return;
    // The display that answered, whatever platform Qt would pick by itself.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication applicazione(argc, argv);
    const TraduzioneQt traduzione;
    const QString tutto = QString::fromStdString(testo);
    QMessageBox box(errore ? QMessageBox::Critical : QMessageBox::Information, "Invio e-mail",
                    tutto.section(QLatin1Char('\n'), 0, 0), QMessageBox::Ok);
    box.setDetailedText(tutto.section(QLatin1Char('\n'), 1));
    box.exec();
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

// xdg-email's own words are kept for the details, not shown as the outcome:
// where it falls back on a text-mode browser they fill a screen.
constexpr std::size_t kMassimoDettagli = 4096;

const char* const kSenzaPosta =
    "Manca PostaElettronica.txt e su questo computer non c'è un programma di posta: installarne uno (per "
    "esempio Thunderbird) oppure scrivere nella cartella dei dati il file PostaElettronica.txt con il server "
    "SMTP (vedere man brovinvio).";

// What a program wrote on stdout and stderr, and how it ended.
struct Uscita {
    int stato = -1;  // exit status; -1 when it did not end by itself
    std::string testo;
};

// Runs `argomenti` (the program looked up on PATH) with its output caught.
// Throws std::runtime_error with `nonAvviato` and the cause when it cannot be started.
Uscita EseguiCatturando(std::vector<std::string> argomenti, const std::string& nonAvviato) {
    std::vector<char*> argv;
    for (auto& a : argomenti) argv.push_back(a.data());
    argv.push_back(nullptr);
    int tubo[2];
    if (pipe2(tubo, O_CLOEXEC) != 0)
        throw std::runtime_error(nonAvviato + ": " + DescrizioneErroreSistema(errno) + ".");
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDERR_FILENO);
    pid_t pid = 0;
    const int errore = posix_spawnp(&pid, argv[0], &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    close(tubo[1]);
    if (errore != 0) {
        close(tubo[0]);
        throw std::runtime_error(nonAvviato + ": " +
                                 (errore == ENOENT ? std::string(argv[0]) + " non trovato (pacchetto xdg-utils)."
                                                   : DescrizioneErroreSistema(errore) + "."));
    }
    Uscita uscita;
    char blocco[4096];
    for (ssize_t letti; (letti = read(tubo[0], blocco, sizeof blocco)) != 0;) {
        if (letti < 0 && errno == EINTR) continue;
        if (letti < 0) break;
        uscita.testo.append(blocco, static_cast<std::size_t>(letti));
        if (uscita.testo.size() > 2 * kMassimoDettagli) uscita.testo.erase(0, uscita.testo.size() - kMassimoDettagli);
    }
    close(tubo[0]);
    int stato = 0;
    if (waitpid(pid, &stato, 0) == pid && WIFEXITED(stato)) uscita.stato = WEXITSTATUS(stato);
    return uscita;
}

// `testo` without terminal control sequences and carriage returns, its last
// kMassimoDettagli characters, every line indented: the details after the outcome.
std::string Dettagli(const std::string& testo) {
    static const std::regex controllo("\x1b(\\[[0-9;?]*[ -/]*[@-~]|[()][0-9A-Za-z]|[=>78])|\r");
    std::string pulito = std::regex_replace(testo, controllo, "");
    if (pulito.size() > kMassimoDettagli) pulito.erase(0, pulito.size() - kMassimoDettagli);
    std::string dettagli;
    std::istringstream righe(pulito);
    for (std::string riga; std::getline(righe, riga);)
        if (riga.find_first_not_of(" \t") != std::string::npos) dettagli += "\n  " + riga;
    return dettagli;
}

// True when the desktop has a program for mailto addresses. Without one
// xdg-email tries one text-mode browser after the other, for some twenty
// seconds, and fails. A desktop that cannot be asked is left to xdg-email.
bool ProgrammaPostaPresente() {
    try {
        const Uscita uscita =
            EseguiCatturando({"xdg-mime", "query", "default", "x-scheme-handler/mailto"}, "xdg-mime non si avvia");
        return uscita.stato != 0 || uscita.testo.find_first_not_of(" \t\n") != std::string::npos;
    } catch (const std::runtime_error&) {
        return true;
    }
}

// Hands the text, and the file `allegato` of the data folder when there is
// one, to the desktop's mail client and waits for xdg-email to return.
void ApriProgrammaPosta(const Contesto& contesto, const std::vector<std::string>& righe, const std::string& allegato) {
    if (!ProgrammaPostaPresente()) throw std::runtime_error(kSenzaPosta);
    std::vector<std::string> argomenti = {"xdg-email", "--utf8", "--subject", ImpostazioniPosta().oggetto};
    for (auto& argomento : TestoPerXdgEmail(contesto, righe)) argomenti.push_back(std::move(argomento));
    if (!allegato.empty()) {
        // Checked as for the SMTP server: in the data folder, no link on the way.
        LeggiAllegato(contesto.cartella, allegato);
        argomenti.push_back("--attach");
        argomenti.push_back(std::filesystem::absolute(contesto.cartella.PercorsoDi(allegato)).string());
    }
    const std::string senzaImpostazioni = "Manca " + std::string(NomeFileImpostazioni) + " e ";
    const Uscita uscita =
        EseguiCatturando(std::move(argomenti), senzaImpostazioni + "non è possibile aprire il programma di posta");
    if (uscita.stato != 0)
        throw std::runtime_error("Il programma di posta non si è aperto (xdg-email non riuscito): controllare il "
                                 "programma di posta predefinito, oppure scrivere PostaElettronica.txt (vedere man "
                                 "brovinvio)." + Dettagli(uscita.testo));
}

// Sends the mail file of the workstation of PCLocal in the current folder,
// the data folder the mailer is started in, with the file `allegato` of that
// folder attached ("" for none).
std::string Invia(const std::string& allegato) {
    const Contesto contesto{CartellaDati("."), PostazioneDellAmbiente()};
    const auto impostazioni = LeggiImpostazioni(contesto.cartella);
    const auto righe = LeggiFileMail(contesto);
    if (!impostazioni) {
        ApriProgrammaPosta(contesto, righe, allegato);
        return "Messaggio aperto nel programma di posta.";
    }
    const std::optional<Allegato> file =
        allegato.empty() ? std::nullopt : std::optional<Allegato>(LeggiAllegato(contesto.cartella, allegato));
    InviaSmtp(*impostazioni, ComponiMessaggio(*impostazioni, righe, file ? &*file : nullptr));
    return "Messaggio inviato a " + ElencoDestinatari(*impostazioni) + ".";
}

}  // namespace

int main(int argc, char* argv[]) {
    PreparaCartellaRuntime();
    std::string allegato;
    if (argc == 3 && std::string_view(argv[1]) == "--allega") {
        allegato = argv[2];
    } else if (argc > 1) {
        const std::string argomento = argv[1];
        const bool aiuto = argc == 2 && (argomento == "--help" || argomento == "-h");
        (aiuto ? std::cout : std::cerr) << Uso;
        return aiuto ? 0 : 2;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int esito = 0;
    try {
        Avvisa(argc, argv, Invia(allegato), false);
    } catch (const std::exception& e) {
        Avvisa(argc, argv, TestoErrore(e), true);
        esito = 1;
    }
    curl_global_cleanup();
    return esito;
}
