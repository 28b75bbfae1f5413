#include "common/forms/MsgBox_Form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QTextDocument>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// Design sizes of the box and its controls, in twips.
constexpr RettangoloTwip kForma{0, 0, 4695, 3135};
constexpr RettangoloTwip kLabel1{0, 0, 4695, 375};
constexpr RettangoloTwip kText1{120, 480, 4455, 1695};
constexpr std::array<RettangoloTwip, 3> kT{{{120, 2400, 975, 615}, {1200, 2400, 975, 615}, {2280, 2400, 975, 615}}};
constexpr RettangoloTwip kShape1{0, 0, 4695, 3135};

constexpr int kLarghezzaColonna = 90;
constexpr int kAltezzaRiga = 300;
constexpr int kSpazioPulsanti = 70;
constexpr int kColonneMinime = 50;
// The "Dettagli" switch and the details shown below it.
constexpr int kAltezzaTastoDettagli = 300;
constexpr int kAltezzaDettagli = 2400;

const QString kOk = QStringLiteral("Ok");
const QString kSi = QStringLiteral("Si");
const QString kNo = QStringLiteral("No");
const QString kAnnulla = QStringLiteral("Annulla");

const QColor kSfondo(236, 236, 255);
const QColor kSfondoTitolo(64, 64, 160);

bool StileOk(int stile) { return stile == 0 || stile == 48; }
bool StileSiNo(int stile) { return stile == 4 || stile == 36 || (stile >= 200 && stile <= 400); }
bool StileSiNoAnnulla(int stile) { return stile == 35 || stile == 51; }

// The rectangle drawn along the edge of the box, above the other controls.
class Cornice : public QWidget {
public:
    explicit Cornice(QWidget* genitore) : QWidget(genitore) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pittore(this);
        pittore.setPen(QPen(Qt::black, 1));
        pittore.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// The screen the box appears on, in twips.
QRect SchermoInTwip(const QWidget& box) {
    const QScreen* schermo = QGuiApplication::primaryScreen();
    const QRect area = schermo ? schermo->geometry() : QRect(0, 0, 800, 600);
    return QRect(0, 0, PixelInTwipX(box, area.width()), PixelInTwipY(box, area.height()));
}

}  // namespace

AvvisoMessaggi& AvvisoMessaggi::Istanza() {
    static AvvisoMessaggi istanza;
    return istanza;
}

MsgBox_Form::MsgBox_Form(QWidget* proprietaria) : QDialog(proprietaria, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowModality(Qt::ApplicationModal);
    CreaControlli();
    Form_Load();
}

void MsgBox_Form::CreaControlli() {
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Window, kSfondo);
    tavolozza.setColor(QPalette::Base, kSfondo);
    setPalette(tavolozza);
    setAutoFillBackground(true);

    label1Controllo_ = new QLabel(this);
    label1Controllo_->setAlignment(Qt::AlignCenter);
    label1Controllo_->setFont(Carattere(QStringLiteral("Corbel"), 12, true));
    label1Controllo_->setAutoFillBackground(true);
    QPalette titolo = label1Controllo_->palette();
    titolo.setColor(QPalette::Window, kSfondoTitolo);
    titolo.setColor(QPalette::WindowText, Qt::white);
    label1Controllo_->setPalette(titolo);

    const std::array<QString, 3> didascalie = {kOk, kOk, kAnnulla};
    for (int i = 0; i < 3; ++i) {
        tControllo_[i] = new QPushButton(didascalie[i], this);
        tControllo_[i]->setFont(Carattere(QStringLiteral("Corbel"), 12));
        tControllo_[i]->setAutoDefault(true);
        connect(tControllo_[i], &QPushButton::clicked, this, [this, i] { T_Click(i); });
    }
    // Created after the buttons: the focus order is the three buttons, then the message.
    text1Controllo_ = new QPlainTextEdit(this);
    text1Controllo_->setReadOnly(true);
    text1Controllo_->setFrameShape(QFrame::NoFrame);
    text1Controllo_->setFont(Carattere(QStringLiteral("Corbel"), 9.75));

    dettagliTasto_ = new QToolButton(this);
    dettagliTasto_->setText(QStringLiteral("Dettagli"));
    dettagliTasto_->setCheckable(true);
    dettagliTasto_->setArrowType(Qt::RightArrow);
    dettagliTasto_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    dettagliTasto_->setAutoRaise(true);
    dettagliTasto_->setFont(Carattere(QStringLiteral("Corbel"), 9.75));
    dettagliTasto_->hide();
    connect(dettagliTasto_, &QToolButton::toggled, this, [this](bool aperto) {
        dettagliTasto_->setArrowType(aperto ? Qt::DownArrow : Qt::RightArrow);
        dettagliTesto_->setVisible(aperto);
        Dimensiona();
        ApplicaGeometria();
    });
    dettagliTesto_ = new QPlainTextEdit(this);
    dettagliTesto_->setReadOnly(true);
    dettagliTesto_->setLineWrapMode(QPlainTextEdit::NoWrap);
    dettagliTesto_->setFont(Carattere(QStringLiteral("Courier New"), 8.25));
    dettagliTesto_->hide();

    shape1Controllo_ = new Cornice(this);
    shape1Controllo_->raise();
}

