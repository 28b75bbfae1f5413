#include "preview/forms/Anteprima.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextDocument>

#include <iostream>
#include <utility>

#include "common/piattaforma/AvviaProgramma.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "common/forms/Aspetto.h"
#include "common/forms/MostraMessaggio.h"
#include "common/forms/Tastiera.h"
#include "common/forms/TestoQt.h"
#include "preview/FileEMail.h"
#include "quadro/Variazioni.h"

namespace {

// Client area, text box and buttons as designed, in twips.
constexpr RettangoloTwip kForma{0, 0, 9525, 7380};
constexpr RettangoloTwip kText1{84, 84, 9372, 6048};
constexpr int kTopTasti = 6216;
constexpr int kAltezzaTasti = 1125;
constexpr std::array<int, 7> kLeftTasti = {6795, 84, 1200, 2400, 3480, 4560, 5640};
constexpr std::array<int, 7> kLarghezzaTasti = {2655, 975, 1095, 975, 975, 975, 975};
const std::array<const char*, 7> kDidascalie = {"&Esci", "&Riduci", "E&spandi", "&Avanti",
                                                "&Inizio", "E-&mail", "Sa&lva"};
// Border and title bar that the layout adds to the client area to get the
// window's outer size.
constexpr int kCorniceLarghezza = 75;
constexpr int kCorniceAltezza = 520;

constexpr std::int32_t kPrimaPagina = 20000;
constexpr std::int32_t kPagina = 26000;
constexpr double kPuntiText1 = 11.25;
const QColor kGialloChiaro(255, 255, 192);
const char* const kPostino = "brovinvio";
constexpr std::int16_t kSoloOk = 48;
constexpr std::int16_t kSiNoAnnulla = 35;
constexpr std::int16_t kRispostaSi = 6;
constexpr std::int16_t kRispostaNo = 7;
// The message box widens with its longest line: the mailer's outcome is
// broken into lines that keep it on the screen.
constexpr int kColonneEsito = 70;

enum Tasti { Esci, Riduci, Espandi, Avanti, Inizio, EMail, Salva };

// `testo` with each of its lines broken at blanks into lines of at most
// `colonne` characters (a longer word stays whole), joined by CR LF.
QString InRighe(const QString& testo, int colonne) {
    QStringList righe;
    for (const QString& originale : testo.split(QLatin1Char('\n'))) {
        QString riga;
        for (const QString& parola : originale.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!riga.isEmpty() && riga.size() + 1 + parola.size() > colonne) {
                righe << riga;
                riga.clear();
            }
            riga += (riga.isEmpty() ? QString() : QStringLiteral(" ")) + parola;
        }
        righe << riga;
    }
    return righe.join(QStringLiteral("\r\n"));
}

}  // namespace

Anteprima::Anteprima(Contesto contesto, AvviaProgramma& avviaProgramma, QWidget* proprietaria,
                     std::shared_ptr<const Settimana> settimana)
    : QDialog(proprietaria, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                Qt::WindowMaximizeButtonHint),
      contesto_(std::move(contesto)),
      avviaProgramma_(avviaProgramma),
      settimana_(std::move(settimana)) {
    CreaControlli();
}

Anteprima::~Anteprima() = default;

void Anteprima::CreaControlli() {
    setWindowTitle(QStringLiteral("Anteprima di Stampa"));
    resize(InPixel(*this, kForma).size());

    text1_ = new QPlainTextEdit(this);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont carattere = Carattere(QStringLiteral("Courier New"), kPuntiText1);
    text1_->setFont(carattere);
    QPalette tavolozza = text1_->palette();
    tavolozza.setColor(QPalette::Base, kGialloChiaro);
    text1_->setPalette(tavolozza);
    Posiziona(*text1_, kText1);

    for (int i = 0; i < 7; ++i) {
        tasto_[i] = new QPushButton(QString::fromLatin1(kDidascalie[i]), this);
        tasto_[i]->setFont(Carattere(QStringLiteral("Corbel"), 12, i == Esci));
        tasto_[i]->setAutoDefault(false);
        PremeConInvio(*tasto_[i]);
        Posiziona(*tasto_[i], {kLeftTasti[i], kTopTasti, kLarghezzaTasti[i], kAltezzaTasti});
        connect(tasto_[i], &QPushButton::clicked, this, [this, i] { EseguiMostrandoErrore([&] { Tasto_Click(i); }); });
    }
}

bool Anteprima::Avvia() {
    Form_Load();
    Form_Activate();
    return !chiusa_;
}

void Anteprima::Form_Load() { report_.emplace(contesto_); }

void Anteprima::Form_Activate() {
    MettiInPrimoPiano(*this);
    Disponi();
    if (!EsisteReport(contesto_)) {
        chiusa_ = true;
        close();
        return;
    }
    MostraPagina(kPrimaPagina);
}

void Anteprima::Disponi() {
    const int larghezza = PixelInTwipX(*this, width()) + kCorniceLarghezza;
    const int altezza = PixelInTwipY(*this, height()) + kCorniceAltezza;
    const int spazioTasti = kAltezzaTasti * 3 / 2;
    Posiziona(*text1_, {kText1.Left, kText1.Top, larghezza - 200, altezza - (spazioTasti + 150)});
    for (int i = 0; i < 7; ++i) {
        const int larghezzaTasto = i == Esci ? larghezza - kLeftTasti[Esci] - 150 : kLarghezzaTasti[i];
        Posiziona(*tasto_[i], {kLeftTasti[i], altezza - (spazioTasti + 10), larghezzaTasto, kAltezzaTasti});
    }
}

