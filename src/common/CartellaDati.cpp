#include "common/CartellaDati.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "common/Errore.h"
#include "common/Routine.h"

Descrittore::~Descrittore() {
    if (fd_ >= 0) close(fd_);
}

bool Descrittore::Chiudi() { return close(std::exchange(fd_, -1)) == 0; }

Descrittore::Descrittore(Descrittore&& altro) noexcept : fd_(std::exchange(altro.fd_, -1)) {}

Descrittore& Descrittore::operator=(Descrittore&& altro) noexcept {
    if (this != &altro) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(altro.fd_, -1);
    }
    return *this;
}

namespace {

GenereVoce GenereDi(mode_t modo) {
    if (S_ISREG(modo)) return GenereVoce::File;
    if (S_ISDIR(modo)) return GenereVoce::Cartella;
    if (S_ISLNK(modo)) return GenereVoce::Collegamento;
    if (S_ISFIFO(modo)) return GenereVoce::Fifo;
    if (S_ISCHR(modo) || S_ISBLK(modo)) return GenereVoce::Dispositivo;
    return GenereVoce::Altro;
}

// The entry's state, not following a link; nothing when it cannot be examined.
std::optional<struct stat> StatoVoce(int cartella, const std::string& nome) {
    struct stat info {};
    if (fstatat(cartella, nome.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return info;
}

// A name that stays inside the folder: no folder part, not "." or "..".
bool NomeSemplice(const std::string& nome) {
    return !nome.empty() && nome != "." && nome != ".." && nome.find('/') == std::string::npos;
}

Errore ErroreVoce(const std::string& cosa, const std::string& percorso, const std::string& motivo,
                  int numero = NumeroErrore::FileNonScrivibile) {
    return Errore(numero, "Impossibile leggere " + cosa + " '" + percorso + "': " + motivo + ".");
}

// Why an entry that is not a regular file is not read.
std::string NonUnFile(mode_t modo) {
    return "al suo posto c'è " + DescrizioneGenere(GenereDi(modo)) +
           ", che non viene letto: chi ha accesso alla cartella dei dati deve rimetterci il file";
}

}  // namespace

std::string DescrizioneGenere(GenereVoce genere) {
    switch (genere) {
    case GenereVoce::Assente:
        return "non esiste";
    case GenereVoce::File:
        return "un file";
    case GenereVoce::Cartella:
        return "una cartella";
    case GenereVoce::Collegamento:
        return "un collegamento simbolico";
    case GenereVoce::Fifo:
        return "una FIFO (un canale tra programmi)";
    case GenereVoce::Dispositivo:
        return "un dispositivo";
    case GenereVoce::Altro:
        break;
    }
    return "un file speciale";
}

CartellaDati::CartellaDati(const std::string& percorso) {
    auto aperta = ApriSePossibile(percorso);
    if (!aperta)
        throw Errore(NumeroErrore::PercorsoNonTrovato, "Impossibile aprire la cartella dei dati '" + percorso +
                                                           "': " + DescrizioneErroreSistema(errno) + ".");
    *this = std::move(*aperta);
}

std::optional<CartellaDati> CartellaDati::ApriSePossibile(const std::string& percorso) {
    Descrittore fd(open(percorso.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    // Named by its whole path, so that a message says which folder it is.
    std::error_code ec;
    const auto assoluto = std::filesystem::absolute(percorso, ec).lexically_normal();
    std::string nome = ec ? percorso : assoluto.string();
    if (nome.size() > 1 && nome.ends_with('/')) nome.pop_back();
    return CartellaDati(std::move(fd), std::move(nome));
}

CartellaDati::CartellaDati(Descrittore fd, std::string percorso)
    : fd_(std::make_shared<const Descrittore>(std::move(fd))), percorso_(std::move(percorso)) {}

std::string CartellaDati::PercorsoDi(const std::string& nome) const {
    if (nome.starts_with('/')) return nome;
    return percorso_ + (percorso_.ends_with('/') ? "" : "/") + nome;
}

std::vector<std::string> CartellaDati::Nomi() const {
    // The folder is read through a descriptor of its own, which closedir closes.
    const int copia = openat(Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* cartella = copia >= 0 ? fdopendir(copia) : nullptr;
    if (!cartella) {
        const int causa = errno;
        if (copia >= 0) close(copia);
        throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile leggere la cartella '" + percorso_ +
                                                          "': " + DescrizioneErroreSistema(causa) + ".");
    }
    std::vector<std::string> nomi;
    while (const dirent* voce = readdir(cartella))
        if (NomeSemplice(voce->d_name)) nomi.emplace_back(voce->d_name);
    closedir(cartella);
    return nomi;
}

std::optional<std::string> CartellaDati::Trova(const std::string& nome) const {
    if (!NomeSemplice(nome)) return std::nullopt;
    if (StatoVoce(Fd(), nome)) return nome;
    const std::string cercato = Maiuscolo(nome);
    for (std::string& candidato : Nomi())
        if (Maiuscolo(candidato) == cercato) return std::move(candidato);
    return std::nullopt;
}

GenereVoce CartellaDati::Genere(const std::string& nome) const {
    const auto trovato = Trova(nome);
    const auto info = trovato ? StatoVoce(Fd(), *trovato) : std::nullopt;
    return info ? GenereDi(info->st_mode) : GenereVoce::Assente;
}

std::optional<IdentitaFile> CartellaDati::Identita(const std::string& nome) const {
    const auto trovato = Trova(nome);
    const auto info = trovato ? StatoVoce(Fd(), *trovato) : std::nullopt;
    if (!info || !S_ISREG(info->st_mode)) return std::nullopt;
    return IdentitaFile{info->st_dev, info->st_ino};
}

CartellaDati CartellaDati::Sottocartella(const std::string& nome, bool crea) const {
    const std::string percorso = PercorsoDi(nome);
    auto rifiuto = [&](const std::string& motivo) {
        return Errore(NumeroErrore::PercorsoNonTrovato, "Impossibile usare la cartella '" + percorso + "': " + motivo + ".");
    };
    if (!NomeSemplice(nome)) throw rifiuto("il nome non è quello di una cartella qui dentro");
    auto trovato = Trova(nome);
    if (!trovato && crea) {
        if (mkdirat(Fd(), nome.c_str(), 0777) != 0 && errno != EEXIST) throw rifiuto(DescrizioneErroreSistema(errno));
        trovato = nome;
    }
    if (!trovato) throw rifiuto(DescrizioneErroreSistema(ENOENT));
    const int fd = openat(Fd(), trovato->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int causa = errno;
        const auto info = StatoVoce(Fd(), *trovato);
        if (info && !S_ISDIR(info->st_mode))
            throw rifiuto("è " + DescrizioneGenere(GenereDi(info->st_mode)) +
                          " e non una cartella: chi ha accesso alla cartella dei dati deve rimetterci una cartella");
        throw rifiuto(DescrizioneErroreSistema(causa));
    }
    return CartellaDati(Descrittore(fd), PercorsoDi(*trovato));
}

std::optional<Descrittore> CartellaDati::ApriInLettura(const std::string& nome, const std::string& cosa,
                                                       int numeroErrore) const {
    const auto trovato = Trova(nome);
    if (!trovato) return std::nullopt;
    const std::string percorso = PercorsoDi(*trovato);
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer for ever.
    Descrittore fd(openat(Fd(), trovato->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        const int causa = errno;
        const auto info = StatoVoce(Fd(), *trovato);
        if (causa == ENOENT) return std::nullopt;
        if (info && !S_ISREG(info->st_mode))
            throw ErroreVoce(cosa, percorso, NonUnFile(info->st_mode), numeroErrore);
        throw ErroreVoce(cosa, percorso, DescrizioneErroreSistema(causa), numeroErrore);
    }
    struct stat info {};
    if (fstat(fd.Fd(), &info) != 0) throw ErroreVoce(cosa, percorso, DescrizioneErroreSistema(errno), numeroErrore);
    if (!S_ISREG(info.st_mode)) throw ErroreVoce(cosa, percorso, NonUnFile(info.st_mode), numeroErrore);
    const int stato = fcntl(fd.Fd(), F_GETFL);
    if (stato >= 0) fcntl(fd.Fd(), F_SETFL, stato & ~O_NONBLOCK);
    return fd;
}

std::optional<std::string> CartellaDati::Leggi(const std::string& nome, std::size_t massimo,
                                               const std::string& cosa) const {
    const auto fd = ApriInLettura(nome, cosa);
    if (!fd) return std::nullopt;
    struct stat info {};
    if (fstat(fd->Fd(), &info) == 0 && static_cast<std::uint64_t>(info.st_size) > massimo)
        throw ErroreVoce(cosa, PercorsoDi(*Trova(nome)),
                         "è troppo grande (" + std::to_string(info.st_size) + " byte, al massimo " +
                             std::to_string(massimo) + "): controllare che sia il file giusto");
    auto testo = LeggiDescrittore(fd->Fd(), massimo);
    if (!testo) throw ErroreVoce(cosa, PercorsoDi(nome), errno ? DescrizioneErroreSistema(errno) : "è cresciuto mentre era letto");
    return testo;
}

std::optional<std::string> LeggiDescrittore(int fd, std::size_t massimo) {
    std::string testo;
    char blocco[65536];
    errno = 0;
    for (;;) {
        const ssize_t letti = read(fd, blocco, sizeof blocco);
        if (letti < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (letti == 0) return testo;
        if (testo.size() + static_cast<std::size_t>(letti) > massimo) {
            errno = 0;
            return std::nullopt;
        }
        testo.append(blocco, static_cast<std::size_t>(letti));
    }
}

std::vector<std::string> DividiRighe(const std::string& testo) {
    std::vector<std::string> righe;
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        std::size_t fine = testo.find('\n', inizio);
        if (fine == std::string::npos) fine = testo.size();
        std::string riga = testo.substr(inizio, fine - inizio);
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        righe.push_back(std::move(riga));
        inizio = fine + 1;
    }
    return righe;
}
