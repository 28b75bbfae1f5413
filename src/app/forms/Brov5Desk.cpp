#include "app/forms/Brov5Desk.h"

#include <QCloseEvent>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QScopeGuard>
#include <QToolButton>

#include <algorithm>
#include <iostream>

#include "app/Globali.h"
#include "app/forms/LetturaArchivi.h"
#include "archivio/Database.h"
#include "archivio/Sessione.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "common/forms/Aspetto.h"
#include "common/forms/Icone.h"
#include "common/forms/MostraMessaggio.h"
#include "common/forms/Tastiera.h"
#include "common/forms/TestoQt.h"
#include "print/forms/MenuStampa.h"
#include "quadro/forms/TableauVideo.h"
#include "tableau/CreaTableau.h"
#include "tableau/Criteri.h"
#include "tableau/IntervalloCamere.h"

namespace {

// Client area and controls, in twips.
constexpr RettangoloTwip kForma{0, 0, 4125, 3870};
constexpr std::array<RettangoloTwip, 2> kCombo1{{{1320, 120, 2655, 330}, {1320, 480, 2655, 330}}};
constexpr std::array<RettangoloTwip, 3> kText1{{{1440, 1080, 972, 288}, {1440, 1680, 972, 288}, {1440, 2280, 1215, 288}}};
// "&Stampa", "&Esci", and "&Vedi" in the space between them.
constexpr std::array<RettangoloTwip, 3> kTasto{
    {{120, 2760, 1608, 1050}, {2400, 2760, 1608, 1050}, {1768, 2760, 592, 1050}}};
constexpr std::array<RettangoloTwip, 3> kShape1{{{1320, 960, 1215, 495}, {1320, 1560, 1215, 495}, {1320, 2160, 1455, 495}}};
// Labels, each to the left of its control: 0 tableau list, 1 first room,
// 2 last room, 3 start date, 4 hotel list.
constexpr std::array<RettangoloTwip, 5> kLabel1{{{60, 480, 1230, 330},
                                                 {60, 1080, 1230, 288},
                                                 {60, 1680, 1230, 288},
                                                 {60, 2280, 1230, 288},
                                                 {60, 120, 1230, 330}}};
const std::array<const char*, 5> kDidascalieLabel1 = {"N. Tableau ", "Dalla Camera ", "Alla Camera ", "Data inizio ",
                                                      "N. Hotel "};
constexpr std::array<int, 3> kLunghezzaText1 = {6, 6, 10};

const QColor kSfondo(192, 192, 255);
const QColor kSfondoElenchi(255, 224, 192);

constexpr int kInvio = 13;
constexpr std::int16_t kStileAvviso = 48;

const QString kTitoloCamere = QStringLiteral("Camere errate!");
const QString kMessaggioCamere = QStringLiteral("Controllare l'intervallo di camere richiesto!");
const QString kTitoloData = QStringLiteral("Data errata!");
const QString kMessaggioData = QStringLiteral("La data deve essere inserita \r\nnel formato gg/mm/aaaa");

// A list entry: the code right-aligned in three characters, a blank, the description.
QString VoceElenco(std::int64_t codice, const std::string& descrizione) {
    std::string voce = TestoIntero(codice);
    if (voce.size() < 3) voce.insert(0, 3 - voce.size(), ' ');
    return DaCp1252(voce + " " + descrizione);
}

// Code of the selected entry of a list.
std::int16_t CodiceScelto(const QComboBox& elenco) {
    return static_cast<std::int16_t>(elenco.currentData().toInt());
}

// Long names are cut in the list's field: the open list is as wide as its
// longest entry, and each entry, like the field, shows itself whole as a tooltip.
void MostraVociIntere(QComboBox& elenco) {
    const QFontMetrics metriche(elenco.view()->font());
    int larghezza = 0;
    for (int i = 0; i < elenco.count(); ++i) {
        elenco.setItemData(i, elenco.itemText(i), Qt::ToolTipRole);
        larghezza = std::max(larghezza, metriche.horizontalAdvance(elenco.itemText(i)));
    }
    const int margini = 2 * elenco.view()->frameWidth() + elenco.style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        metriche.averageCharWidth() * 2;
    elenco.view()->setMinimumWidth(larghezza + margini);
}

// The builder of the program, with the steps it tells and the stop it heeds:
// the report for the print menu, the week alone for the room rack.
Settimana CreaTableauDelProgramma(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel,
                                  std::int16_t tableau, const std::string& prima, const std::string& ultimaCamera,
                                  const std::string& dataInizio, Avanzamento& avanzamento, Brov5Desk::Scopo scopo) {
    if (scopo == Brov5Desk::Scopo::Quadro)
        return CostruisciSettimana(ultima, contesto, hotel, tableau, prima, ultimaCamera, dataInizio, avanzamento);
    return CreaTableau(ultima, contesto, hotel, tableau, prima, ultimaCamera, dataInizio, avanzamento);
}

void ColoraSfondo(QWidget& controllo, const QColor& colore) {
    QPalette tavolozza = controllo.palette();
    tavolozza.setColor(QPalette::Base, colore);
    tavolozza.setColor(QPalette::Button, colore);
    tavolozza.setColor(QPalette::Window, colore);
    controllo.setPalette(tavolozza);
}

}  // namespace

