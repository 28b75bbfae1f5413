#pragma once

#include <QDialog>

#include <optional>

#include "app/qt/CartellaSalvata.h"
#include "common/Contesto.h"

class QLabel;
class QLineEdit;
class QPushButton;
struct OpzioniAvvio;

// Asks for the suite's data folder and the workstation number, when the
// program starts outside a data folder with nothing saved, or on request
// (brovato5 --configura). "Apri" accepts them only for a folder holding the
// suite's files and a number of digits; otherwise a message says what is wrong.
class SceltaCartellaDati : public QDialog {
    Q_OBJECT

public:
    // `proposta`: the values the boxes show at first; `avviso`, when not
    // empty, why the dialog has come (shown above the explanation).
    explicit SceltaCartellaDati(const CartellaPostazione& proposta, const QString& avviso = {},
                                QWidget* proprietaria = nullptr);

    // The values accepted ("Apri"), the folder as an absolute path.
    CartellaPostazione Scelta() const;

    QLabel* Avviso() const { return avviso_; }
    QLineEdit* Cartella() const { return cartella_; }
    QLineEdit* Postazione() const { return postazione_; }
    QPushButton* Sfoglia() const { return sfoglia_; }
    QPushButton* Apri() const { return apri_; }
    QPushButton* Annulla() const { return annulla_; }

private:
    void CreaControlli(const CartellaPostazione& proposta, const QString& avviso);
    void Sfoglia_Click();
    void Apri_Click();
    QString CartellaAssoluta() const;

    QLabel* avviso_ = nullptr;
    QLineEdit* cartella_ = nullptr;
    QLineEdit* postazione_ = nullptr;
    QPushButton* sfoglia_ = nullptr;
    QPushButton* apri_ = nullptr;
    QPushButton* annulla_ = nullptr;
};

// The data folder the window program works in, opened, and the workstation
// number. Started in a data folder, or with --cartella, that folder;
// elsewhere the saved values, asked for (and saved) when none are saved, the
// saved folder no longer holds the suite's files, or --configura asks for
// it. PCLocal (from the environment or --postazione) wins over the saved
// number. Nothing when the user closed the dialog without choosing: the
// program ends. Throws Errore 76 when the folder cannot be opened.
std::optional<Contesto> PreparaCartellaDati(const OpzioniAvvio& opzioni);
