#include "common/FileSostitutivo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/Errore.h"

int CreaTemporaneo(const std::string& nomeFile, std::string& nome) {
    constexpr int kTentativi = 100;
    for (int n = 0; n < kTentativi; ++n) {
        const std::string candidato = nomeFile + "." + std::to_string(getpid()) + "." + std::to_string(n);
        const int fd = open(candidato.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            nome = candidato;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

FileSostitutivo::FileSostitutivo(std::string nome, std::string cosa) : nome_(std::move(nome)), cosa_(std::move(cosa)) {
    const int fd = CreaTemporaneo(nome_, nomeTemporaneo_);
    if (fd < 0) Fallito();
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        std::remove(nomeTemporaneo_.c_str());
        Fallito();
    }
}

FileSostitutivo::~FileSostitutivo() {
    if (file_) std::fclose(file_);
    if (!nomeTemporaneo_.empty()) std::remove(nomeTemporaneo_.c_str());
}

void FileSostitutivo::ScriviRiga(const std::string& riga) {
    if (std::fwrite(riga.data(), 1, riga.size(), file_) != riga.size() || std::fputs("\r\n", file_) == EOF)
        Fallito();
}

void FileSostitutivo::Scrivi(const std::string& testo) {
    if (std::fwrite(testo.data(), 1, testo.size(), file_) != testo.size()) Fallito();
}

void FileSostitutivo::Completa() {
    const bool scritto = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    const bool chiuso = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!scritto || !chiuso || std::rename(nomeTemporaneo_.c_str(), nome_.c_str()) != 0) Fallito();
    nomeTemporaneo_.clear();
}

void FileSostitutivo::Fallito() const {
    throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile scrivere " + cosa_ + " '" + nome_ + "'.");
}
