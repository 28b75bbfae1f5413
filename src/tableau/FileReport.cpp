#include "tableau/FileReport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "common/Archivio.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/CreaTableau.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The report's file name in the current folder: an existing file whose name
// differs only in case (a folder copied from Windows) is the one replaced.
std::string NomeReportEsistente() {
    const std::string nome = NomeFileReport();
    try {
        return fs::path(TrovaFile(".", nome)).filename().string();
    } catch (const Errore&) {
        return nome;
    }
}

// Creates the temporary file beside the report, named after it, this process
// and a counter, never over an existing file. Like any new file it takes the
// permissions the umask leaves, and it is closed to the programs this one
// starts. Gives the descriptor, or -1 with `nome` left empty.
int CreaTemporaneo(const std::string& nomeReport, std::string& nome) {
    constexpr int kTentativi = 100;
    for (int n = 0; n < kTentativi; ++n) {
        const std::string candidato = nomeReport + "." + std::to_string(getpid()) + "." + std::to_string(n);
        const int fd = open(candidato.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            nome = candidato;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

std::string Postazione() {
    const char* valore = nullptr;
    for (char** voce = environ; voce && *voce; ++voce) {
        const std::string_view testo(*voce);
        const auto uguale = testo.find('=');
        if (uguale == std::string_view::npos || Maiuscolo(testo.substr(0, uguale)) != "PCLOCAL") continue;
        valore = *voce + uguale + 1;
        if (testo.substr(0, uguale) == "PCLocal") break;  // the exact spelling wins over the others
    }
    if (!valore) return {};
    const std::string postazione = Taglia(valore);
    if (postazione.find('/') != std::string::npos || postazione.find('\\') != std::string::npos ||
        postazione.find("..") != std::string::npos)
        throw Errore(NumeroErrore::ArgomentoNonValido,
                     "Numero di postazione non valido nella variabile PCLocal: '" + postazione +
                         "' (non può contenere \"/\", \"\\\" o \"..\").");
    return postazione;
}

std::string NomeFileReport() { return "FD" + Postazione(); }

FileReport::FileReport() : nomeReport_(NomeReportEsistente()) {
    const int fd = CreaTemporaneo(nomeReport_, nomeTemporaneo_);
    if (fd < 0) Fallito();
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        std::remove(nomeTemporaneo_.c_str());
        Fallito();
    }
}

FileReport::~FileReport() {
    if (file_) std::fclose(file_);
    if (!nomeTemporaneo_.empty()) std::remove(nomeTemporaneo_.c_str());
}

void FileReport::ScriviRiga(const std::string& riga) {
    Scrivi(riga);
    Scrivi("\r\n");
}

void FileReport::Scrivi(const std::string& testo) {
    if (std::fwrite(testo.data(), 1, testo.size(), file_) != testo.size()) Fallito();
}

void FileReport::Completa() {
    const bool scritto = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    const bool chiuso = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!scritto || !chiuso || std::rename(nomeTemporaneo_.c_str(), nomeReport_.c_str()) != 0) Fallito();
    nomeTemporaneo_.clear();
}

void FileReport::Fallito() const {
    throw Errore(NumeroErrore::FileNonScrivibile,
                 "Impossibile scrivere il file del report '" + nomeReport_ + "'.");
}
