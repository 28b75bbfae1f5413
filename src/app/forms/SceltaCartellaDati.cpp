#include "app/forms/SceltaCartellaDati.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "app/Avvio.h"
#include "common/Ambiente.h"
#include "common/forms/Aspetto.h"
#include "common/forms/MostraMessaggio.h"

namespace {

constexpr std::int16_t kStileAvviso = 48;
const QColor kSfondo(192, 192, 255);

const QString kTitolo = QStringLiteral("Cartella dei dati");
const QString kSpiegazione = QStringLiteral(
    "Indicare la cartella dei dati della suite (quella che contiene Tableau.mdb, "
    "AnagraficaHotels.mdb e NumeriCamere.mdb) e il numero di questa postazione. "
    "Saranno usati a ogni avvio; per cambiarli: brovato5 --configura.");
const QString kTitoloCartella = QStringLiteral("Cartella errata!");
const QString kTitoloPostazione = QStringLiteral("Postazione errata!");
const QString kMessaggioPostazione =
    QStringLiteral("Il numero della postazione deve essere fatto\r\ndi cifre, da una a cinque (per esempio 3).");
const QColor kColoreAvviso(160, 0, 0);

QLabel* Etichetta(const QString& testo, QWidget* proprietaria) {
    auto* etichetta = new QLabel(testo, proprietaria);
    etichetta->setFont(Carattere(QStringLiteral("Corbel"), 9.75));
    return etichetta;
}

// What is wrong with `cartella` as a data folder; empty when nothing is.
QString DifettoCartella(const QString& cartella) {
    if (cartella.isEmpty()) return QStringLiteral("Indicare la cartella dei dati.");
    const auto mancanti = FileDatiMancanti(cartella.toStdString());
    if (mancanti.empty()) return {};
    QStringList nomi;
    for (const auto& nome : mancanti) nomi << QString::fromStdString(nome);
    return QStringLiteral("La cartella indicata non contiene:\r\n%1\r\nScegliere la cartella dei dati della suite.")
        .arg(nomi.join(QStringLiteral(", ")));
}

// Why the dialog comes back by itself: the saved folder `cartella` no
// longer holds the suite's files (or is gone).
QString AvvisoCartellaPersa(const std::string& cartella) {
    const QString nome = QDir::toNativeSeparators(QString::fromStdString(cartella));
    if (!QFileInfo(nome).isDir())
        return QStringLiteral("La cartella dei dati salvata, %1, non c'è più: indicare dove sono ora i file della suite.")
            .arg(nome);
    QStringList mancanti;
    for (const auto& file : FileDatiMancanti(cartella)) mancanti << QString::fromStdString(file);
    return QStringLiteral("La cartella dei dati salvata, %1, non contiene più i file della suite (%2 %3): "
                          "indicare dove sono ora.")
        .arg(nome, mancanti.size() == 1 ? QStringLiteral("manca") : QStringLiteral("mancano"),
             mancanti.join(QStringLiteral(", ")));
}

// The values the dialog proposes: those saved, else the current folder when it
// is a data folder (brovato5 --configura started there) and the workstation
// number of the environment.
CartellaPostazione Proposta(const std::optional<CartellaPostazione>& salvata) {
    if (salvata) return *salvata;
    const QString qui = InCartellaDati(".") ? QDir::currentPath() : QString();
    return {qui.toStdString(), LeggiAmbiente("PCLocal").value_or("")};
}

}  // namespace

SceltaCartellaDati::SceltaCartellaDati(const CartellaPostazione& proposta, const QString& avviso,
                                       QWidget* proprietaria)
    : QDialog(proprietaria, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    CreaControlli(proposta, avviso);
}

