#include "print/MotoreStampa.h"

#include <optional>
#include <vector>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/CartellaDati.h"
#include "common/Routine.h"
#include "common/piattaforma/Stampante.h"
#include "print/DatiMenuStampa.h"
#include "print/FileDiStampa.h"
#include "print/ImpostazioniStampa.h"
#include "print/PagineDriver.h"
#include "print/StampaLaser.h"
#include "print/UscitaDiretta.h"
#include "tableau/FileReport.h"

namespace {

constexpr char SaltoPagina = '\f';
constexpr const char* FontIntestazione = "Times New Roman";
constexpr const char* FineRiga = "\r\n";
// The least blanks between the two parts of a page's heading.
constexpr std::size_t DistanzaIntestazione = 3;
// A bold stretch is this much smaller than the line it stands in, in points.
constexpr double RiduzioneGrassetto = 0.4;

using Righe = std::vector<std::string>;

// The workstation's report file, its lines. Throws Errore 53 when there is
// none: nothing is printed then.
Righe LeggiReport(const Contesto& contesto) {
    if (auto testo = LeggiFileReport(contesto)) return DividiRighe(*testo);
    throw Errore(NumeroErrore::FileInesistente,
                 "Il report '" + Cp1252ToUtf8(NomeFileReport(contesto.postazione)) +
                     "' non esiste nella cartella dei dati '" + contesto.cartella.Percorso() +
                     "': creare il tableau prima di stamparlo (\"Stampa\" nella finestra principale).");
}

bool Contiene(const std::string& testo, char lettera) { return testo.find(lettera) != std::string::npos; }

// The dated PDF under "doc" for this minute: where the driver path prints
// when no printer is installed.
FileDiStampa PdfArchivio(const Contesto& contesto) {
    const std::string nome = NomeInArchivio(contesto.postazione, TempoLocale(), ".pdf");
    FileDiStampa file{CartellaArchivio(contesto.cartella), nome, std::string(kCartellaArchivio) + "/" + nome};
    ControllaFileDiStampa(contesto, file);
    return file;
}

// The driver path: the report drawn through the printer object.
class StampaDriver {
public:
    StampaDriver(const Contesto& contesto, const SceltaStampa& scelta, const ImpostazioniStampa& imp,
                 Stampante& stampante, std::int16_t hotel)
        : contesto_(contesto), scelta_(scelta), imp_(imp), stampante_(stampante), hotel_(hotel) {}

    EsitoStampa Esegui() {
        Righe righe = LeggiReport(contesto_);
        const IntestazioneStampa intestazione = LeggiIntestazione(contesto_.cartella, hotel_, scelta_.tableau,
                                                                  righe.empty() ? "" : righe.front(), scelta_.ora);
        const bool installata = ScegliDestinazione();
        if (!installata) ControllaStampanteScelta();
        EsitoStampa esito;
        const std::optional<FileDiStampa> pdf = ScegliPdf(installata);
        if (pdf) esito.filePdf = Utf8ToCp1252(pdf->mostrato);
        DescriviUscita(esito, installata);
        if (scelta_.fronteRetro) stampante_.ImpostaDuplex(2);
        ImpostaOrientamento();
        if (!Contiene(scelta_.codiceAssistenza, 'K'))
            for (std::string& riga : righe) Converti2(riga);
        const PagineDriver pagine = ImpaginaDriver(righe, imp_.lunghezzaPagina, imp_.margineSuperiore);
        const CaratteriPagina caratteri = Caratteri();
        caratteri_ = caratteri.Scalati(ScalaPerLaPagina(stampante_, pagine, imp_.margineSuperiore, caratteri));
        // A heading wider than the paper (a long hotel name) is made smaller by itself: its parts at their
        // least distance, with the widest page number.
        caratteri_.intestazione = FontNellaLarghezza(
            stampante_,
            intestazione.sinistra + std::string(DistanzaIntestazione, ' ') +
                intestazione.Destra(pagine.size(), pagine.size()),
            caratteri_.intestazione);
        larghezzaRighe_ = LarghezzaRighe(stampante_, pagine, caratteri_);
        for (std::size_t n = 0; n < pagine.size(); ++n)
            StampaPagina(pagine[n], RigaIntestazione(intestazione, n + 1, pagine.size()), n == 0);
        stampante_.FineDocumento();
        if (scelta_.orizzontale) stampante_.ImpostaOrientamento(1);
        if (pdf) ScriviPdf(*pdf);
        return esito;
    }

private:
    // The first installed printer named as the destination becomes the
    // active one; false when none is named so.
    bool ScegliDestinazione() {
        for (const auto& nome : stampante_.Stampanti()) {
            if (nome == imp_.destinazione) {
                stampante_.ScegliStampante(nome);
                return true;
            }
        }
        return false;
    }

