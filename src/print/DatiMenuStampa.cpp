#include "print/DatiMenuStampa.h"

#include <algorithm>
#include <cctype>
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

bool CopiaInArchivio(const std::string& nomeFile) {
    const std::string inizio = Maiuscolo("fd" + Postazione());
    const std::string fine = ".DOC";
    const std::string nome = Maiuscolo(nomeFile);
    const std::size_t cifre = 12;
    return nome.size() == inizio.size() + cifre + fine.size() && nome.starts_with(inizio) && nome.ends_with(fine) &&
           std::all_of(nome.begin() + inizio.size(), nome.end() - fine.size(),
                       [](unsigned char c) { return std::isdigit(c); });
}

void ArchiviaReport(const std::string& nomeArchivio) {
    std::ifstream report(TrovaFile(".", NomeFileReport()), std::ios::binary);
    if (!report)
        throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile copiare il report in '" + nomeArchivio + "'.");
    // Written beside the copy and renamed over it: a copy cut short leaves no truncated file in the archive.
    FileSostitutivo copia(nomeArchivio, "la copia del report");
    copia.Scrivi(std::string(std::istreambuf_iterator<char>(report), std::istreambuf_iterator<char>()));
    copia.Completa();
}

std::int16_t HotelDiStampa(std::int16_t hotel) { return hotel == 0 ? 1 : hotel; }

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