void SceltaCartellaDati::CreaControlli(const CartellaPostazione& proposta, const QString& avviso) {
    setWindowTitle(kTitolo);
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Window, kSfondo);
    setPalette(tavolozza);
    setAutoFillBackground(true);

    auto* spiegazione = Etichetta(kSpiegazione, this);
    spiegazione->setWordWrap(true);
    avviso_ = Etichetta(avviso, this);
    avviso_->setWordWrap(true);
    avviso_->setVisible(!avviso.isEmpty());
    QFont grassetto = avviso_->font();
    grassetto.setBold(true);
    avviso_->setFont(grassetto);
    QPalette rosso = avviso_->palette();
    rosso.setColor(QPalette::WindowText, kColoreAvviso);
    avviso_->setPalette(rosso);
    cartella_ = new QLineEdit(QString::fromStdString(proposta.cartella), this);
    cartella_->setMinimumWidth(TwipInPixelX(*this, 4500));
    sfoglia_ = new QPushButton(QStringLiteral("S&foglia..."), this);
    postazione_ = new QLineEdit(QString::fromStdString(proposta.postazione), this);
    postazione_->setMaxLength(5);
    postazione_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    postazione_->setMaximumWidth(TwipInPixelX(*this, 900));
    apri_ = new QPushButton(QStringLiteral("&Apri"), this);
    apri_->setDefault(true);
    annulla_ = new QPushButton(QStringLiteral("A&nnulla"), this);

    auto* griglia = new QGridLayout(this);
    griglia->addWidget(avviso_, 0, 0, 1, 3);
    griglia->addWidget(spiegazione, 1, 0, 1, 3);
    griglia->addWidget(Etichetta(QStringLiteral("Cartella dei dati "), this), 2, 0);
    griglia->addWidget(cartella_, 2, 1);
    griglia->addWidget(sfoglia_, 2, 2);
    griglia->addWidget(Etichetta(QStringLiteral("N. Postazione "), this), 3, 0);
    griglia->addWidget(postazione_, 3, 1, Qt::AlignLeft);
    auto* tasti = new QHBoxLayout;
    tasti->addStretch();
    tasti->addWidget(apri_);
    tasti->addWidget(annulla_);
    griglia->addLayout(tasti, 4, 0, 1, 3);

    connect(sfoglia_, &QPushButton::clicked, this, &SceltaCartellaDati::Sfoglia_Click);
    connect(apri_, &QPushButton::clicked, this, &SceltaCartellaDati::Apri_Click);
    connect(annulla_, &QPushButton::clicked, this, &QDialog::reject);
}

QString SceltaCartellaDati::CartellaAssoluta() const {
    const QString testo = cartella_->text().trimmed();
    return testo.isEmpty() ? testo : QDir::cleanPath(QDir::current().absoluteFilePath(testo));
}

CartellaPostazione SceltaCartellaDati::Scelta() const {
    return {CartellaAssoluta().toStdString(), postazione_->text().toStdString()};
}

void SceltaCartellaDati::Sfoglia_Click() {
    const QString scelta = QFileDialog::getExistingDirectory(this, kTitolo, CartellaAssoluta());
    if (!scelta.isEmpty()) cartella_->setText(scelta);
}

void SceltaCartellaDati::Apri_Click() {
    if (const QString difetto = DifettoCartella(CartellaAssoluta()); !difetto.isEmpty()) {
        MostraMessaggio(difetto, kStileAvviso, kTitoloCartella);
        cartella_->setFocus();
        return;
    }
    if (!PostazioneValida(postazione_->text().toStdString())) {
        MostraMessaggio(kMessaggioPostazione, kStileAvviso, kTitoloPostazione);
        postazione_->setFocus();
        return;
    }
    accept();
}

std::optional<Contesto> PreparaCartellaDati(const OpzioniAvvio& opzioni) {
    if (opzioni.cartella || (!opzioni.configura && InCartellaDati("."))) return ContestoDiAvvio(opzioni);
    std::optional<CartellaPostazione> salvata = LeggiCartellaSalvata();
    const bool persa = salvata && !FileDatiMancanti(salvata->cartella).empty();
    if (opzioni.configura || !salvata || persa) {
        SceltaCartellaDati dialogo(Proposta(salvata), persa ? AvvisoCartellaPersa(salvata->cartella) : QString());
        if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
        salvata = dialogo.Scelta();
        SalvaCartella(*salvata);
    }
    return Contesto{CartellaDati(salvata->cartella), PostazioneDiAvvio(opzioni, salvata->postazione)};
}