void Anteprima::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    Disponi();
}

void Anteprima::MostraPagina(std::int32_t limite) {
    const std::string pagina = report_->RiempiPagina(limite);
    text1_->setPlainText(DaCp1252(pagina).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    text1_->document()->setModified(false);
}

void Anteprima::SalvaPagina() {
    report_->Salva(TestoMostrato());
    text1_->document()->setModified(false);
}

bool Anteprima::PaginaLasciabile() {
    if (!text1_->document()->isModified()) return true;
    switch (MostraMessaggio(QStringLiteral("Salvare le modifiche alla pagina?"), kSiNoAnnulla, windowTitle())) {
    case kRispostaSi:
        SalvaPagina();
        return true;
    case kRispostaNo:
        return true;
    default:
        return false;
    }
}

template <class Passo>
void Anteprima::RiparaSeChiuso(Passo&& passo) {
    try {
        passo();
    } catch (const Errore& errore) {
        if (errore.Numero() != NumeroErrore::NumeroFileNonValido) throw;
        report_->Ripara();
    }
}

void Anteprima::Tasto_Click(int indice) {
    switch (indice) {
    case Esci:
        close();
        break;
    case Riduci:
        if (text1_->font().pointSizeF() > 1) CambiaCarattere(-1);
        break;
    case Espandi:
        CambiaCarattere(1);
        break;
    case Avanti:
        if (report_->AltroTesto() == 1) {
            if (!PaginaLasciabile()) return;
            RiparaSeChiuso([&] { MostraPagina(kPagina); });
        }
        text1_->setFocus();
        break;
    case Inizio:
        if (!PaginaLasciabile()) return;
        report_->Chiudi();
        report_->Riapri();
        MostraPagina(kPagina);
        text1_->setFocus();
        break;
    case EMail:
        InviaEMail(TestoMostrato());
        break;
    case Salva:
        SalvaPagina();
        break;
    }
}

void Anteprima::CambiaCarattere(double punti) {
    QFont carattere = text1_->font();
    carattere.setPointSizeF(carattere.pointSizeF() + punti);
    text1_->setFont(carattere);
}

std::string Anteprima::TestoMostrato() const {
    // The document's raw text: its plain text would give a blank for every
    // no-break space. Only the line ends are marks of the document's own.
    QString testo = text1_->document()->toRawText();
    testo.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return InCp1252(testo.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

void Anteprima::InviaEMail(const std::string& Testo) {
    ScriviFileEMail(contesto_, Testo);
    // No second dispatch rewrites the mail file while the mailer reads it.
    tasto_[EMail]->setEnabled(false);
    const auto riabilita = qScopeGuard([this] { tasto_[EMail]->setEnabled(true); });
    const EsitoEsecuzione esito = avviaProgramma_.Esegui(kPostino, contesto_);
    MostraEsitoInvio(esito);
    if (esito.codice != 0) return;
    if (const std::string nonConservata = ConservaDopoLaStampa(contesto_, settimana_.get(), TempoLocale());
        !nonConservata.empty())
        MostraMessaggio(QStringLiteral("Pagina inviata") + QString::fromStdString(nonConservata), kSoloOk,
                        QStringLiteral("Invio e-mail"));
}

void Anteprima::MostraEsitoInvio(const EsitoEsecuzione& esito) {
    const auto [testo, dettagli] = EsitoInvio(esito);
    if (!dettagli.isEmpty()) std::cerr << kPostino << ": " << dettagli.toStdString() << std::endl;
    if (!testo.isEmpty())
        MostraMessaggio(InRighe(testo, kColonneEsito), kSoloOk, QStringLiteral("Invio e-mail"), dettagli);
}

std::pair<QString, QString> Anteprima::EsitoInvio(const EsitoEsecuzione& esito) {
    // The mailer's own lines begin "brovinvio: ", a name that only a terminal
    // needs; every other line (the details it adds, what the programs it ran
    // wrote) is kept for the details.
    const QString prefisso = QLatin1String(kPostino) + QStringLiteral(": ");
    QStringList righe, dettagli;
    for (const QString& riga : QString::fromStdString(esito.messaggio).split(QLatin1Char('\n'))) {
        if (riga.startsWith(prefisso))
            righe << riga.mid(prefisso.size()).trimmed();
        else if (!riga.trimmed().isEmpty())
            dettagli << riga.trimmed();
    }
    QString testo = righe.join(QLatin1Char('\n'));
    if (testo.isEmpty() && (esito.codice != 0 || !dettagli.isEmpty()))
        testo = esito.codice == 0
                    ? QStringLiteral("Il programma di posta %1 ha scritto soltanto i dettagli qui sotto.")
                          .arg(QLatin1String(kPostino))
                    : QStringLiteral("Invio non riuscito: il programma di posta %1 si è fermato (codice %2) senza "
                                     "dire perché.")
                          .arg(QLatin1String(kPostino))
                          .arg(esito.codice);
    return {testo, dettagli.join(QLatin1Char('\n'))};
}

void Anteprima::closeEvent(QCloseEvent* evento) {
    bool lasciabile = false;
    // A save that fails keeps the window, and the edit in it.
    EseguiMostrandoErrore([&] { lasciabile = PaginaLasciabile(); });
    if (!lasciabile) {
        evento->ignore();
        return;
    }
    Form_Unload();
    evento->accept();
}

void Anteprima::reject() { close(); }

void Anteprima::Form_Unload() {
    if (report_) report_->Chiudi();
}
