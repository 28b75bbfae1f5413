#include "print/MotoreStampa.h"

#include <filesystem>
#include <vector>

#include "common/Codifica.h"
#include "common/Errore.h"
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

namespace fs = std::filesystem;
using Righe = std::vector<std::string>;

// The workstation's report file, found as the program finds it (name without regard to case).
// Throws Errore 53 when there is none: nothing is printed then.
std::string FileReport() {
    if (const auto percorso = FileEsistente(NomeFileReport())) return *percorso;
    throw Errore(NumeroErrore::FileInesistente,
                 "Il report '" + Cp1252ToUtf8(NomeFileReport()) +
                     "' non esiste in questa cartella: creare il tableau prima di stamparlo (\"Stampa\" nella "
                     "finestra principale).");
}

Righe LeggiReport(const std::string& percorso) {
    if (auto righe = LeggiRighe(percorso)) return std::move(*righe);
    throw Errore(NumeroErrore::FileNonScrivibile,
                 "Impossibile leggere il report '" + percorso + "': controllare i permessi del file.");
}

// The files a print never writes into: the report it reads and its copies in the archive folder "doc".
std::vector<fs::path> FileProtetti(const std::string& report) {
    std::vector<fs::path> protetti = {report};
    std::error_code ec;
    for (const auto& voce : fs::directory_iterator("doc", ec))
        if (CopiaInArchivio(voce.path().filename().string())) protetti.push_back(voce.path());
    return protetti;
}

// True when `a` and `b` are one file: the same inode (hard or symbolic links),
// or the same name without regard to case in the same folder, as the suite
// finds its files.
bool StessoFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    const fs::path pa = fs::weakly_canonical(fs::absolute(a), ec);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b), ec);
    return pa.parent_path() == pb.parent_path() &&
           Maiuscolo(pa.filename().string()) == Maiuscolo(pb.filename().string());
}

// Throws Errore 75 when the file `destinazione` (UTF-8) is the report or an
// archive copy of it: printing there would destroy it.
void ControllaDestinazione(const std::string& destinazione, const std::string& report) {
    for (const fs::path& protetto : FileProtetti(report))
        if (StessoFile(destinazione, protetto))
            throw Errore(NumeroErrore::FileNonScrivibile,
                         "La destinazione di stampa '" + fs::path(destinazione).lexically_normal().string() +
                             "' è il report stesso o una sua copia ('" + protetto.lexically_normal().string() +
                             "'): la stampa lo cancellerebbe. Scegliere un'altra destinazione o correggere il "
                             "campo Linea della tabella Stampanti.");
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

    EsitoStampa Esegui(const std::string& report) {
        const Righe righe = LeggiReport(report);
        const bool installata = ScegliDestinazione();
        if (!installata) ControllaStampanteScelta();
        EsitoStampa esito;
        esito.destinazioneTrovata = true;
        esito.filePdf = ScegliPdf(installata, report);
        DescriviUscita(esito, installata);
        if (scelta_.fronteRetro) stampante_.ImpostaDuplex(2);
        ImpostaOrientamento();
        PrimaPagina();
        for (std::string riga : righe) StampaRiga(riga);
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
    // for and the destination's printer is not installed; "" for a printer.
    std::string ScegliPdf(bool destinazioneInstallata, const std::string& report) {
        std::string pdf = scelta_.filePdf;
        const bool senzaStampante = stampante_.Stampanti().empty() || (scelta_.comePdf && !destinazioneInstallata);
        if (pdf.empty() && senzaStampante) pdf = NomePdfArchivio();
        if (pdf.empty()) return pdf;
        ControllaDestinazione(Cp1252ToUtf8(pdf), report);
        stampante_.StampaSuPdf(pdf);
        return pdf;
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

    // The destination the bytes went to.
    DestinazioneDiretta Esegui(const std::string& report) {
        const Righe righe = LeggiReport(report);
        const std::string controllo = imp_.SequenzaControllo(scelta_.compressa);
        const DestinazioneDiretta destinazione = RisolviDestinazione(imp_.destinazione);
        if (destinazione.tipo == DestinazioneDiretta::Tipo::File) ControllaDestinazione(destinazione.percorso, report);
        uscita_ = ApriUscitaDiretta(destinazione);
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

    const SceltaStampa& scelta_;
    const ImpostazioniStampa& imp_;
    std::unique_ptr<UscitaDiretta> uscita_;
    int contatore_ = 0;
};

}  // namespace

EsitoStampa StampaReport(const SceltaStampa& scelta, std::int16_t hotel, Stampante& stampante) {
    const auto impostazioni = LeggiImpostazioni(scelta, hotel);
    if (!impostazioni) return {};
    const std::string report = FileReport();
    if (impostazioni->PerDriver()) return StampaDriver(scelta, *impostazioni, stampante).Esegui(report);
    const DestinazioneDiretta destinazione = StampaDiretta(scelta, *impostazioni).Esegui(report);
    using Uscita = EsitoStampa::Uscita;
    const Uscita uscita = destinazione.tipo == DestinazioneDiretta::Tipo::Coda    ? Uscita::Stampante
                          : destinazione.tipo == DestinazioneDiretta::Tipo::Porta ? Uscita::Porta
                                                                                  : Uscita::File;
    return {true, {}, uscita, destinazione.nome};
}
