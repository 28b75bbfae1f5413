#include "tableau/FileReport.h"

std::string NomeFileReport(const std::string& postazione) { return "FD" + postazione; }

std::optional<std::string> LeggiFileReport(const Contesto& contesto) {
    return contesto.cartella.Leggi(NomeFileReport(contesto.postazione), kMassimoReport, "il report");
}

FileReport::FileReport(const Contesto& contesto)
    : FileSostitutivo(contesto.cartella, NomeFileReport(contesto.postazione), "il file del report") {}
