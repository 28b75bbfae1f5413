#include "archivio/ProcessoFiglio.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

    // Waits until the child has ended, at the latest until `scadenza`, while
    // `entro` holds (it is asked about every millisecond); gives its wait
    // status, or nothing when it was stopped (it is then killed).
    template <typename Condizione>
    std::optional<int> Attendi(Orologio::time_point scadenza, Condizione entro) {
        // Woken as soon as the child ends where the system gives a descriptor for it.
        const Descrittore fine(static_cast<int>(syscall(SYS_pidfd_open, pid_, 0)));
        pollfd attesa{fine.Fd(), POLLIN, 0};
        for (;;) {
            int stato = 0;
            const pid_t risultato = waitpid(pid_, &stato, WNOHANG);
            if (risultato == pid_) {
                pid_ = -1;
                return stato;
            }
            if (risultato < 0 && errno != EINTR) ErroreSistema(errno, "waitpid");
            if (Orologio::now() >= scadenza || !entro()) {
                Uccidi();
                return std::nullopt;
            }
            poll(&attesa, fine.Fd() >= 0 ? 1 : 0, 1);
        }
    }

    // Keeps the files the child writes within `byte`: a write past them fails
    // and ends it (SIGXFSZ). Not binding on a child that started writing at
    // once, which is why the size is watched too.
    void LimitaFile(std::size_t byte) const {
        const rlimit limite{static_cast<rlim_t>(byte), static_cast<rlim_t>(byte)};
        prlimit(pid_, RLIMIT_FSIZE, &limite, nullptr);
    }

private:
    pid_t pid_ = -1;
};

// The size of the file open at `fd`.
std::size_t Dimensione(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0) ErroreSistema(errno, "fstat");
    return static_cast<std::size_t>(info.st_size);
}

// Stops the file open at `fd` from shrinking: a program the child started
// may still hold it, and a mapping past the end of a file is a crash.
void ImpedisciAccorciamento(int fd) {
    if (fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK) != 0) ErroreSistema(errno, "fcntl");
}

}  // namespace

EsitoProgramma EseguiProgramma(const std::string& programma,
                               const std::vector<std::string>& argomenti,
                               std::chrono::milliseconds limite, std::size_t massimaUscita, int ereditato) {
    const auto scadenza = Orologio::now() + limite;
    // The child writes into a file in memory, mapped once it has ended: its
    // output is neither copied nor grown as it comes.
    Descrittore uscita(memfd_create("brovato5-uscita", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (uscita.Fd() < 0) ErroreSistema(errno, "memfd_create");
    Figlio figlio(programma, argomenti, uscita.Fd(), ereditato);
    figlio.LimitaFile(massimaUscita + 1);
    const auto stato = figlio.Attendi(scadenza, [&] { return Dimensione(uscita.Fd()) <= massimaUscita; });
    ImpedisciAccorciamento(uscita.Fd());
    const std::size_t scritti = Dimensione(uscita.Fd());

    EsitoProgramma esito;
    if (scritti > massimaUscita || (stato && WIFSIGNALED(*stato) && WTERMSIG(*stato) == SIGXFSZ)) {
        esito.fine = EsitoProgramma::Fine::UscitaEccessiva;
        return esito;
    }
    esito.uscita = UscitaProgramma(uscita.Fd(), scritti);
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
