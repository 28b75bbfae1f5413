#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/Contesto.h"
#include "tableau/CreaTableau.h"

class Campo;
class Database;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class Recordset;
struct Criterio;
struct SessioneArchivio;
struct TableauStampato;

// The main window: the user picks a hotel and one of its tableau definitions,
// the range of rooms and the first day of the week, and builds the tableau.
// Unloading it (Esci, or nothing to list) ends the program.
class Brov5Desk : public QWidget {
    Q_OBJECT

public:
    // What "&Stampa" shows once the report is built: the print menu, modal
    // over the main window, for the chosen hotel, with the tableau and the
    // week the report is of.
    using MostraStampe = std::function<void(QWidget& proprietaria, const Contesto& contesto,
                                            std::int16_t numeroHotel, const TableauStampato& tableau)>;

    // On the data folder and as the workstation of `contesto`, with the
    // program's own print menu.
    explicit Brov5Desk(Contesto contesto);
    Brov5Desk(Contesto contesto, MostraStampe mostraStampe);
    ~Brov5Desk() override;

    // Loads the window, shows it and runs its first activation. False when it
    // is already unloaded (nothing to list, or a fatal error).
    bool Avvia();

    bool Scaricata() const { return scaricata_; }
    // Exit status of the program once the window is unloaded: 0, or 1 after a fatal error.
    int CodiceUscita() const { return codiceUscita_; }

    QComboBox* Combo1(int indice) const { return combo1_.at(indice); }
    QLineEdit* Text1(int indice) const { return text1_.at(indice); }
    QToolButton* Tasto(int indice) const { return tasto_.at(indice); }
    QLabel* Label1(int indice) const { return label1_.at(indice); }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    void CreaControlli();

    void Form_Load();
    void Form_Activate();
    void Combo1_Click(int indice);
    void Text1_GotFocus(int indice);
    void Text1_KeyPress(int indice, int keyAscii);
    void Tasto_Click(int indice);
    void Form_Unload();

    // Builds the tableau of the window's choices; false when the build failed (its error shown).
    bool Costruisci();

    // Adds an entry to list `indice` for every record of `tabella` that
    // `criterio` finds and selects the first, which runs the list's selection
    // step; with no record the window is unloaded.
    void RiempiElenco(int indice, Recordset& tabella, const Criterio& criterio, const Campo& campoCodice,
                      const Campo& campoDescrizione);
    void ScegliHotel();
    void ScegliTableau();
    // Shows a message of this window; the choices made stay as they are.
    void Avvisa(const QString& messaggio, const QString& titolo);
    // The print menu has closed: the window is the active one again.
    void Riattiva();
    void Scarica();
    void ErroreFatale(const QString& testo);
    template <class Azione>
    void Protetto(Azione&& azione);

    std::string Testo(int indice) const;
    void ImpostaTesto(int indice, const std::string& testo);

    std::array<QComboBox*, 2> combo1_{};
    std::array<QLineEdit*, 3> text1_{};
    std::array<QToolButton*, 2> tasto_{};
    std::array<QLabel*, 5> label1_{};

    Contesto contesto_;
    // What the store keeps while the window lives: its own databases and the builds share it.
    std::shared_ptr<SessioneArchivio> sessione_;
    UltimaCostruzione ultimaCostruzione_;
    std::array<std::unique_ptr<Database>, 3> DbDesk;
    std::array<std::unique_ptr<Recordset>, 3> RsDesk;

    MostraStampe mostraStampe_;
    bool scaricata_ = false;
    int codiceUscita_ = 0;
};

struct OpzioniAvvio;

// Runs the program's windows: creates the application, finds the data folder
// (asking for it when started outside one), loads the main window and waits
// until it is unloaded. Returns the program's exit status.
int AvviaBrov5Desk(int argc, char** argv, const OpzioniAvvio& opzioni);
