#include "tableau/FileReport.h"

#include <filesystem>

#include "common/Ambiente.h"
#include "common/Errore.h"
#include "common/FileTesto.h"
#include "common/Routine.h"
#include "tableau/CreaTableau.h"

namespace fs = std::filesystem;

namespace {

// The report's file name in the current folder: an existing file whose name
// differs only in case (a folder copied from Windows) is the one replaced.
std::string NomeReportEsistente() {
    const std::string nome = NomeFileReport();
    const auto esistente = FileEsistente(nome);
    return esistente ? fs::path(*esistente).filename().string() : nome;
}

}  // namespace

std::string Postazione() {
    const auto valore = LeggiAmbiente("PCLocal");
    if (!valore) return {};
    const std::string postazione = Taglia(*valore);
    if (postazione.find('/') != std::string::npos || postazione.find('\\') != std::string::npos ||
        postazione.find("..") != std::string::npos)
        throw Errore(NumeroErrore::ArgomentoNonValido,
                     "Numero di postazione non valido nella variabile PCLocal: '" + postazione +
                         "' (non può contenere \"/\", \"\\\" o \"..\").");
    return postazione;
}

std::string NomeFileReport() { return "FD" + Postazione(); }

FileReport::FileReport() : FileSostitutivo(NomeReportEsistente(), "il file del report") {}
