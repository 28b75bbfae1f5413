#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <thread>

#include "common/Contesto.h"
#include "print/IntestazioneStampa.h"
#include "tableau/CreaTableau.h"
#include "tableau/Settimana.h"

class Campo;
class Database;
class LetturaArchivi;
class QComboBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;
class Recordset;
struct Criterio;
struct SessioneArchivio;
struct TableauStampato;

// The main window: the user picks a hotel and one of its tableau definitions,
// the range of rooms and the first day of the week, and builds the tableau
// ("&Stampa": the report and the print menu) or looks at the week as a room
// rack ("&Vedi").
// Unloading it (Esci, or nothing to list) ends the program. The build runs in
// a thread of its own: the window keeps answering, and a build that lasts
// shows what it reads, with "Annulla" to abandon it.
class Brov5Desk : public QWidget {
    Q_OBJECT

public:
    // What "&Stampa" shows once the report is built: the print menu, modal
    // over the main window, for the chosen hotel, with the tableau and the
    // week the report is of.
    using MostraStampe = std::function<void(QWidget& proprietaria, const Contesto& contesto,
                                            std::int16_t numeroHotel, const TableauStampato& tableau)>;

    // What a build is for: the report file ("&Stampa"), or the week alone,
    // the report left as it is, for the room rack ("&Vedi").
    enum class Scopo { Report, Quadro };
    // What the buttons build, in a thread of its own: CreaTableau (or
    // CostruisciSettimana for the room rack) with the window's choices, or
    // what a test puts in its place.
    using Costruzione = std::function<Settimana(UltimaCostruzione& ultima, const Contesto& contesto,
                                                std::int16_t hotel, std::int16_t tableau, const std::string& prima,
                                                const std::string& ultimaCamera, const std::string& dataInizio,
                                                Avanzamento& avanzamento, Scopo scopo)>;
    // What "&Vedi" shows: the room rack, modal over the main window, from the
    // week of `dataInizio`; it builds each week it shows with `fornitore`.
    using MostraQuadro = std::function<void(QWidget& proprietaria, const Contesto& contesto,
                                            const std::function<Settimana(const std::string&)>& fornitore,
                                            const std::string& dataInizio)>;

    // On the data folder and as the workstation of `contesto`, with the
    // program's own print menu and builder.
    explicit Brov5Desk(Contesto contesto);
    Brov5Desk(Contesto contesto, MostraStampe mostraStampe);
    Brov5Desk(Contesto contesto, MostraStampe mostraStampe, Costruzione costruzione);
    Brov5Desk(Contesto contesto, MostraStampe mostraStampe, Costruzione costruzione, MostraQuadro mostraQuadro);
    // Waits for the builds still running, the abandoned ones too, each asked to stop.
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
    // The window of a build that lasts; hidden when none is running. A build
    // for the room rack shows one of its own, over the room rack.
    LetturaArchivi* Lettura() const { return lettura_; }

    // Whether a build started by "&Stampa" is running; the abandoned ones do not count.
    bool InCostruzione() const { return inCorso_ != 0; }
    // How long a build runs before its window shows.
    static constexpr int kAttesaLetturaMs = 500;

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

    // What a build is of: the window's choices when the button was pressed.
    struct Richiesta {
        std::int16_t hotel = 0;
        std::int16_t tableau = 0;
        std::string prima;
        std::string ultima;
        std::string dataInizio;
        TableauStampato stampato;
        Scopo scopo = Scopo::Report;
    };
    enum class Esito { Completa, Errore, Fatale, Annullata };

    // The window's choices, checked as "&Stampa" and "&Vedi" check them;
    // nothing, the user told why, when they are not valid.
    std::optional<Richiesta> RichiestaValida();
    // Starts the build of `richiesta` in a thread of its own; its end comes back through Finita.
    void Costruisci(Richiesta richiesta);
    // The build `numero` tells its step.
    void Avanza(std::uint64_t numero, const QString& passo);
    // The build `numero` has ended with the week `settimana`, or with the
    // failure `errore`. The running one shows the print menu or its error, or
    // hands its week to the room rack waiting for it; an abandoned one is forgotten.
    void Finita(std::uint64_t numero, Esito esito, std::shared_ptr<const Settimana> settimana,
                std::exception_ptr errore);
    void MostraLettura();
    // The window that shows the running build: the main window's own, or the room rack's.
    LetturaArchivi& LetturaInCorso() const;

    // "&Vedi": the room rack of `richiesta`, each week it shows built as a build of the main window is.
    void Vedi(const Richiesta& richiesta);
    // Builds the week of `richiesta` for the room rack and waits for it, the
    // windows painting meanwhile; a build that lasts shows its window over
    // the room rack. Throws CostruzioneAnnullata on "Annulla", and when a
    // build is running already; the build's own error when it fails.
    Settimana SettimanaPerIlQuadro(Richiesta richiesta);
    // "Annulla": the running build is abandoned and the window ready for another.
    void Annulla();
    // The running build is asked to stop and no longer awaited; the previous
    // report stays. The next build does not wait for it: it starts with
    // databases of its own.
    void Abbandona();

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
    std::array<QToolButton*, 3> tasto_{};
    std::array<QLabel*, 5> label1_{};

    Contesto contesto_;
    // What the store keeps while the window lives: its own databases and the builds share it.
    std::shared_ptr<SessioneArchivio> sessione_;
    // The databases kept for the next build; an abandoned build keeps its own.
    std::shared_ptr<UltimaCostruzione> ultimaCostruzione_;
    std::array<std::unique_ptr<Database>, 3> DbDesk;
    std::array<std::unique_ptr<Recordset>, 3> RsDesk;

    MostraStampe mostraStampe_;
    Costruzione costruzione_;
    MostraQuadro mostraQuadro_;
    // While the room rack waits for a week: its window of the build, the
    // loop it waits in, and what the build has given.
    struct AttesaQuadro {
        LetturaArchivi* lettura = nullptr;
        QEventLoop* ciclo = nullptr;
        std::optional<Esito> esito;
        std::shared_ptr<const Settimana> settimana;
        std::exception_ptr errore;
    };
    AttesaQuadro* attesaQuadro_ = nullptr;
    // The threads of the builds not yet ended, by number; the running one is `inCorso_` (0: none).
    std::map<std::uint64_t, std::jthread> lavori_;
    std::uint64_t inCorso_ = 0;
    std::uint64_t ultimoNumero_ = 0;
    Richiesta richiesta_;
    QTimer* attesaLettura_ = nullptr;
    LetturaArchivi* lettura_ = nullptr;
    bool scaricata_ = false;
    int codiceUscita_ = 0;
};

struct OpzioniAvvio;

// Runs the program's windows: creates the application, finds the data folder
// (asking for it when started outside one), loads the main window and waits
// until it is unloaded. Returns the program's exit status.
int AvviaBrov5Desk(int argc, char** argv, const OpzioniAvvio& opzioni);
