#include "print/forms/VistaArchivio.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>


#include "common/Errore.h"
#include "common/Routine.h"
#include "common/forms/Aspetto.h"
#include "common/forms/Tastiera.h"
#include "common/forms/TestoQt.h"
#include "tableau/FileReport.h"

namespace {

// The size of the page preview, in twips, and its text box's face and colour.
constexpr RettangoloTwip kForma{0, 0, 9525, 7380};
constexpr double kPunti = 11.25;
const QColor kGialloChiaro(255, 255, 192);

// The copy's lines as shown: frames turned into "|" and "-", each line ended by a line feed.
QString TestoCopia(const CartellaDati& archivio, const std::string& nomeArchivio) {
    const auto copia = archivio.Leggi(nomeArchivio, kMassimoReport, "la copia in archivio");
    if (!copia)
        throw Errore(NumeroErrore::FileInesistente,
                     "Impossibile leggere la copia in archivio '" + archivio.PercorsoDi(Cp1252ToUtf8(nomeArchivio)) +
                         "': controllare che esista ancora nella cartella \"doc\" e che si possa leggere.");
    QString testo;
    for (std::string riga : DividiRighe(*copia)) testo += DaCp1252(ConvertiCornici(riga)) + QLatin1Char('\n');
    return testo;
}

}  // namespace

VistaArchivio::VistaArchivio(const CartellaDati& archivio, const std::string& nomeArchivio, QWidget* proprietaria)
    : QDialog(proprietaria, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                Qt::WindowMaximizeButtonHint) {
    const QString nome = DaCp1252(nomeArchivio);
    setWindowTitle(QStringLiteral("Copia in archivio \u2013 ") + nome);
    resize(InPixel(*this, kForma).size());

    testo_ = new QPlainTextEdit(this);
    testo_->setReadOnly(true);
    testo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    testo_->setFont(Carattere(QStringLiteral("Courier New"), kPunti));
    QPalette tavolozza = testo_->palette();
    tavolozza.setColor(QPalette::Base, kGialloChiaro);
    testo_->setPalette(tavolozza);
    testo_->setPlainText(TestoCopia(archivio, nomeArchivio));

    chiudi_ = new QPushButton(QStringLiteral("&Chiudi"), this);
    chiudi_->setFont(Carattere(QStringLiteral("Corbel"), 12, true));
    chiudi_->setAutoDefault(false);
    PremeConInvio(*chiudi_);
    connect(chiudi_, &QPushButton::clicked, this, &QDialog::accept);

    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(testo_);
    colonna->addWidget(chiudi_, 0, Qt::AlignRight);
    // Over the print menu, which is kept above the other windows.
    MettiInPrimoPiano(*this);
}
