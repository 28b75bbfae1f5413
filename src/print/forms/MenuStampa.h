#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "common/Contesto.h"
#include "common/Routine.h"
#include "print/DatiMenuStampa.h"
#include "print/IntestazioneStampa.h"

class ApriDocumento;
class AvviaProgramma;
class QCheckBox;
class QComboBox;
class QLabel;
class QToolButton;
class Stampante;

// What the print menu works with besides the current folder: the printer
// object, the desktop's document opener, the starter of the mailer (for the
// preview) and the clock that dates the archive copy.
struct ServiziStampa {
    Stampante& stampante;
    ApriDocumento& apriDocumento;
    AvviaProgramma& avviaProgramma;
    Orologio orologio = TempoLocale;
};

// The print menu, "Stampe non modificabili": shown modally after every build.
// Loading it files a dated copy of the report under "doc"; from it the user
// prints the report, makes a PDF of it, previews it, exports it for a
// spreadsheet, opens the archive copy, or closes it.
class MenuStampa : public QDialog {
    Q_OBJECT

public:
    // For the report of the data folder and workstation of `contesto`.
    // `numeroHotel` is the hotel chosen in the main window; the menu prints
    // with its page length, hotel 1's when none is chosen (0). `tableau` is
    // the tableau and week the report was built for, named in the heading of
    // the pages printed through the driver.
    MenuStampa(Contesto contesto, ServiziStampa servizi, std::int16_t numeroHotel, QWidget* proprietaria = nullptr,
               TableauStampato tableau = {});
    ~MenuStampa() override;

    // Loads the menu and runs its first activation. False when it has closed
    // itself because hotel 1 has no print destination.
    bool Avvia();
    // Loads it, and shows it modally until it is closed.
    void Mostra();

    // The archive copy made at loading, as a path in the data folder ("doc/fd…").
    std::string NomeArchivio() const;
    // The hotel whose page length the prints take.
    std::int16_t NumeroHotel() const { return numeroHotel_; }
    const std::string& CodiceAssistenza() const { return codiceAssistenza_; }

    QComboBox* Combo1() const { return combo1_; }
    QComboBox* Combo2() const { return combo2_; }
    QCheckBox* Chk() const { return chk_; }
    QCheckBox* Chk2() const { return chk2_; }
    QCheckBox* Chk3() const { return chk3_; }
    QToolButton* Tst(int indice) const { return tst_.at(indice); }
    QLabel* Label1(int indice) const { return label1_.at(indice); }
    // The line under the buttons that tells where the last print, PDF or export went.
    QLabel* Esito() const { return esito_; }

private:
    void CreaControlli();
    void Form_Load();
    void Form_Activate();
    void Tst_Click(int Index);

    // Prints the report with the window's choices; `comePdf` for the PDF
    // button, which prints on the PDF destination's own printer whatever
    // "Stampante" holds.
    void Stampa(bool comePdf = false);
    void StampaPdf();
    void Esporta();
    // Opens `documento` (UTF-8 name) with the desktop's program; when none
    // starts, the line `esito` says so and where the file is.
    void ApriEsito(const std::string& documento, QString esito);
    // Shows the archive copy made at loading, read only; Errore 53 when there is none.
    void ApriCopiaArchivio();
    void MostraAnteprima();
    void Chiudi();

    Contesto contesto_;
    ServiziStampa servizi_;
    std::int16_t numeroHotel_;
    TableauStampato tableau_;
    std::string nomeArchivio_;
    std::string codiceAssistenza_;
    bool chiusa_ = false;

    std::array<QLabel*, 3> label1_{};
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QCheckBox* chk_ = nullptr;
    QCheckBox* chk2_ = nullptr;
    QCheckBox* chk3_ = nullptr;
    std::array<QToolButton*, 6> tst_{};
    QLabel* esito_ = nullptr;
};

// Shows the print menu modally over `proprietaria` with the program's own
// platform objects: the Qt printer, made at the first call and kept as long
// as the function (so a printer chosen stays active), the desktop's document
// opener and the program starter.
std::function<void(QWidget& proprietaria, const Contesto& contesto, std::int16_t numeroHotel,
                   const TableauStampato& tableau)>
MenuStampaDelSistema();
