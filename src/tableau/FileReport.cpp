#include "tableau/FileReport.h"

#include <sys/stat.h>
#include <unistd.h>

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
    std::string modello = nomeReport_ + ".XXXXXX";
    const int fd = mkstemp(modello.data());
    if (fd < 0) Fallito();
    nomeTemporaneo_ = modello;
    // mkstemp creates the file for its owner only; a report is as readable as any other new file.
    const mode_t maschera = umask(0);
    umask(maschera);
    fchmod(fd, 0666 & ~maschera);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        Fallito();
    }
}

FileReport::~FileReport() {
    if (file_) std::fclose(file_);
    if (!nomeTemporaneo_.empty()) std::remove(nomeTemporaneo_.c_str());
}

void FileReport::ScriviRiga(const std::string& riga) {
    if (std::fwrite(riga.data(), 1, riga.size(), file_) != riga.size() || std::fputs("\r\n", file_) == EOF)
        Fallito();
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