    // A printer typed over the destination's own that is not installed: it
    // may stand for a port or a file, but a name that can only be a printer is
    // a mistake, not a print on whichever printer happens to be active.
    void ControllaStampanteScelta() const {
        if (Taglia(scelta_.stampante).empty() || PortaOFile(scelta_.stampante)) return;
        throw Errore(NumeroErrore::ErroreStampante,
                     "La stampante '" + Cp1252ToUtf8(scelta_.stampante) +
                         "' non è installata su questo computer: sceglierne una dall'elenco \"Stampante\".");
    }

    // The PDF file the document goes into: the one chosen, else a dated file
    // under "doc" when no printer is installed at all, or when a PDF was asked
    // for and the destination's printer is not installed; none for a printer.
    // It is checked before the document is drawn, and made in memory.
    std::optional<FileDiStampa> ScegliPdf(bool destinazioneInstallata) {
        const bool senzaStampante = stampante_.Stampanti().empty() || (scelta_.comePdf && !destinazioneInstallata);
        if (scelta_.filePdf.empty() && !senzaStampante) return std::nullopt;
        FileDiStampa pdf = scelta_.filePdf.empty()
                               ? PdfArchivio(contesto_)
                               : RisolviFileDiStampa(contesto_, Cp1252ToUtf8(scelta_.filePdf), true);
        stampante_.StampaInPdf();
        return pdf;
    }

    // The PDF made, written whole into its file or not at all.
    void ScriviPdf(const FileDiStampa& pdf) {
        ScriviFileIntero(pdf.cartella, pdf.nome, "il file PDF", stampante_.PrendiPdf(), Sostituzione::SoloFile);
    }

    // The PDF file, else the destination's printer, else the active one that the document goes to.
    void DescriviUscita(EsitoStampa& esito, bool destinazioneInstallata) {
        esito.uscita = esito.filePdf.empty() ? EsitoStampa::Uscita::Stampante : EsitoStampa::Uscita::Pdf;
        const std::string& dove = !esito.filePdf.empty()   ? esito.filePdf
                                  : destinazioneInstallata ? imp_.destinazione
                                                           : stampante_.StampanteAttiva();
        esito.dove = Cp1252ToUtf8(dove);
    }

    void ImpostaOrientamento() { stampante_.ImpostaOrientamento(scelta_.orizzontale ? 2 : 1); }

    // The fonts as set: the heading's at Compresso 1, the body's at the size
    // of the report lines, its bold stretches a little smaller.
    CaratteriPagina Caratteri() const {
        const double corpo = imp_.DimensioneCorpo(scelta_.compressa);
        return {{FontIntestazione, imp_.compresso[1]},
                {imp_.fontCorpo, corpo},
                {imp_.fontCorpo, corpo - RiduzioneGrassetto, true}};
    }

    // The heading line of page `pagina` of `pagine`: its right part ends
    // under the report's right edge, or as far as the left part leaves room.
    std::string RigaIntestazione(const IntestazioneStampa& intestazione, std::size_t pagina, std::size_t pagine) {
        const std::string destra = intestazione.Destra(pagina, pagine);
        const FontStampa& font = caratteri_.intestazione;
        const double spazio = stampante_.LarghezzaTesto(" ", font);
        const double libera = larghezzaRighe_ - stampante_.LarghezzaTesto(intestazione.sinistra, font) -
                              stampante_.LarghezzaTesto(destra, font);
        const auto blank = spazio > 0 && libera > 0 ? static_cast<std::size_t>(libera / spazio) : 0;
        return intestazione.sinistra + std::string(std::max(blank, DistanzaIntestazione), ' ') + destra;
    }

    void Imposta(const FontStampa& carattere) {
        stampante_.ImpostaFontName(carattere.nome);
        stampante_.ImpostaFontSize(carattere.dimensione);
    }

