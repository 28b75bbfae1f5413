#include "archivio/ProcessoFiglio.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <system_error>
#include <utility>

#include "common/CartellaDati.h"

extern char** environ;

namespace {

using Orologio = std::chrono::steady_clock;

[[noreturn]] void ErroreSistema(int codice, const char* operazione) {
    throw std::system_error(codice, std::generic_category(), operazione);
}

// Where the child's standard streams go: input and error to /dev/null, output
// to the file given; the file `ereditato`, when given, becomes its descriptor
// 3. dup2 leaves the copy without close-on-exec, while every other descriptor
// of ours keeps it and so stays out of the child.
class AzioniAvvio {
public:
    AzioniAvvio(int uscita, int ereditato) {
        posix_spawn_file_actions_init(&azioni_);
        posix_spawn_file_actions_addopen(&azioni_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&azioni_, uscita, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&azioni_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (ereditato >= 0) posix_spawn_file_actions_adddup2(&azioni_, ereditato, kDescrittoreEreditato);
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
    Figlio(const std::string& programma, const std::vector<std::string>& argomenti, int uscita, int ereditato) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(programma.c_str()));
        for (const auto& argomento : argomenti) argv.push_back(const_cast<char*>(argomento.c_str()));
        argv.push_back(nullptr);
        const AzioniAvvio azioni(uscita, ereditato);
        const AttributiAvvio attributi;
        const int errore = posix_spawn(&pid_, programma.c_str(), azioni.Get(), attributi.Get(),
                                       argv.data(), environ);
        if (errore != 0) ErroreSistema(errore, "posix_spawn");
        fine_ = Descrittore(static_cast<int>(syscall(SYS_pidfd_open, pid_, 0)));
        if (!fine_) {
            const int codice = errno;
            Uccidi();
            ErroreSistema(codice, "pidfd_open");
        }
    }
    ~Figlio() {
        if (pid_ > 0) Uccidi();
    }
    Figlio(const Figlio&) = delete;
    Figlio& operator=(const Figlio&) = delete;

    // Readable once the child has ended.
    int Fine() const { return fine_.Fd(); }

    // Kills the child and waits for it.
    void Uccidi() {
        kill(pid_, SIGKILL);
        Raccogli();
    }