Brov5Desk::Brov5Desk(Contesto contesto) : Brov5Desk(std::move(contesto), MenuStampaDelSistema()) {}

Brov5Desk::Brov5Desk(Contesto contesto, MostraStampe mostraStampe)
    : Brov5Desk(std::move(contesto), std::move(mostraStampe), CreaTableauDelProgramma) {}

Brov5Desk::Brov5Desk(Contesto contesto, MostraStampe mostraStampe, Costruzione costruzione)
    : Brov5Desk(std::move(contesto), std::move(mostraStampe), std::move(costruzione), MostraTableauVideo) {}

Brov5Desk::Brov5Desk(Contesto contesto, MostraStampe mostraStampe, Costruzione costruzione, MostraQuadro mostraQuadro)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      contesto_(std::move(contesto)),
      sessione_(std::make_shared<SessioneArchivio>()),
      ultimaCostruzione_(std::make_shared<UltimaCostruzione>(sessione_)),
      mostraStampe_(std::move(mostraStampe)),
      costruzione_(std::move(costruzione)),
      mostraQuadro_(std::move(mostraQuadro)) {
    CreaControlli();
}

Brov5Desk::~Brov5Desk() {
    // Joined while the window is whole: what a build still sends it is posted to a live object, then dropped.
    lavori_.clear();
}

