#pragma once

#include <QDialog>

#include <cstddef>
#include <optional>
#include <string>

#include "common/Contesto.h"
#include "common/Routine.h"
#include "print/DatiMenuStampa.h"
#include "quadro/ImpaginaQuadro.h"
#include "quadro/Quadro.h"
#include "quadro/forms/GrigliaQuadro.h"

class ApriDocumento;
class AvviaProgramma;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class StampantePagine;

// What the window works with besides the data folder: the printer of the
// picture, the desktop's document opener, the starter of the mailer and the
// clock (what today is, when a print was made).
struct ServiziQuadro {
    StampantePagine& stampante;
    ApriDocumento& apriDocumento;
    AvviaProgramma& avviaProgramma;
    Orologio orologio = TempoLocale;
};

// "Tableau a video": the week as a room rack. Rooms down, days across, a bar
// per stay; the week stepped by the buttons, the date field and the keys;
// rooms filtered by type, floor and state; names searched; a cell opened for
// its parties in full; the picture printed, saved as PDF or mailed. A week
// printed before shows what changed since. The filters and the paper stay
// remembered for the workstation.
class TableauVideo : public QDialog {
    Q_OBJECT

public:
    TableauVideo(Contesto contesto, FornitoreSettimana fornitore, ServiziQuadro servizi, QWidget* proprietaria = nullptr);
    ~TableauVideo() override;

    // Shows the week from `dataInizio` (dd/mm/yyyy). False when it could not be built (the error shown).
    bool Avvia(const std::string& dataInizio);

    // The week from `data` (dd/mm/yyyy) in place of the one shown; a build
    // that fails is shown as an error and the week shown stays.
    void VaiA(const std::string& data);
    // The week `giorni` days later (earlier when negative), and today's.
    void Sposta(int giorni);
    void VaiAOggi();
    // Shows the parties of room `camera` (index in the week) on day `giorno` in full.
    void ApriCella(std::size_t camera, int giorno);

    const Settimana& SettimanaMostrata() const { return settimana_; }
    const std::string& DataInizio() const { return dataInizio_; }
    const VistaQuadro& Vista() const { return vista_; }

    GrigliaQuadro* Griglia() const { return griglia_; }
    QLineEdit* CampoData() const { return data_; }
    QComboBox* FiltroTipo() const { return tipo_; }
    QComboBox* FiltroPiano() const { return piano_; }
    QComboBox* FiltroStato() const { return stato_; }
    QLineEdit* Ricerca() const { return cerca_; }
    QLabel* Trovate() const { return trovate_; }
    QCheckBox* A3() const { return a3_; }
    QGroupBox* RiquadroVariazioni() const { return riquadro_; }
    QListWidget* ElencoVariazioni() const { return elencoVariazioni_; }
    QDialog* Dettagli() const { return dettagli_; }
    QTextBrowser* TestoDettagli() const { return testoDettagli_; }
    QLabel* Esito() const { return esito_; }
    QToolButton* TastoStampa() const { return stampa_; }
    QToolButton* TastoPdf() const { return pdf_; }
    QToolButton* TastoEMail() const { return email_; }

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void CreaControlli();
    QToolButton* Tasto(const QString& testo, const QString& suggerimento);
    // The one place the week is asked for: what the provider builds, or
    // nothing when it failed (its error shown).
    std::optional<Settimana> Costruisci(const std::string& data);
    // Shows `settimana`, the week from `data`, with the changes since its last print.
    void Mostra(Settimana settimana, const std::string& data);
    void LeggiVariazioni();
    void RiempiFiltri();
    void Filtra();
    void Cerca();
    void VaiAllaProssimaTrovata();
    void MostraVariazioni();
    void DataConfermata();
    FiltroQuadro FiltroScelto() const;
    FormatoCarta Formato() const;

    void Stampa();
    void Pdf();
    void EMail();
    // The pages of the picture as printed now: the rooms listed, the changes since the last print.
    std::string SalvaPdf(const std::tm& ora);
    // Keeps the week's model as printed at `ora`: it is what the next opening compares with.
    void Conserva(const std::tm& ora);

    void LeggiImpostazioni();
    void SalvaImpostazioni() const;

    Contesto contesto_;
    FornitoreSettimana fornitore_;
    ServiziQuadro servizi_;
    Settimana settimana_;
    std::string dataInizio_;
    bool stampata_ = false;  // the week shown was printed before: its changes are shown
    std::string avvisoVariazioni_;  // why the changes cannot be shown, when the kept print is damaged
    VistaQuadro vista_;
    bool riempiendo_ = false;

    GrigliaQuadro* griglia_ = nullptr;
    QLineEdit* data_ = nullptr;
    QComboBox* tipo_ = nullptr;
    QComboBox* piano_ = nullptr;
    QComboBox* stato_ = nullptr;
    QLineEdit* cerca_ = nullptr;
    QLabel* trovate_ = nullptr;
    QCheckBox* a3_ = nullptr;
    QLabel* totaliSettimana_ = nullptr;
    QGroupBox* riquadro_ = nullptr;
    QListWidget* elencoVariazioni_ = nullptr;
    QLabel* esito_ = nullptr;
    QToolButton* stampa_ = nullptr;
    QToolButton* pdf_ = nullptr;
    QToolButton* email_ = nullptr;
    QDialog* dettagli_ = nullptr;
    QTextBrowser* testoDettagli_ = nullptr;
};

// Shows "Tableau a video" modally over `proprietaria` for the week from
// `dataInizio`, built by `fornitore`, with the program's own printer,
// document opener and program starter.
void MostraTableauVideo(QWidget& proprietaria, const Contesto& contesto, FornitoreSettimana fornitore,
                        const std::string& dataInizio);
