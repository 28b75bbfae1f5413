#include "tableau/FileReport.h"

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

FileReport::FileReport() : FileSostitutivo(NomeReportEsistente(), "il file del report") {}