void Brov5Desk::CreaControlli() {
    setWindowTitle(QStringLiteral("Tableau Brovato"));
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Window, kSfondo);
    setPalette(tavolozza);
    setAutoFillBackground(true);
    setFixedSize(InPixel(*this, kForma).size());

    for (int i = 0; i < 5; ++i) {
        label1_[i] = new QLabel(QString::fromLatin1(kDidascalieLabel1[i]), this);
        label1_[i]->setFont(Carattere(QStringLiteral("Corbel"), 9.75));
        label1_[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Posiziona(*label1_[i], kLabel1[i]);
    }
    for (int i = 0; i < 2; ++i) {
        combo1_[i] = new QComboBox(this);
        combo1_[i]->setEditable(false);
        combo1_[i]->setFont(Carattere(QStringLiteral("Arial"), 8.25, true));
        ColoraSfondo(*combo1_[i], kSfondoElenchi);
        Posiziona(*combo1_[i], kCombo1[i]);
        // A pick by the user; the program's own selections call Combo1_Click themselves.
        connect(combo1_[i], &QComboBox::activated, this, [this, i] { Protetto([&] { Combo1_Click(i); }); });
        connect(combo1_[i], &QComboBox::currentTextChanged, combo1_[i], &QWidget::setToolTip);
    }
    for (int i = 0; i < 3; ++i) {
        text1_[i] = new QLineEdit(this);
        text1_[i]->setMaxLength(kLunghezzaText1[i]);
        text1_[i]->setFont(Carattere(QStringLiteral("Arial"), 9.75));
        ColoraSfondo(*text1_[i], Qt::white);
        Posiziona(*text1_[i], kText1[i]);
        text1_[i]->installEventFilter(this);
    }
    const std::array<QString, 3> didascalie = {QStringLiteral("&Stampa"), QStringLiteral("&Esci"),
                                               QStringLiteral("&Vedi")};
    const std::array<QIcon, 3> icone = {IconaStampa(), IconaEsci(), IconaAnteprima()};
    for (int i = 0; i < 3; ++i) {
        tasto_[i] = new QToolButton(this);
        tasto_[i]->setText(didascalie[i]);
        tasto_[i]->setIcon(icone[i]);
        tasto_[i]->setIconSize(QSize(TwipInPixelX(*this, 480), TwipInPixelY(*this, 480)));
        tasto_[i]->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tasto_[i]->setFocusPolicy(Qt::StrongFocus);
        // "&Vedi", narrower, in a smaller face.
        tasto_[i]->setFont(Carattere(QStringLiteral("Corbel"), i == 2 ? 9.75 : 12, i == 1));
        Posiziona(*tasto_[i], kTasto[i]);
        PremeConInvio(*tasto_[i]);
        connect(tasto_[i], &QToolButton::clicked, this, [this, i] { Protetto([&] { Tasto_Click(i); }); });
    }
    // Focus order: the three boxes, the buttons left to right, then the tableau and the hotel list.
    setTabOrder(text1_[0], text1_[1]);
    setTabOrder(text1_[1], text1_[2]);
    setTabOrder(text1_[2], tasto_[0]);
    setTabOrder(tasto_[0], tasto_[2]);
    setTabOrder(tasto_[2], tasto_[1]);
    setTabOrder(tasto_[1], combo1_[1]);
    setTabOrder(combo1_[1], combo1_[0]);

    lettura_ = new LetturaArchivi(*this);
    connect(lettura_, &QDialog::rejected, this, [this] { Annulla(); });
    attesaLettura_ = new QTimer(this);
    attesaLettura_->setSingleShot(true);
    attesaLettura_->setInterval(kAttesaLetturaMs);
    connect(attesaLettura_, &QTimer::timeout, this, [this] { MostraLettura(); });
}

bool Brov5Desk::Avvia() {
    Protetto([&] {
        Form_Load();
        if (const QScreen* schermo = QGuiApplication::primaryScreen())
            move(schermo->availableGeometry().center() - rect().center());
        show();
        Form_Activate();
    });
    return !scaricata_;
}

template <class Azione>
void Brov5Desk::Protetto(Azione&& azione) {
    try {
        azione();
    } catch (const Errore& errore) {
        ErroreFatale(QString::fromStdString(errore.Testo()));
    } catch (const std::exception& errore) {
        ErroreFatale(QString::fromStdString(TestoErrore(errore)));
    }
}

void Brov5Desk::ErroreFatale(const QString& testo) {
    std::cerr << testo.toStdString() << '\n';
    MostraMessaggio(testo, kStileAvviso, QStringLiteral("Errore"));
    codiceUscita_ = 1;
    Scarica();
}

void Brov5Desk::Form_Load() {
    RiempiTabelleComuni();
    DbDesk[0] = Database::Apri(contesto_.cartella, "Tableau.mdb", sessione_);
    RsDesk[0] = DbDesk[0]->OpenRecordset(TabellaTableau());
    DbDesk[1] = Database::Apri(contesto_.cartella, "AnagraficaHotels.mdb", sessione_);
    RsDesk[1] = DbDesk[1]->OpenRecordset(TabellaHotel());
    DbDesk[2] = Database::Apri(contesto_.cartella, "NumeriCamere.mdb", sessione_);
    RsDesk[2] = DbDesk[2]->OpenRecordset(TabellaNumeriCamere());
}