void MsgBox_Form::Form_Load() {
    forma_ = kForma;
    label1_ = kLabel1;
    text1_ = kText1;
    t_ = kT;
    shape1_ = kShape1;
    // Centred at its design size; later growth keeps this top-left corner.
    const QRect schermo = SchermoInTwip(*this);
    forma_.Top = (schermo.height() - forma_.Height) / 2;
    forma_.Left = (schermo.width() - forma_.Width) / 2;
    // Made topmost before it is first shown: changing the hint later would
    // hide and re-create the window.
    MettiInPrimoPiano(*this);
    ApplicaGeometria();
}

void MsgBox_Form::Configura(const QString& messaggio, std::int16_t stile, const QString& titolo,
                            const QString& dettagli) {
    testo_ = messaggio;
    dettagliTesto_->setPlainText(dettagli);
    dettagliTasto_->setVisible(!dettagli.isEmpty());
    QString righe = messaggio;
    text1Controllo_->setPlainText(righe.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    label1Controllo_->setText(titolo);
    setWindowTitle(titolo);
    stile_ = stile;
    if (StileOk(stile)) {
        tControllo_[0]->setText(kOk);
        tControllo_[1]->hide();
        tControllo_[2]->hide();
    } else if (StileSiNo(stile)) {
        tControllo_[0]->setText(kSi);
        tControllo_[1]->setText(kNo);
        tControllo_[2]->hide();
    } else if (StileSiNoAnnulla(stile)) {
        tControllo_[0]->setText(kSi);
        tControllo_[1]->setText(kNo);
    }
    // A box closed without a button answers as its most cautious button would.
    if (!tControllo_[2]->isHidden())
        esito_ = 2;
    else if (tControllo_[0]->text() == kSi)
        esito_ = 7;
    else
        esito_ = 0;
}

void MsgBox_Form::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (attivata_) return;
    attivata_ = true;
    Form_Activate();
    emit AvvisoMessaggi::Istanza().Mostrato(this);
}

void MsgBox_Form::Form_Activate() {
    DisponiPulsanti();
    Dimensiona();
    ApplicaGeometria();
}

void MsgBox_Form::DisponiPulsanti() {
    const int larghezzaBox = forma_.Width;
    const int w = t_[0].Width;
    if (StileOk(stile_)) {
        t_[0].Left = (larghezzaBox - w) / 2;
    } else if (StileSiNo(stile_)) {
        t_[0].Left = (larghezzaBox - (2 * w + kSpazioPulsanti)) / 2;
        t_[1].Left = t_[0].Left + w + kSpazioPulsanti;
    } else if (StileSiNoAnnulla(stile_)) {
        t_[0].Left = (larghezzaBox - (3 * w + 2 * kSpazioPulsanti)) / 2;
        t_[1].Left = t_[0].Left + w + kSpazioPulsanti;
        t_[2].Left = t_[1].Left + t_[1].Width + kSpazioPulsanti;
    }
    if (stile_ == 4 || stile_ == 36 || StileSiNoAnnulla(stile_)) tControllo_[0]->setFocus();
}

