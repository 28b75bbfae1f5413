#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "preview/LetturaReport.h"
#include "tableau/Settimana.h"

class AvviaProgramma;
struct EsitoEsecuzione;
class QPlainTextEdit;
class QPushButton;

// The page preview: the workstation's report shown one page at a time in an
// editable text box, with buttons to move on, start again, zoom, save the
// page back into the report and send it by e-mail. Modal over the print menu.
class Anteprima : public QDialog {
    Q_OBJECT

public:
    // The report of the workstation and data folder of `contesto`;
    // `avviaProgramma` starts the mailer. `settimana`, the week the report
    // was written from when known, is kept once a page of it has been mailed.
    Anteprima(Contesto contesto, AvviaProgramma& avviaProgramma, QWidget* proprietaria = nullptr,
              std::shared_ptr<const Settimana> settimana = nullptr);
    ~Anteprima() override;

    // Loads the form and runs its first activation. False when it has closed
    // itself because there is no report file.
    bool Avvia();

    // Writes `Testo` into the mail file, runs the mailer and shows what it
    // told in a message box over the windows; the preview goes on being drawn
    // while the mailer works, its "E-&mail" held off. Throws Errore 75 when the
    // mail file cannot be written (the mailer is not started), 53 when the
    // mailer cannot be started (the mail file stays).
    void InviaEMail(const std::string& Testo);

    // Shows what the mailer told of the sending in a message box over the
    // windows ("Invio e-mail"), its technical details behind "Dettagli" and on
    // standard error; nothing for a mailer that ended well without a word.
    static void MostraEsitoInvio(const EsitoEsecuzione& esito);

    QPlainTextEdit* Text1() const { return text1_; }
    QPushButton* Tasto(int indice) const { return tasto_.at(indice); }
    std::int16_t AltroTesto() const { return report_ ? report_->AltroTesto() : 0; }

public slots:
    // Escape closes the window as "&Esci" does, asking first for an edited page.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void CreaControlli();
    void Form_Load();
    void Form_Activate();
    void Tasto_Click(int indice);
    void Form_Unload();

    // Button and text box positions for the window's present size.
    void Disponi();
    // Shows the next page of the report, which counts as unchanged.
    void MostraPagina(std::int32_t limite);
    void SalvaPagina();
    // True when the page shown may give way (another page, or the window
    // closing): it is unchanged since it was shown or saved, or the user
    // answers "Salvare le modifiche alla pagina?" with "Si" (the page is saved
    // first; a failed save throws) or "No". "Annulla" keeps it.
    bool PaginaLasciabile();
    // A step on the report file; a file that is not open (error 52) is
    // repaired and the handler goes on with its next step.
    template <class Passo>
    void RiparaSeChiuso(Passo&& passo);
    void CambiaCarattere(double punti);
    // What the mailer told of the sending, for the message box, and the
    // technical details it gave besides; no text for a mailer that ended well
    // without a word.
    static std::pair<QString, QString> EsitoInvio(const EsitoEsecuzione& esito);
    // The text of the box as the core keeps it: Windows-1252, lines ending in CR LF.
    std::string TestoMostrato() const;

    Contesto contesto_;
    AvviaProgramma& avviaProgramma_;
    std::shared_ptr<const Settimana> settimana_;
    std::optional<LetturaReport> report_;
    QPlainTextEdit* text1_ = nullptr;
    std::array<QPushButton*, 7> tasto_{};
    bool chiusa_ = false;
};
