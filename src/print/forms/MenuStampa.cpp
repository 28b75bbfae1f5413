#include "print/forms/MenuStampa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QToolButton>

#include <memory>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/piattaforma/ApriDocumento.h"
#include "common/piattaforma/Stampante.h"
#include "common/forms/Aspetto.h"
#include "common/forms/Icone.h"
#include "common/forms/MostraMessaggio.h"
#include "common/forms/Tastiera.h"
#include "common/forms/TestoQt.h"
#include "common/piattaforma/qt/ApriDocumentoQt.h"
#include "common/piattaforma/qt/AvviaProgrammaQt.h"
#include "common/piattaforma/qt/StampanteQt.h"
#include "preview/forms/Anteprima.h"
#include "print/ConvertiXLS.h"
#include "print/ImpostazioniStampa.h"
#include "print/MotoreStampa.h"
#include "print/forms/VistaArchivio.h"
#include "quadro/Variazioni.h"
#include "tableau/FileReport.h"

namespace {

// Client area and controls, in twips; under the buttons, two lines for the outcome of the last operation.
constexpr RettangoloTwip kForma{0, 0, 6165, 3240};
constexpr RettangoloTwip kEsito{120, 2730, 5925, 450};
// Label1: 0 "Stampante ", 1 "Virtuale ", 2 "SELEZIONE".
constexpr std::array<RettangoloTwip, 3> kLabel1{{{150, 1320, 1215, 255}, {150, 480, 1215, 255}, {120, 120, 5895, 255}}};
const std::array<const char*, 3> kDidascalieLabel1 = {"Stampante ", "Virtuale ", "SELEZIONE"};
constexpr RettangoloTwip kCombo1{1350, 480, 4695, 330};
constexpr RettangoloTwip kCombo2{1350, 1320, 4695, 330};
constexpr RettangoloTwip kChk{120, 960, 1935, 255};
constexpr RettangoloTwip kChk2{2070, 960, 1980, 264};
constexpr RettangoloTwip kChk3{4110, 960, 2220, 264};
// The picture buttons stand left to right in the order 3, 4, 0, 1, 2, 5.
constexpr std::array<int, 6> kLeftTst = {2190, 3150, 4110, 150, 1110, 5190};
constexpr int kTopTst = 1800;
constexpr int kLatoTst = 855;

struct Pulsante {
    const char* suggerimento;  // tooltip
    const char* nome;          // accessible name: the buttons carry no caption
    QIcon (*icona)();
};
const std::array<Pulsante, 6> kPulsanti = {{
    {"Mostra la copia del tableau in archivio", "Copia in archivio", IconaArchivio},
    {"Esporta il tableau per il foglio di calcolo e aprilo", "Esporta per foglio di calcolo", IconaEsporta},
    {"Stampa il tableau sulla stampante PDF", "Stampa PDF", IconaPdf},
    {"Stampa il tableau", "Stampa", IconaStampa},
    {"Anteprima di stampa del tableau", "Anteprima", IconaAnteprima},
    {"Chiudi il menu di stampa", "Chiudi", IconaEsci},
}};

enum Tasti { TstArchivio, TstEsporta, TstPdf, TstStampa, TstAnteprima, TstChiudi };

const QString kNessunaStampante = QStringLiteral("<nessuna stampante>");
const QString kTitolo = QStringLiteral("Stampe non modificabili");

// The window's caption: with the workstation, so that the menus of two
// workstations on one screen are told apart.
QString Titolo(const std::string& postazione) {
    return postazione.empty() ? kTitolo : kTitolo + QStringLiteral(" \u2013 postazione ") + DaCp1252(postazione);
}

// One line saying where a print went.
QString DescriviStampa(const EsitoStampa& esito) {
    const QString dove = QString::fromStdString(esito.dove);
    switch (esito.uscita) {
    case EsitoStampa::Uscita::Stampante:
        return QStringLiteral("Stampato su ") + dove;
    case EsitoStampa::Uscita::Porta:
        return QStringLiteral("Stampato sulla porta ") + dove;
    case EsitoStampa::Uscita::File:
        return QStringLiteral("Scritto nel file ") + dove;
    case EsitoStampa::Uscita::Pdf:
        break;
    }
    return QStringLiteral("PDF salvato in ") + dove;
}

// Runs one loading step; loading goes on whatever fails in it.
template <class Passo>
void IgnoraErrori(Passo&& passo) {
    try {
        passo();
    } catch (const std::exception&) {
    }
}

}  // namespace

