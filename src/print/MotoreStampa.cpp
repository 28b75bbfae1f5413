#include "print/MotoreStampa.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "common/FileTesto.h"
#include "common/Routine.h"
#include "common/piattaforma/Stampante.h"
#include "print/DatiMenuStampa.h"
#include "print/ImpostazioniStampa.h"
#include "print/StampaLaser.h"
#include "print/UscitaDiretta.h"
#include "tableau/CreaTableau.h"

namespace {

constexpr char SaltoPagina = '\f';
constexpr const char* FontIntestazione = "Times New Roman";
constexpr const char* FineRiga = "\r\n";

// The lines of the workstation's report file; nothing when there is none.
std::optional<std::vector<std::string>> LeggiReport() {
    const auto percorso = FileEsistente(NomeFileReport());
    return percorso ? LeggiRighe(*percorso) : std::nullopt;
}

bool Contiene(const std::string& testo, char lettera) { return testo.find(lettera) != std::string::npos; }

// The dated PDF under "doc" for this minute: where the driver path prints
// when no printer is installed.
std::string NomePdfArchivio() {
    std::filesystem::create_directory("doc");
    return NomeInArchivio(TempoLocale(), ".pdf");
}

// The driver path: the report drawn through the printer object.
class StampaDriver {
public:
    StampaDriver(const SceltaStampa& scelta, const ImpostazioniStampa& imp, Stampante& stampante)
        : scelta_(scelta), imp_(imp), stampante_(stampante) {}

    EsitoStampa Esegui() {
        const bool installata = ScegliDestinazione();
        const auto report = LeggiReport();
        EsitoStampa esito{true, {}};
        if (!report) return esito;
        esito.filePdf = ScegliPdf(installata);
        if (scelta_.fronteRetro) stampante_.ImpostaDuplex(2);
        ImpostaOrientamento();
        PrimaPagina();
        for (std::string riga : *report) StampaRiga(riga);
        stampante_.FineDocumento();
        if (scelta_.orizzontale) stampante_.ImpostaOrientamento(1);
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

    // The PDF file the document goes into: the one chosen, else a dated file
    // under "doc" when no printer is installed at all, or when a PDF was asked
    // for and the destination's printer is not installed; "" for a printer.
    std::string ScegliPdf(bool destinazioneInstallata) {
        std::string pdf = scelta_.filePdf;
        const bool senzaStampante = stampante_.Stampanti().empty() || (scelta_.comePdf && !destinazioneInstallata);
        if (pdf.empty() && senzaStampante) pdf = NomePdfArchivio();
        if (!pdf.empty()) stampante_.StampaSuPdf(pdf);
        return pdf;
    }

    void ImpostaOrientamento() { stampante_.ImpostaOrientamento(scelta_.orizzontale ? 2 : 1); }

    void RigheMargine() {
        for (int i = 0; i < imp_.margineSuperiore; ++i) stampante_.Stampa(" ", true);
        contatore_ += imp_.margineSuperiore;
    }

    void Intestazione() {
        stampante_.ImpostaFontName(FontIntestazione);
        stampante_.ImpostaFontSize(imp_.compresso[1]);
        stampante_.Stampa(" ", true);
        stampante_.ImpostaFontName(imp_.fontCorpo);
    }

    void PrimaPagina() {
        Intestazione();
        RigheMargine();
        stampante_.ImpostaFontSize(imp_.DimensioneCorpo(scelta_.compressa));
    }

    void NuovaPagina() {
        stampante_.NuovaPagina();
        ImpostaOrientamento();
        Intestazione();
        stampante_.ImpostaFontSize(imp_.DimensioneCorpo(scelta_.compressa));
        contatore_ = 0;
        RigheMargine();
    }

    void StampaRiga(std::string& riga) {
        if (!Contiene(scelta_.codiceAssistenza, 'K')) Converti2(riga);
        const bool salto = riga == std::string(1, SaltoPagina);
        if (salto) {
            stampante_.NuovaPagina();
            ImpostaOrientamento();
            contatore_ = 0;
            RigheMargine();
        } else {
            StampaLaser(stampante_, riga);
        }
        ++contatore_;
        if (contatore_ >= imp_.lunghezzaPagina || salto) NuovaPagina();
    }

    const SceltaStampa& scelta_;
    const ImpostazioniStampa& imp_;
    Stampante& stampante_;
    int contatore_ = 0;
};

// The direct path: the report as raw text after the printer's control codes.
class StampaDiretta {
public:
    StampaDiretta(const SceltaStampa& scelta, const ImpostazioniStampa& imp) : scelta_(scelta), imp_(imp) {}

    void Esegui() {
        const std::string controllo = imp_.SequenzaControllo(scelta_.compressa);
        uscita_ = ApriUscitaDiretta(imp_.destinazione);
        uscita_->Scrivi(controllo);
        if (const auto report = LeggiReport()) {
            RigheMargine();
            for (std::string riga : *report) StampaRiga(riga);
            if (contatore_ > 0) FinePagina();
        }
        uscita_->Chiudi();
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

    const SceltaStampa& scelta_;
    const ImpostazioniStampa& imp_;
    std::unique_ptr<UscitaDiretta> uscita_;
    int contatore_ = 0;
};

}  // namespace

EsitoStampa StampaReport(const SceltaStampa& scelta, std::int16_t hotel, Stampante& stampante) {
    const auto impostazioni = LeggiImpostazioni(scelta, hotel);
    if (!impostazioni) return {};
    if (impostazioni->PerDriver()) return StampaDriver(scelta, *impostazioni, stampante).Esegui();
    StampaDiretta(scelta, *impostazioni).Esegui();
    return {true, {}};
}