void Brov5Desk::Form_Activate() {
    if (scaricata_) return;
    for (QComboBox* elenco : combo1_) elenco->clear();
    ImpostaTesto(2, DataOdierna());
    RiempiElenco(0, *RsDesk[1], CriterioElencoHotel(), campo::Numero, campo::RagioneSociale);
    if (scaricata_) return;
    text1_[0]->setFocus();
}

void Brov5Desk::RiempiElenco(int indice, Recordset& tabella, const Criterio& criterio, const Campo& campoCodice,
                             const Campo& campoDescrizione) {
    QComboBox& elenco = *combo1_[indice];
    for (tabella.FindFirst(criterio); !tabella.NoMatch(); tabella.FindNext(criterio)) {
        const std::int64_t codice = tabella[campoCodice].Intero();
        elenco.addItem(VoceElenco(codice, tabella[campoDescrizione].Testo()), QVariant::fromValue(codice));
    }
    if (elenco.count() == 0) {
        Scarica();
        return;
    }
    MostraVociIntere(elenco);
    elenco.setCurrentIndex(0);
    Combo1_Click(indice);
}

void Brov5Desk::Combo1_Click(int indice) {
    if (indice == 0)
        ScegliHotel();
    else
        ScegliTableau();
}

void Brov5Desk::ScegliHotel() {
    NumeroHotelCorrente = CodiceScelto(*combo1_[0]);
    combo1_[1]->clear();
    RiempiElenco(1, *RsDesk[0], CriterioElencoTableau(NumeroHotelCorrente), campo::Codice, campo::Descrizione);
}

void Brov5Desk::ScegliTableau() {
    // Proposes the range from the lowest to the highest room of the chosen
    // tableau, counting only rooms of a type of Tipologia "C".
    auto dbTipi = Database::Apri(contesto_.cartella, "TipiCamere.mdb", sessione_);
    auto tipi = dbTipi->OpenRecordset(TabellaTipiCamere());
    NumeroTableauCorrente = CodiceScelto(*combo1_[1]);
    const IntervalloCamere intervallo = IntervalloDelTableau(*RsDesk[2], *tipi, NumeroHotelCorrente, NumeroTableauCorrente);
    dbTipi->Close();
    ImpostaTesto(0, intervallo.prima);
    ImpostaTesto(1, intervallo.ultima);
    tasto_[0]->setFocus();
}

void Brov5Desk::Text1_GotFocus(int indice) { text1_[indice]->selectAll(); }

void Brov5Desk::Text1_KeyPress(int indice, int keyAscii) {
    if (keyAscii != kInvio) return;
    ImpostaTesto(indice, PulisciTesto(Testo(indice), 0));
    if (indice == 0) {
        text1_[1]->setFocus();
    } else if (indice == 1) {
        if (Testo(1) > Testo(0))
            text1_[2]->setFocus();
        else
            Avvisa(kMessaggioCamere, kTitoloCamere);
    } else {
        std::string data = Testo(2);
        ImpostaTesto(2, CompletaData(data));
        if (ControllaData(data)) {
            tasto_[0]->setFocus();
        } else {
            Avvisa(kMessaggioData, kTitoloData);
            ImpostaTesto(2, DataOdierna());
        }
    }
}

void Brov5Desk::Tasto_Click(int indice) {
    if (indice == 1) {
        Scarica();
        return;
    }
    if (InCostruzione()) return;
    auto richiesta = RichiestaValida();
    if (!richiesta) return;
    if (indice == 2) Vedi(*richiesta);
    else Costruisci(std::move(*richiesta));
}

std::optional<Brov5Desk::Richiesta> Brov5Desk::RichiestaValida() {
    if (Testo(1) < Testo(0)) {
        Avvisa(kMessaggioCamere, kTitoloCamere);
        text1_[0]->setFocus();
        return std::nullopt;
    }
    std::string data = Testo(2);
    if (!ControllaData(data)) {
        Avvisa(kMessaggioData, kTitoloData);
        ImpostaTesto(2, DataOdierna());
        text1_[2]->setFocus();
        return std::nullopt;
    }
    return Richiesta{NumeroHotelCorrente, NumeroTableauCorrente, Testo(0), Testo(1), Testo(2),
                     {NumeroTableauCorrente, data, nullptr}};
}

