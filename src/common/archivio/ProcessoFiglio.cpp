#include "common/archivio/ProcessoFiglio.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <thread>

extern char** environ;

namespace {

using Orologio = std::chrono::steady_clock;

[[noreturn]] void ErroreSistema(int codice, const char* operazione) {
    throw std::system_error(codice, std::generic_category(), operazione);
}

// A file descriptor closed when it goes out of scope.
class Descrittore {
public:
    explicit Descrittore(int fd) : fd_(fd) {}
    ~Descrittore() { Chiudi(); }
    Descrittore(const Descrittore&) = delete;
    Descrittore& operator=(const Descrittore&) = delete;

    int Fd() const { return fd_; }
    void Chiudi() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Where the child's standard streams go: input and error to /dev/null, output
// to the pipe's write end. dup2 leaves the copy without close-on-exec, while
// every other descriptor of ours keeps it and so stays out of the child.
class AzioniAvvio {
public:
    explicit AzioniAvvio(int uscita) {
        posix_spawn_file_actions_init(&azioni_);
        posix_spawn_file_actions_addopen(&azioni_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&azioni_, uscita, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&azioni_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    ~AzioniAvvio() { posix_spawn_file_actions_destroy(&azioni_); }
    AzioniAvvio(const AzioniAvvio&) = delete;
    AzioniAvvio& operator=(const AzioniAvvio&) = delete;
    const posix_spawn_file_actions_t* Get() const { return &azioni_; }

private:
    posix_spawn_file_actions_t azioni_;
};

// The child starts with no signal blocked and every signal at its default
// action, whatever this process (and its GUI toolkit) has set.
class AttributiAvvio {
public:
    AttributiAvvio() {
        posix_spawnattr_init(&attributi_);
        sigset_t insieme;
        sigemptyset(&insieme);
        posix_spawnattr_setsigmask(&attributi_, &insieme);
        sigfillset(&insieme);
        posix_spawnattr_setsigdefault(&attributi_, &insieme);
        posix_spawnattr_setflags(&attributi_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~AttributiAvvio() { posix_spawnattr_destroy(&attributi_); }
    AttributiAvvio(const AttributiAvvio&) = delete;
    AttributiAvvio& operator=(const AttributiAvvio&) = delete;
    const posix_spawnattr_t* Get() const { return &attributi_; }

private:
    posix_spawnattr_t attributi_;
};

// A started child. Until it has been waited for, leaving the scope (an
// exception included) kills it and reaps it: no child is left behind.
class Figlio {
public:
    Figlio(const std::string& programma, const std::vector<std::string>& argomenti, int uscita) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(programma.c_str()));
        for (const auto& argomento : argomenti) argv.push_back(const_cast<char*>(argomento.c_str()));
        argv.push_back(nullptr);
        const AzioniAvvio azioni(uscita);
        const AttributiAvvio attributi;
        const int errore = posix_spawn(&pid_, programma.c_str(), azioni.Get(), attributi.Get(),
                                       argv.data(), environ);
        if (errore != 0) ErroreSistema(errore, "posix_spawn");
    }
    ~Figlio() {
        if (pid_ > 0) Uccidi();
    }
    Figlio(const Figlio&) = delete;
    Figlio& operator=(const Figlio&) = delete;

    // Kills the child and waits for it.
    void Uccidi() {
        kill(pid_, SIGKILL);
        int stato = 0;
        while (waitpid(pid_, &stato, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }

    // Waits until the child has ended, at the latest until `scadenza`; gives
    // its wait status, or nothing when it was still running (it is then killed).
    std::optional<int> Attendi(Orologio::time_point scadenza) {
        int stato = 0;
        for (;;) {
            const pid_t risultato = waitpid(pid_, &stato, WNOHANG);
            if (risultato == pid_) {
                pid_ = -1;
                return stato;
            }
            if (risultato < 0 && errno != EINTR) ErroreSistema(errno, "waitpid");
            if (Orologio::now() >= scadenza) {
                Uccidi();
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

private:
    pid_t pid_ = -1;
};

enum class Raccolta { Completa, TempoScaduto, Eccessiva };

// Reads the pipe to its end (the child closed its output), within the time
// limit and the size limit.
Raccolta RaccogliUscita(int fd, Orologio::time_point scadenza, std::size_t massima,
                        std::string& uscita) {
    char blocco[65536];
    for (;;) {
        const auto resto = std::chrono::ceil<std::chrono::milliseconds>(scadenza - Orologio::now());
        if (resto.count() <= 0) return Raccolta::TempoScaduto;
        pollfd attesa{fd, POLLIN, 0};
        const int pronti = poll(&attesa, 1, static_cast<int>(resto.count()));
        if (pronti < 0) {
            if (errno == EINTR) continue;
            ErroreSistema(errno, "poll");
        }
        if (pronti == 0) return Raccolta::TempoScaduto;
        const ssize_t letti = read(fd, blocco, sizeof blocco);
        if (letti < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            ErroreSistema(errno, "read");
        }
        if (letti == 0) return Raccolta::Completa;
        if (uscita.size() + static_cast<std::size_t>(letti) > massima) return Raccolta::Eccessiva;
        uscita.append(blocco, static_cast<std::size_t>(letti));
    }
}

}  // namespace

EsitoProgramma EseguiProgramma(const std::string& programma,
                               const std::vector<std::string>& argomenti,
                               std::chrono::milliseconds limite, std::size_t massimaUscita) {
    const auto scadenza = Orologio::now() + limite;
    int tubo[2];
    if (pipe2(tubo, O_CLOEXEC) != 0) ErroreSistema(errno, "pipe2");
    Descrittore lettura(tubo[0]);
    Descrittore scrittura(tubo[1]);
    Figlio figlio(programma, argomenti, scrittura.Fd());
    // Only the child holds the write end now: its exit ends the reading.
    scrittura.Chiudi();

    EsitoProgramma esito;
    switch (RaccogliUscita(lettura.Fd(), scadenza, massimaUscita, esito.uscita)) {
        case Raccolta::TempoScaduto:
            figlio.Uccidi();
            esito.fine = EsitoProgramma::Fine::TempoScaduto;
            return esito;
        case Raccolta::Eccessiva:
            figlio.Uccidi();
            esito.fine = EsitoProgramma::Fine::UscitaEccessiva;
            return esito;
        case Raccolta::Completa:
            break;
    }
    // A child may close its output and still hang: the limit holds here too.
    const auto stato = figlio.Attendi(scadenza);
    if (!stato) {
        esito.fine = EsitoProgramma::Fine::TempoScaduto;
    } else if (WIFEXITED(*stato)) {
        esito.fine = EsitoProgramma::Fine::Uscito;
        esito.codice = WEXITSTATUS(*stato);
    } else {
        esito.fine = EsitoProgramma::Fine::Terminato;
        esito.codice = WIFSIGNALED(*stato) ? WTERMSIG(*stato) : 0;
    }
    return esito;
}
