#include "preview/LetturaReport.h"

#include <algorithm>
#include <optional>

#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/FileReport.h"

namespace {

bool FiniscePerACapo(const std::string& testo) {
    return !testo.empty() && (testo.back() == '\n' || testo.back() == '\r');
}

}  // namespace

bool EsisteReport(const Contesto& contesto) {
    return contesto.cartella.Trova(NomeFileReport(contesto.postazione)).has_value();
}

LetturaReport::LetturaReport(Contesto contesto) : contesto_(std::move(contesto)) {
    if (EsisteReport(contesto_)) Apri();
}

FileArchivio LetturaReport::File() const {
    const std::string nome = NomeFileReport(contesto_.postazione);
    return {contesto_.cartella, contesto_.cartella.Trova(nome).value_or(nome)};
}

void LetturaReport::Apri() {
    // Examined before reading: a file replaced in between counts as changed.
    statoLetto_ = LeggiStatoFile(File());
    auto contenuto = LeggiFileReport(contesto_);
    if (!contenuto)
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "Impossibile leggere il file del report '" + NomeFileReport(contesto_.postazione) + "'.");
    contenuto_ = std::move(*contenuto);
    posizione_ = 0;
    aperto_ = true;
}

void LetturaReport::Riapri() { Apri(); }

void LetturaReport::Chiudi() {
    aperto_ = false;
    contenuto_.clear();
    posizione_ = 0;
}

void LetturaReport::Ripara() {
    if (!EsisteReport(contesto_)) FileReport(contesto_).Completa();
    Apri();
    posizione_ = contenuto_.size();
}

// A line ends at CR, CR LF or LF; the line end is not part of the line.
std::string LetturaReport::LeggiRiga() {
    const std::size_t fine = std::min(contenuto_.find_first_of("\r\n", posizione_), contenuto_.size());
    std::string riga = contenuto_.substr(posizione_, fine - posizione_);
    posizione_ = fine;
    if (posizione_ < contenuto_.size() && contenuto_[posizione_] == '\r') ++posizione_;
    if (posizione_ < contenuto_.size() && contenuto_[posizione_] == '\n') ++posizione_;
    return riga;
}

std::string LetturaReport::RiempiPagina(std::int32_t limite) {
    if (!aperto_) throw Errore(NumeroErrore::NumeroFileNonValido, "Nome o numero di file non valido.");
    std::string testo;
    caratteriLetti_ = 0;
    inizioPagina_ = posizione_;
    while (!FineFile() && caratteriLetti_ < limite) {
        std::string riga = LeggiRiga();
        caratteriLetti_ += static_cast<std::int32_t>(riga.size());
        testo += ConvertiCornici(riga) + "\r\n";
    }
    finePagina_ = posizione_;
    altroTesto_ = FineFile() ? 0 : 1;
    return testo;
}

bool LetturaReport::Invariato() const {
    if (!EsisteReport(contesto_)) return false;
    // A rewrite in place at the same size within one tick of the file clock
    // leaves the times as they were: the bytes tell that one.
    return LeggiStatoFile(File()) == statoLetto_ && LeggiFileReport(contesto_) == contenuto_;
}

void LetturaReport::Salva(const std::string& testo) {
    if (!Invariato())
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "Il report '" + NomeFileReport(contesto_.postazione) + "' è stato rifatto dopo l'apertura dell'anteprima:\r\n"
                     "la pagina non è stata salvata, per non perdere il report nuovo.\r\n"
                     "Il testo modificato resta qui: copiarlo, premere Inizio e salvare di nuovo.");
    std::string pagina = testo;
    if (!pagina.empty() && !FiniscePerACapo(pagina)) pagina += "\r\n";
    const std::size_t inizio = std::min(inizioPagina_, contenuto_.size());
    const std::size_t fine = std::clamp(finePagina_, inizio, contenuto_.size());
    FileReport report(contesto_);
    report.Scrivi(contenuto_.substr(0, inizio));
    report.Scrivi(pagina);
    report.Scrivi(contenuto_.substr(fine));
    report.Completa();
    inizioPagina_ = inizio;
    finePagina_ = inizio + pagina.size();
    Apri();
}