void Brov5Desk::Vedi(const Richiesta& richiesta) {
    mostraQuadro_(*this, contesto_, [this, richiesta](const std::string& dataInizio) {
        Richiesta settimana = richiesta;
        settimana.dataInizio = dataInizio;
        return SettimanaPerIlQuadro(std::move(settimana));
    }, richiesta.dataInizio);
    // Back from the room rack the choices stay as they were.
    activateWindow();
    tasto_[2]->setFocus();
}

Settimana Brov5Desk::SettimanaPerIlQuadro(Richiesta richiesta) {
    // A key of the room rack while its week is being built (the wait runs
    // its events) asks for no second one: the week being built comes first.
    if (InCostruzione()) throw CostruzioneAnnullata();
    richiesta.scopo = Scopo::Quadro;
    QWidget* quadro = QApplication::activeModalWidget();
    LetturaArchivi lettura(quadro ? *quadro : *this);
    QEventLoop ciclo;
    AttesaQuadro attesa;
    attesa.lettura = &lettura;
    attesa.ciclo = &ciclo;
    attesaQuadro_ = &attesa;
    const auto fine = qScopeGuard([this] { attesaQuadro_ = nullptr; });
    connect(&lettura, &QDialog::rejected, &ciclo, [this, &ciclo] {
        Abbandona();
        ciclo.quit();
    });
    Costruisci(std::move(richiesta));
    ciclo.exec();
    if (!attesa.esito || *attesa.esito == Esito::Annullata) throw CostruzioneAnnullata();
    if (*attesa.esito != Esito::Completa) std::rethrow_exception(attesa.errore);
    return *attesa.settimana;
}

LetturaArchivi& Brov5Desk::LetturaInCorso() const { return attesaQuadro_ ? *attesaQuadro_->lettura : *lettura_; }

void Brov5Desk::Costruisci(Richiesta richiesta) {
    const std::uint64_t numero = ++ultimoNumero_;
    richiesta_ = std::move(richiesta);
    LetturaInCorso().MostraPasso(QString());
    // The thread reaches the window only through posted calls: they run here, between its events.
    auto lavoro = [this, numero, costruzione = costruzione_, ultima = ultimaCostruzione_, contesto = contesto_,
                   r = richiesta_](std::stop_token arresto) {
        Avanzamento avanzamento(arresto, [this, numero](const std::string& passo) {
            QMetaObject::invokeMethod(
                this, [this, numero, testo = QString::fromStdString(passo)] { Avanza(numero, testo); },
                Qt::QueuedConnection);
        });
        Esito esito = Esito::Completa;
        std::shared_ptr<const Settimana> settimana;
        std::exception_ptr errore;
        try {
            settimana = std::make_shared<const Settimana>(
                costruzione(*ultima, contesto, r.hotel, r.tableau, r.prima, r.ultima, r.dataInizio, avanzamento,
                            r.scopo));
        } catch (const CostruzioneAnnullata&) {
            esito = Esito::Annullata;
        } catch (const Errore&) {
            esito = Esito::Errore;
            errore = std::current_exception();
        } catch (const std::exception&) {
            esito = Esito::Fatale;
            errore = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, numero, esito, settimana, errore] { Finita(numero, esito, settimana, errore); },
            Qt::QueuedConnection);
    };
    lavori_.emplace(numero, std::jthread(std::move(lavoro)));
    inCorso_ = numero;
    attesaLettura_->start();
}

void Brov5Desk::Avanza(std::uint64_t numero, const QString& passo) {
    if (numero == inCorso_) LetturaInCorso().MostraPasso(passo);
}

void Brov5Desk::MostraLettura() {
    if (!InCostruzione()) return;
    LetturaArchivi& lettura = LetturaInCorso();
    lettura.move(lettura.parentWidget()->geometry().center() - lettura.rect().center());
    lettura.show();
    lettura.activateWindow();
}

