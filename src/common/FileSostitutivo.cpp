#include "common/FileSostitutivo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "common/Errore.h"

namespace {

// Lines are gathered up to this size before they are written.
constexpr std::size_t kBlocco = 64 * 1024;

// The temporary file's name for `nome`, attempt `n`.
std::string NomeTemporaneo(const std::string& nome, int n) {
    return nome + "." + std::to_string(getpid()) + "." + std::to_string(n);
}

// Creates the temporary file for `nome` in the folder `cartella`, never over
// an existing entry nor through a link. Like any new file it takes the
// permissions the umask leaves, and it is closed to the programs this one starts.
int CreaTemporaneoIn(int cartella, const std::string& nome, std::string& temporaneo) {
    constexpr int kTentativi = 100;
    for (int n = 0; n < kTentativi; ++n) {
        const std::string candidato = NomeTemporaneo(nome, n);
        const int fd =
            openat(cartella, candidato.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temporaneo = candidato;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

FileSostitutivo::FileSostitutivo(const CartellaDati& cartella, std::string nome, std::string cosa, Sostituzione modo)
    : cartella_(cartella), nome_(std::move(nome)), cosa_(std::move(cosa)), modo_(modo) {
    if (const auto esistente = cartella_.Trova(nome_)) nome_ = *esistente;
    ControllaVoce();
    const int fd = CreaTemporaneoIn(cartella_.Fd(), nome_, nomeTemporaneo_);
    if (fd < 0) Fallito(errno);
    file_ = Descrittore(fd);
}

FileSostitutivo::~FileSostitutivo() {
    if (!nomeTemporaneo_.empty()) unlinkat(cartella_.Fd(), nomeTemporaneo_.c_str(), 0);
}

void FileSostitutivo::ScriviRiga(std::string_view riga) {
    attesa_ += riga;
    attesa_ += "\r\n";
    if (attesa_.size() >= kBlocco) Svuota();
}

void FileSostitutivo::Scrivi(std::string_view testo) {
    attesa_ += testo;
    if (attesa_.size() >= kBlocco) Svuota();
}

void FileSostitutivo::Svuota() {
    std::size_t scritti = 0;
    while (scritti < attesa_.size()) {
        const ssize_t n = write(file_.Fd(), attesa_.data() + scritti, attesa_.size() - scritti);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fallito(n < 0 ? errno : ENOSPC);
        scritti += static_cast<std::size_t>(n);
    }
    attesa_.clear();
}

void FileSostitutivo::Completa() {
    Svuota();
    if (fsync(file_.Fd()) != 0) Fallito(errno);
    if (!file_.Chiudi()) Fallito(errno);
    ControllaVoce();
    if (renameat(cartella_.Fd(), nomeTemporaneo_.c_str(), cartella_.Fd(), nome_.c_str()) != 0) Fallito(errno);
    nomeTemporaneo_.clear();
}

void FileSostitutivo::ControllaVoce() const {
    const GenereVoce genere = cartella_.Genere(nome_);
    const bool ammessa = genere == GenereVoce::Assente || genere == GenereVoce::File ||
                         (modo_ == Sostituzione::QualsiasiVoce && genere != GenereVoce::Cartella);
    if (ammessa) return;
    throw Errore(NumeroErrore::FileNonScrivibile,
                 "Impossibile scrivere " + cosa_ + " '" + cartella_.PercorsoDi(nome_) + "': al suo posto c'è " +
                     DescrizioneGenere(genere) +
                     ", che non viene sovrascritto. Controllare chi l'ha messo e scegliere un altro nome.");
}

void FileSostitutivo::Fallito(int causa) const {
    const int numero =
        causa == ENOSPC || causa == EDQUOT ? NumeroErrore::DiscoPieno : NumeroErrore::FileNonScrivibile;
    throw Errore(numero, "Impossibile scrivere " + cosa_ + " '" + cartella_.PercorsoDi(nome_) +
                             "': " + DescrizioneErroreSistema(causa) + ".");
}

std::string ScriviFileIntero(const CartellaDati& cartella, std::string nome, std::string cosa,
                             std::string_view contenuto, Sostituzione modo) {
    FileSostitutivo file(cartella, std::move(nome), std::move(cosa), modo);
    file.Scrivi(contenuto);
    file.Completa();
    return file.Nome();
}
