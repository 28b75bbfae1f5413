#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>

#include "common/forms/Aspetto.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The program's own message box: a title line and a border of its own instead
// of the platform's frame, the message, and up to three buttons chosen by the
// style code (the numbering of the standard message box). It sizes itself to
// the text and records the code of the button pressed. One box per message:
// each starts again from the design sizes and captions.
class MsgBox_Form : public QDialog {
    Q_OBJECT

public:
    // Loads the box: design sizes, centred on the screen, above all windows.
    // `proprietaria` is the window it belongs to (none for a message at start-up).
    explicit MsgBox_Form(QWidget* proprietaria = nullptr);

    // Title, message (lines separated by CR LF) and buttons of the style.
    // `dettagli`, when not empty, is technical text kept out of the message:
    // a "Dettagli" switch under the buttons shows it below them.
    void Configura(const QString& messaggio, std::int16_t stile, const QString& titolo,
                   const QString& dettagli = {});

    // Rows to reserve for the text: one per line, plus one.
    static int CalcolaRighe(const QString& testo);
    // Character columns to reserve: the widest line (at least 50), plus one.
    static int CalcolaColonne(const QString& testo);

    // Code of the button pressed: 0 "Ok", 6 "Si", 7 the second button,
    // 2 the third. A box closed without a button gives 0 when it offers only
    // "Ok", 7 when it offers "Si" and "No", 2 when it offers "Annulla".
    std::int16_t Esito() const { return esito_; }

    // Geometry in twips as laid out: the box (Left, Top on the screen) and its controls.
    const RettangoloTwip& Forma() const { return forma_; }
    const RettangoloTwip& GeometriaLabel1() const { return label1_; }
    const RettangoloTwip& GeometriaText1() const { return text1_; }
    const RettangoloTwip& GeometriaT(int indice) const { return t_.at(indice); }
    const RettangoloTwip& GeometriaShape1() const { return shape1_; }

    QLabel* Label1() const { return label1Controllo_; }
    QPlainTextEdit* Text1() const { return text1Controllo_; }
    QPushButton* T(int indice) const { return tControllo_.at(indice); }
    QToolButton* MostraDettagli() const { return dettagliTasto_; }
    QPlainTextEdit* Dettagli() const { return dettagliTesto_; }

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void CreaControlli();
    void Form_Load();
    void Form_Activate();
    void T_Click(int indice);
    void DisponiPulsanti();
    // Twips the longest line of the message takes in the message's face, with the box's margins.
    int LarghezzaDelTesto() const;
    void Dimensiona();
    // The "Dettagli" switch under the buttons and, when it is on, the details below it.
    void DimensionaDettagli();
    void ApplicaGeometria();

    std::int16_t stile_ = 0;
    std::int16_t esito_ = 0;
    QString testo_;
    bool attivata_ = false;

    RettangoloTwip forma_;
    RettangoloTwip label1_;
    RettangoloTwip text1_;
    std::array<RettangoloTwip, 3> t_;
    RettangoloTwip shape1_;
    RettangoloTwip geometriaDettagliTasto_;
    RettangoloTwip geometriaDettagli_;

    QLabel* label1Controllo_ = nullptr;
    QPlainTextEdit* text1Controllo_ = nullptr;
    std::array<QPushButton*, 3> tControllo_{};
    QWidget* shape1Controllo_ = nullptr;
    QToolButton* dettagliTasto_ = nullptr;
    QPlainTextEdit* dettagliTesto_ = nullptr;
};

// Announces every message box as it comes on screen, laid out and waiting for
// a button; whoever must know about it (a script answering the box) connects here.
class AvvisoMessaggi : public QObject {
    Q_OBJECT

public:
    static AvvisoMessaggi& Istanza();

signals:
    void Mostrato(MsgBox_Form* box);
};