    // Waits for the child, which has ended or been killed: its wait status.
    int Raccogli() {
        int stato = 0;
        while (waitpid(pid_, &stato, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return stato;
    }

private:
    pid_t pid_ = -1;
    Descrittore fine_;
};

// Moves what the pipe `tubo` holds now into the file `file`, until `limite`
// bytes have been moved in all (`spostati`), without copying them through
// this program. False once the pipe's other end is closed and it is empty.
bool Travasa(int tubo, int file, std::size_t& spostati, std::size_t limite) {
    while (spostati < limite) {
        const ssize_t n = splice(tubo, nullptr, file, nullptr, limite - spostati, SPLICE_F_NONBLOCK);
        if (n > 0) {
            spostati += static_cast<std::size_t>(n);
        } else if (n == 0) {
            return false;
        } else if (errno == EAGAIN) {
            return true;
        } else if (errno != EINTR) {
            ErroreSistema(errno, "splice");
        }
    }
    return true;
}

bool Leggibile(int fd) {
    pollfd attesa{fd, POLLIN, 0};
    return poll(&attesa, 1, 0) == 1;
}

// A pipe of this size takes a large table's output in a few wake-ups; the
// system may give less.
constexpr int kDimensioneTubo = 1 << 20;

}  // namespace

EsitoProgramma EseguiProgramma(const std::string& programma,
                               const std::vector<std::string>& argomenti,
                               std::chrono::milliseconds limite, std::size_t massimaUscita, int ereditato,
                               int arresto) {
    using Fine = EsitoProgramma::Fine;
    EsitoProgramma esito;
    if (arresto >= 0 && Leggibile(arresto)) {
        esito.fine = Fine::Arrestato;
        return esito;
    }
    const auto scadenza = Orologio::now() + limite;
    // The child writes into a pipe, whose contents are moved into a file in
    // memory as they come, counted, and mapped once it has ended: its output
    // is neither copied through this program nor grown.
    Descrittore uscita(memfd_create("brovato5-uscita", MFD_CLOEXEC));
    if (!uscita) ErroreSistema(errno, "memfd_create");
    int estremi[2];
    if (pipe2(estremi, O_CLOEXEC) != 0) ErroreSistema(errno, "pipe2");
    const Descrittore tubo(estremi[0]);
    Descrittore scrittura(estremi[1]);
    // This end only: the child's writes wait for room in the pipe.
    if (fcntl(tubo.Fd(), F_SETFL, O_NONBLOCK) != 0) ErroreSistema(errno, "fcntl");
    fcntl(tubo.Fd(), F_SETPIPE_SZ, kDimensioneTubo);
    Figlio figlio(programma, argomenti, scrittura.Fd(), ereditato);
    scrittura.Chiudi();

    // Woken when the child ends, writes, is asked to stop, or at the time limit.
    const std::size_t oltre = massimaUscita + 1;
    std::size_t scritti = 0;
    bool aperto = true;
    std::optional<int> stato;
    while (!stato) {
        const auto resto = std::chrono::ceil<std::chrono::milliseconds>(scadenza - Orologio::now());
        if (resto.count() <= 0) {
            esito.fine = Fine::TempoScaduto;
            break;
        }
        pollfd attese[] = {{figlio.Fine(), POLLIN, 0}, {aperto ? tubo.Fd() : -1, POLLIN, 0}, {arresto, POLLIN, 0}};
        const int pronti = poll(attese, 3, static_cast<int>(std::min<std::int64_t>(resto.count(), 1 << 30)));
        if (pronti < 0 && errno != EINTR) ErroreSistema(errno, "poll");
        if (pronti <= 0) continue;
        // Once the child has ended all it wrote is in the pipe.
        if (attese[1].revents || attese[0].revents) aperto = Travasa(tubo.Fd(), uscita.Fd(), scritti, oltre);
        if (scritti > massimaUscita) {
            esito.fine = Fine::UscitaEccessiva;
            return esito;
        }
        if (attese[0].revents) {
            stato = figlio.Raccogli();
        } else if (attese[2].revents) {
            esito.fine = Fine::Arrestato;
            return esito;
        }
    }
    esito.uscita = UscitaProgramma(uscita.Fd(), scritti);
    if (!stato) return esito;
    if (WIFEXITED(*stato)) {
        esito.fine = Fine::Uscito;
        esito.codice = WEXITSTATUS(*stato);
    } else {
        esito.fine = Fine::Terminato;
        esito.codice = WIFSIGNALED(*stato) ? WTERMSIG(*stato) : 0;
    }
    return esito;
}

UscitaProgramma::UscitaProgramma(int fd, std::size_t dimensione) {
    if (dimensione == 0) return;
    void* mappa = mmap(nullptr, dimensione, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
    if (mappa == MAP_FAILED) ErroreSistema(errno, "mmap");
    inizio_ = static_cast<const char*>(mappa);
    dimensione_ = dimensione;
}

UscitaProgramma::~UscitaProgramma() {
    if (inizio_) munmap(const_cast<char*>(inizio_), dimensione_);
}

UscitaProgramma::UscitaProgramma(UscitaProgramma&& altra) noexcept
    : inizio_(std::exchange(altra.inizio_, nullptr)), dimensione_(std::exchange(altra.dimensione_, 0)) {}

UscitaProgramma& UscitaProgramma::operator=(UscitaProgramma&& altra) noexcept {
    std::swap(inizio_, altra.inizio_);
    std::swap(dimensione_, altra.dimensione_);
    return *this;
}
