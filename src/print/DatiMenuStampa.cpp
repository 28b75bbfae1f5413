#include "print/DatiMenuStampa.h"

#include <fstream>
#include <iterator>

#include "common/archivio/Archivio.h"
#include "common/archivio/Database.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "tableau/CreaTableau.h"

std::string NomeInArchivio(const std::tm& ora, const std::string& estensione) {
    return "doc/fd" + Postazione() + FormattaOra(ora, "%Y%m%d%H%M") + estensione;
}

std::string NomeCopiaArchivio(const std::tm& ora) { return NomeInArchivio(ora, ".doc"); }

void ArchiviaReport(const std::string& nomeArchivio) {
    std::ifstream report(TrovaFile(".", NomeFileReport()), std::ios::binary);
    if (!report)
        throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile copiare il report in '" + nomeArchivio + "'.");
    // Written beside the copy and renamed over it: a copy cut short leaves no truncated file in the archive.
    FileSostitutivo copia(nomeArchivio, "la copia del report");
    copia.Scrivi(std::string(std::istreambuf_iterator<char>(report), std::istreambuf_iterator<char>()));
    copia.Completa();
}

std::vector<std::string> DestinazioniHotel1() {
    auto database = Database::Apri("Stampanti.mdb");
    auto stampanti = database->OpenRecordset("Stampanti");
    std::vector<std::string> destinazioni;
    const std::string criterio = "NumeroHotel = 1";
    for (stampanti->FindFirst(criterio); !stampanti->NoMatch(); stampanti->FindNext(criterio))
        destinazioni.push_back((*stampanti)["Destinazione"].Testo());
    database->Close();
    return destinazioni;
}

std::optional<std::size_t> DestinazionePdf(const std::vector<std::string>& destinazioni) {
    std::optional<std::size_t> scelta;
    for (std::size_t i = 0; i < destinazioni.size(); ++i)
        if (destinazioni[i].find("PDF") != std::string::npos) scelta = i;
    return scelta;
}