void MsgBox_Form::Dimensiona() {
    const int righe = CalcolaRighe(testo_);
    const int colonne = CalcolaColonne(testo_);
    // A text too wide or too long for the screen is shown in a box that stops
    // at the screen's edge; the message then scrolls.
    const QRect schermo = SchermoInTwip(*this);
    const int fissa = label1_.Height + t_[0].Height + 300;
    // Wide enough for its longest line in the message's own face, should
    // that be wider than the columns reckon: a line never wraps in two.
    const int larghezza = std::max(colonne * kLarghezzaColonna, LarghezzaDelTesto() + 180);
    forma_.Width = std::min(larghezza, std::max(kForma.Width, schermo.width() - forma_.Left));
    shape1_.Width = forma_.Width;
    label1_.Width = forma_.Width;
    text1_.Width = forma_.Width - 180;
    text1_.Height = std::min(righe * kAltezzaRiga,
                             std::max(kAltezzaRiga, schermo.height() - forma_.Top - fissa));
    forma_.Height = text1_.Height + label1_.Height + t_[0].Height + 300;
    for (auto& pulsante : t_) pulsante.Top = text1_.Top + text1_.Height + 100;
    DimensionaDettagli();
    shape1_.Height = forma_.Height;
}

void MsgBox_Form::DimensionaDettagli() {
    if (dettagliTasto_->isHidden()) return;
    const int sotto = t_[0].Top + t_[0].Height + 100;
    geometriaDettagliTasto_ = {120, sotto, forma_.Width - 240, kAltezzaTastoDettagli};
    geometriaDettagli_ = {120, sotto + kAltezzaTastoDettagli + 60, forma_.Width - 240, kAltezzaDettagli};
    forma_.Height = sotto + kAltezzaTastoDettagli + 100;
    if (dettagliTasto_->isChecked()) forma_.Height += kAltezzaDettagli + 60;
}

void MsgBox_Form::ApplicaGeometria() {
    const QScreen* schermo = QGuiApplication::primaryScreen();
    const QPoint origine = schermo ? schermo->geometry().topLeft() : QPoint();
    const QRect area = InPixel(*this, forma_);
    setFixedSize(area.size());
    move(origine + area.topLeft());
    Posiziona(*label1Controllo_, label1_);
    Posiziona(*text1Controllo_, text1_);
    for (int i = 0; i < 3; ++i) Posiziona(*tControllo_[i], t_[i]);
    Posiziona(*dettagliTasto_, geometriaDettagliTasto_);
    Posiziona(*dettagliTesto_, geometriaDettagli_);
    Posiziona(*shape1Controllo_, shape1_);
}

int MsgBox_Form::CalcolaRighe(const QString& testo) {
    return 1 + static_cast<int>(testo.count(QChar('\r'))) + 1;
}

int MsgBox_Form::LarghezzaDelTesto() const {
    const QFontMetrics metriche(text1Controllo_->font());
    int pixel = 0;
    for (const QString& riga : testo_.split(QStringLiteral("\r\n")))
        pixel = std::max(pixel, metriche.horizontalAdvance(riga));
    // With the text's margins, and a character to spare for the rounding of
    // the widths of its letters.
    const int margini = 2 * static_cast<int>(std::ceil(text1Controllo_->document()->documentMargin())) +
                        2 * text1Controllo_->frameWidth() + metriche.averageCharWidth();
    return PixelInTwipX(*this, pixel + margini);
}

int MsgBox_Form::CalcolaColonne(const QString& testo) {
    int massimo = kColonneMinime;
    int riga = 0;
    for (const QChar c : testo) {
        if (c == QChar('\r')) {
            massimo = std::max(massimo, riga);
            riga = 0;
        } else {
            ++riga;
        }
    }
    return std::max(massimo, riga) + 1;
}

void MsgBox_Form::T_Click(int indice) {
    if (indice == 0)
        esito_ = tControllo_[0]->text() == kSi ? 6 : 0;
    else
        esito_ = indice == 1 ? 7 : 2;
    accept();
}