    // A page: its heading line, the top margin and its report lines, in the
    // fonts scaled to fit.
    void StampaPagina(const Righe& righe, const std::string& intestazione, bool prima) {
        if (!prima) {
            stampante_.NuovaPagina();
            ImpostaOrientamento();
        }
        Imposta(caratteri_.intestazione);
        stampante_.Stampa(intestazione, true);
        Imposta(caratteri_.corpo);
        for (int i = 0; i < imp_.margineSuperiore; ++i) stampante_.Stampa(" ", true);
        const DimensioniRiga dimensioni{caratteri_.corpo.dimensione, caratteri_.grassetto.dimensione};
        for (const std::string& riga : righe) StampaLaser(stampante_, riga, dimensioni);
    }

    const Contesto& contesto_;
    const SceltaStampa& scelta_;
    const ImpostazioniStampa& imp_;
    Stampante& stampante_;
    std::int16_t hotel_;
    CaratteriPagina caratteri_;      // scaled to fit
    double larghezzaRighe_ = 0;      // of the widest report line, in them
};

// The direct path: the report as raw text after the printer's control codes.
class StampaDiretta {
public:
    StampaDiretta(const Contesto& contesto, const SceltaStampa& scelta, const ImpostazioniStampa& imp)
        : contesto_(contesto), scelta_(scelta), imp_(imp) {}

    // The destination the bytes went to.
    DestinazioneDiretta Esegui() {
        const Righe righe = LeggiReport(contesto_);
        const std::string controllo = imp_.SequenzaControllo(scelta_.compressa);
        const DestinazioneDiretta destinazione = RisolviDestinazione(imp_.destinazione);
        uscita_ = ApriUscitaDiretta(contesto_, destinazione, imp_.destinazioneDellUtente);
        uscita_->Scrivi(controllo);
        RigheMargine();
        for (std::string riga : righe) StampaRiga(riga);
        if (contatore_ > 0) FinePagina();
        uscita_->Chiudi();
        return destinazione;
    }

private:
    void RigheMargine() {
        for (int i = 0; i < imp_.margineSuperiore; ++i) uscita_->Scrivi(std::string(" ") + FineRiga);
        contatore_ += imp_.margineSuperiore;
    }

    // Closes a page: blank lines up to the sheet length with "U", else a form feed.
    void FinePagina() {
        if (!Contiene(scelta_.codiceAssistenza, 'U')) {
            uscita_->Scrivi(std::string(1, SaltoPagina));
            return;
        }
        for (; contatore_ < imp_.lunghezzaFoglio; ++contatore_) uscita_->Scrivi(FineRiga);
    }

    void PaginaSeguente() {
        FinePagina();
        contatore_ = 0;
        RigheMargine();
    }

    void StampaRiga(std::string& riga) {
        if (!Contiene(scelta_.codiceAssistenza, 'K')) ConvertiCornici(riga);
        if (riga == std::string(1, SaltoPagina)) {
            PaginaSeguente();
        } else {
            uscita_->Scrivi(riga + FineRiga);
            ++contatore_;
        }
        if (contatore_ == imp_.lunghezzaPagina) PaginaSeguente();
    }

    const Contesto& contesto_;
    const SceltaStampa& scelta_;
    const ImpostazioniStampa& imp_;
    std::unique_ptr<UscitaDiretta> uscita_;
    int contatore_ = 0;
};

}  // namespace

EsitoStampa StampaReport(const Contesto& contesto, const SceltaStampa& scelta, std::int16_t hotel,
                         Stampante& stampante) {
    const ImpostazioniStampa impostazioni = LeggiImpostazioni(contesto.cartella, scelta, hotel);
    if (impostazioni.PerDriver()) return StampaDriver(contesto, scelta, impostazioni, stampante, hotel).Esegui();
    const DestinazioneDiretta destinazione = StampaDiretta(contesto, scelta, impostazioni).Esegui();
    using Uscita = EsitoStampa::Uscita;
    const Uscita uscita = destinazione.tipo == DestinazioneDiretta::Tipo::Coda    ? Uscita::Stampante
                          : destinazione.tipo == DestinazioneDiretta::Tipo::Porta ? Uscita::Porta
                                                                                  : Uscita::File;
    return {{}, uscita, destinazione.nome};
}