void Brov5Desk::Finita(std::uint64_t numero, Esito esito, std::shared_ptr<const Settimana> settimana,
                       std::exception_ptr errore) {
    // Its thread is at its end: joined here.
    lavori_.erase(numero);
    if (numero != inCorso_) return;
    inCorso_ = 0;
    attesaLettura_->stop();
    LetturaInCorso().hide();
    if (attesaQuadro_) {
        attesaQuadro_->esito = esito;
        attesaQuadro_->settimana = std::move(settimana);
        attesaQuadro_->errore = errore;
        attesaQuadro_->ciclo->quit();
        return;
    }
    // The text of the failure: an Errore's own, or what TestoErrore says of any other.
    const auto testo = [&errore] {
        try {
            std::rethrow_exception(errore);
        } catch (const std::exception& e) {
            return QString::fromStdString(TestoErrore(e));
        }
    };
    Protetto([&] {
        if (esito == Esito::Completa) {
            richiesta_.stampato.settimana = std::move(settimana);
            mostraStampe_(*this, contesto_, richiesta_.hotel, richiesta_.stampato);
            // Back from the print menu, the window starts again from the first hotel.
            Riattiva();
        } else if (esito == Esito::Errore) {
            // The previous report file is left as it was; the window goes on.
            const QString messaggio = testo();
            std::cerr << messaggio.toStdString() << '\n';
            Avvisa(messaggio, QStringLiteral("Errore"));
        } else if (esito == Esito::Fatale) {
            ErroreFatale(testo());
        }
    });
}

void Brov5Desk::Annulla() {
    Abbandona();
    activateWindow();
    tasto_[0]->setFocus();
}

void Brov5Desk::Abbandona() {
    if (!InCostruzione()) return;
    lavori_.at(inCorso_).request_stop();
    inCorso_ = 0;
    attesaLettura_->stop();
    LetturaInCorso().hide();
    ultimaCostruzione_ = std::make_shared<UltimaCostruzione>(sessione_);
}

void Brov5Desk::Avvisa(const QString& messaggio, const QString& titolo) {
    MostraMessaggio(messaggio, kStileAvviso, titolo);
    // Active again as the box leaves it, its choices and focus as they were.
    activateWindow();
}

void Brov5Desk::Riattiva() {
    activateWindow();
    Form_Activate();
}

void Brov5Desk::Scarica() {
    if (scaricata_) return;
    close();
}

void Brov5Desk::closeEvent(QCloseEvent* evento) {
    Form_Unload();
    evento->accept();
}

void Brov5Desk::Form_Unload() {
    if (scaricata_) return;
    scaricata_ = true;
    Abbandona();
    for (auto& database : DbDesk)
        if (database) database->Close();
}

bool Brov5Desk::eventFilter(QObject* oggetto, QEvent* evento) {
    for (int i = 0; i < 3; ++i) {
        if (oggetto != text1_[i]) continue;
        if (evento->type() == QEvent::FocusIn) {
            Text1_GotFocus(i);
        } else if (evento->type() == QEvent::KeyPress) {
            const auto tasto = static_cast<QKeyEvent*>(evento)->key();
            if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
                Protetto([&] { Text1_KeyPress(i, kInvio); });
                return true;
            }
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

void Brov5Desk::paintEvent(QPaintEvent* evento) {
    QWidget::paintEvent(evento);
    // The three frames around the text boxes.
    QPainter pittore(this);
    pittore.setPen(QPen(Qt::black, 1));
    for (const RettangoloTwip& cornice : kShape1) pittore.drawRect(InPixel(*this, cornice).adjusted(0, 0, -1, -1));
}

std::string Brov5Desk::Testo(int indice) const { return InCp1252(text1_[indice]->text()); }

void Brov5Desk::ImpostaTesto(int indice, const std::string& testo) {
    text1_[indice]->setText(DaCp1252(testo));
}
