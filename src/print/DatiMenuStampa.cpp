#include "print/DatiMenuStampa.h"

#include <algorithm>
#include <cctype>

#include "archivio/Database.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "print/TabelleStampa.h"
#include "tableau/FileReport.h"

const char* const kCartellaArchivio = "doc";

CartellaDati CartellaArchivio(const CartellaDati& cartella) { return cartella.Sottocartella(kCartellaArchivio, true); }

std::string NomeInArchivio(const std::string& postazione, const std::tm& ora, const std::string& estensione) {
    return "fd" + postazione + FormattaOra(ora, "%Y%m%d%H%M") + estensione;
}

bool CopiaInArchivio(const std::string& postazione, const std::string& nomeFile) {
    const std::string inizio = Maiuscolo("fd" + postazione);
    const std::string fine = ".DOC";
    const std::string nome = Maiuscolo(nomeFile);
    const std::size_t cifre = 12;
    return nome.size() == inizio.size() + cifre + fine.size() && nome.starts_with(inizio) && nome.ends_with(fine) &&
           std::all_of(nome.begin() + inizio.size(), nome.end() - fine.size(),
                       [](unsigned char c) { return std::isdigit(c); });
}

void ArchiviaReport(const Contesto& contesto, const std::string& nomeArchivio) {
    const auto report = LeggiFileReport(contesto);
    if (!report) throw ErroreFileInesistente(Cp1252ToUtf8(NomeFileReport(contesto.postazione)));
    // Written beside the copy and renamed over it: a copy cut short leaves no truncated file in the archive.
    FileSostitutivo copia(CartellaArchivio(contesto.cartella), nomeArchivio, "la copia del report");
    copia.Scrivi(*report);
    copia.Completa();
}

std::int16_t HotelDiStampa(std::int16_t hotel) { return hotel == 0 ? 1 : hotel; }

std::vector<std::string> DestinazioniHotel1(const CartellaDati& cartella) {
    auto database = Database::Apri(cartella, "Stampanti.mdb");
    auto stampanti = database->OpenRecordset(TabellaNomiDestinazioni());
    std::vector<std::string> destinazioni;
    const Criterio criterio = CriterioDestinazioniHotel(1);
    for (stampanti->FindFirst(criterio); !stampanti->NoMatch(); stampanti->FindNext(criterio))
        destinazioni.push_back((*stampanti)[campo::Destinazione].Testo());
    database->Close();
    return destinazioni;
}

std::optional<std::size_t> DestinazionePdf(const std::vector<std::string>& destinazioni) {
    std::optional<std::size_t> scelta;
    for (std::size_t i = 0; i < destinazioni.size(); ++i)
        if (destinazioni[i].find("PDF") != std::string::npos) scelta = i;
    return scelta;
}