MenuStampa::MenuStampa(Contesto contesto, ServiziStampa servizi, std::int16_t numeroHotel, QWidget* proprietaria,
                       TableauStampato tableau)
    : QDialog(proprietaria, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      contesto_(std::move(contesto)),
      servizi_(std::move(servizi)),
      numeroHotel_(numeroHotel),
      tableau_(std::move(tableau)) {
    CreaControlli();
}

MenuStampa::~MenuStampa() = default;

void MenuStampa::CreaControlli() {
    setWindowTitle(kTitolo);
    setFixedSize(InPixel(*this, kForma).size());
    const QFont didascalie = Carattere(QStringLiteral("Corbel"), 8.25);

    for (int i = 0; i < 3; ++i) {
        label1_[i] = new QLabel(QString::fromLatin1(kDidascalieLabel1[i]), this);
        label1_[i]->setFont(didascalie);
        Posiziona(*label1_[i], kLabel1[i]);
    }
    label1_[2]->setAlignment(Qt::AlignCenter);

    combo1_ = new QComboBox(this);
    combo1_->setFont(Carattere(QStringLiteral("Arial"), 8.25));
    Posiziona(*combo1_, kCombo1);
    EvidenziaFuoco(*combo1_);
    // An installed printer may be picked, or a printer, port or file typed (the print checks it; a typed
    // text never joins the list of installed printers); left empty, the destination's own printer serves.
    combo2_ = new QComboBox(this);
    combo2_->setEditable(true);
    combo2_->setInsertPolicy(QComboBox::NoInsert);
    combo2_->setFont(Carattere(QStringLiteral("Arial"), 8.25));
    Posiziona(*combo2_, kCombo2);

    chk_ = new QCheckBox(QStringLiteral("Stampa Compressa"), this);
    chk2_ = new QCheckBox(QStringLiteral("Stampa orizzontale"), this);
    chk3_ = new QCheckBox(QStringLiteral("Stampa fronte / retro"), this);
    for (auto [casella, posto] : {std::pair{chk_, kChk}, std::pair{chk2_, kChk2}, std::pair{chk3_, kChk3}}) {
        casella->setFont(didascalie);
        Posiziona(*casella, posto);
    }

    for (int i = 0; i < 6; ++i) {
        tst_[i] = new QToolButton(this);
        tst_[i]->setIcon(kPulsanti[i].icona());
        tst_[i]->setIconSize(QSize(TwipInPixelX(*this, 600), TwipInPixelY(*this, 600)));
        tst_[i]->setToolTip(QString::fromUtf8(kPulsanti[i].suggerimento));
        tst_[i]->setAccessibleName(QString::fromUtf8(kPulsanti[i].nome));
        tst_[i]->setFocusPolicy(Qt::StrongFocus);
        PremeConInvio(*tst_[i]);
        Posiziona(*tst_[i], {kLeftTst[i], kTopTst, kLatoTst, kLatoTst});
        connect(tst_[i], &QToolButton::clicked, this, [this, i] {
            // A line left from an earlier operation would seem to tell of this one.
            esito_->clear();
            EseguiMostrandoErrore([&] { Tst_Click(i); });
        });
    }
    esito_ = new QLabel(this);
    esito_->setFont(didascalie);
    esito_->setWordWrap(true);
    esito_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    esito_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Posiziona(*esito_, kEsito);
    // Focus order: the lists and options, then the buttons as they stand.
    setTabOrder(combo1_, chk_);
    setTabOrder(chk_, chk2_);
    setTabOrder(chk2_, chk3_);
    setTabOrder(chk3_, combo2_);
    QWidget* precedente = combo2_;
    for (int indice : {TstStampa, TstAnteprima, TstArchivio, TstEsporta, TstPdf, TstChiudi}) {
        setTabOrder(precedente, tst_[indice]);
        precedente = tst_[indice];
    }
}

bool MenuStampa::Avvia() {
    Form_Load();
    EseguiMostrandoErrore([&] { Form_Activate(); });
    return !chiusa_;
}

void MenuStampa::Mostra() {
    if (Avvia()) exec();
}

void MenuStampa::Form_Load() {
    if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
        const QRect area = schermo->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    numeroHotel_ = HotelDiStampa(numeroHotel_);
    setWindowTitle(Titolo(contesto_.postazione));
    // Filing the copy and listing the printers may fail: the menu comes all the same.
    IgnoraErrori([&] {
        nomeArchivio_ = NomeInArchivio(contesto_.postazione, servizi_.orologio(), ".doc");
        ArchiviaReport(contesto_, nomeArchivio_);
    });
    IgnoraErrori([&] {
        for (const std::string& stampante : servizi_.stampante.Stampanti()) combo2_->addItem(DaCp1252(stampante));
    });
    if (combo2_->count() == 0) combo2_->addItem(kNessunaStampante);
    combo2_->setCurrentIndex(-1);
}

void MenuStampa::Form_Activate() {
    MettiInPrimoPiano(*this);
    combo1_->clear();
    codiceAssistenza_ = ::CodiceAssistenza(contesto_.cartella);
    for (const std::string& destinazione : DestinazioniHotel1(contesto_.cartella))
        combo1_->addItem(DaCp1252(destinazione));
    if (combo1_->count() == 0) {
        Chiudi();
        return;
    }
    combo1_->setCurrentIndex(0);
}

void MenuStampa::Tst_Click(int Index) {
    switch (Index) {
    case TstArchivio:
        ApriCopiaArchivio();
        break;
    case TstEsporta:
        Esporta();
        break;
    case TstPdf:
        StampaPdf();
        break;
    case TstStampa:
        Stampa();
        break;
    case TstAnteprima:
        MostraAnteprima();
        break;
    case TstChiudi:
        Chiudi();
        break;
    }
}

void MenuStampa::Stampa(bool comePdf) {
    SceltaStampa scelta;
    scelta.comePdf = comePdf;
    scelta.compressa = chk_->isChecked();
    scelta.orizzontale = chk2_->isChecked();
    scelta.fronteRetro = chk3_->isChecked();
    scelta.destinazione = InCp1252(combo1_->currentText());
    const QString stampante = combo2_->currentText();
    if (!comePdf && stampante != kNessunaStampante) scelta.stampante = InCp1252(stampante);
    scelta.codiceAssistenza = codiceAssistenza_;
    scelta.tableau = tableau_;
    scelta.ora = servizi_.orologio();
    const EsitoStampa esito = StampaReport(contesto_, scelta, numeroHotel_, servizi_.stampante);
    const QString descrizione = DescriviStampa(esito) +
                                QString::fromStdString(ConservaDopoLaStampa(contesto_, tableau_.settimana.get(), scelta.ora));
    if (esito.filePdf.empty())
        esito_->setText(descrizione);
    else
        ApriEsito(Cp1252ToUtf8(esito.filePdf), descrizione);
}

std::string MenuStampa::NomeArchivio() const {
    return nomeArchivio_.empty() ? std::string() : std::string(kCartellaArchivio) + "/" + nomeArchivio_;
}

void MenuStampa::Esporta() {
    ConvertiXLS(contesto_, NomeFileReport(contesto_.postazione));
    const std::string esportazione = Cp1252ToUtf8(NomeFileEsportazione(contesto_.postazione));
    ApriEsito(esportazione, QStringLiteral("Esportato nel file ") + QString::fromStdString(esportazione));
}

void MenuStampa::ApriEsito(const std::string& documento, QString esito) {
    const std::string percorso = contesto_.cartella.PercorsoDi(documento);
    if (!servizi_.apriDocumento.Apri(percorso)) {
        const QString cartella = QFileInfo(QString::fromStdString(percorso)).absolutePath();
        esito += QStringLiteral(", ma il programma per aprirlo non si è avviato: il file è nella cartella ") +
                 QDir::toNativeSeparators(cartella);
    }
    esito_->setText(esito);
}

void MenuStampa::ApriCopiaArchivio() {
    // The copy made at loading may have failed (no report, a full disk): say so rather than open nothing.
    const std::string archiviato = NomeArchivio();
    bool presente = false;
    IgnoraErrori([&] {
        presente = !nomeArchivio_.empty() &&
                   contesto_.cartella.Sottocartella(kCartellaArchivio).Genere(nomeArchivio_) == GenereVoce::File;
    });
    if (!presente) {
        const std::string nome = nomeArchivio_.empty() ? "" : " '" + Cp1252ToUtf8(archiviato) + "'";
        throw Errore(NumeroErrore::FileInesistente,
                     "La copia in archivio del report" + nome +
                         " non c'è: non è stato possibile farla all'apertura del menu. Controllare che il report "
                         "esista e che nella cartella \"doc\" si possa scrivere, poi creare di nuovo il tableau.");
    }
    VistaArchivio vista(contesto_.cartella.Sottocartella(kCartellaArchivio), nomeArchivio_, this);
    vista.exec();
}

void MenuStampa::StampaPdf() {
    std::vector<std::string> destinazioni;
    for (int i = 0; i < combo1_->count(); ++i) destinazioni.push_back(InCp1252(combo1_->itemText(i)));
    if (const auto scelta = DestinazionePdf(destinazioni)) {
        combo1_->setCurrentIndex(static_cast<int>(*scelta));
        Stampa(true);
        return;
    }
    QMessageBox avviso(QMessageBox::Warning, QStringLiteral("Stampa"), QStringLiteral("Nessuna stampante PDF impostata!"),
                       QMessageBox::Ok, this);
    avviso.exec();
}

void MenuStampa::MostraAnteprima() {
    Anteprima anteprima(contesto_, servizi_.avviaProgramma, this, tableau_.settimana);
    if (anteprima.Avvia()) anteprima.exec();
    // Back from the preview the menu is the active window again.
    Form_Activate();
}

void MenuStampa::Chiudi() {
    chiusa_ = true;
    close();
}

std::function<void(QWidget& proprietaria, const Contesto& contesto, std::int16_t numeroHotel,
                   const TableauStampato& tableau)>
MenuStampaDelSistema() {
    struct Sistema {
        StampanteQt stampante;
        ApriDocumentoQt apriDocumento;
        AvviaProgrammaQt avviaProgramma;
    };
    auto sistema = std::make_shared<std::unique_ptr<Sistema>>();
    return [sistema](QWidget& proprietaria, const Contesto& contesto, std::int16_t numeroHotel,
                     const TableauStampato& tableau) {
        if (!*sistema) *sistema = std::make_unique<Sistema>();
        Sistema& s = **sistema;
        MenuStampa menu(contesto, {s.stampante, s.apriDocumento, s.avviaProgramma}, numeroHotel, &proprietaria,
                        tableau);
        menu.Mostra();
    };
}
