#include "common/piattaforma/qt/StampanteQt.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPrinterInfo>

#include <algorithm>

#include "common/Errore.h"
#include "common/forms/TestoQt.h"

namespace {

// Qt refuses font sizes of 0 points or less; such a size prints at this one.
constexpr double DimensioneMinima = 1.0;

}  // namespace

StampanteQt::StampanteQt() : font_(QStringLiteral("Courier New"), 10) {
    QPrinterInfo attiva = QPrinterInfo::defaultPrinter();
    if (attiva.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        attiva = QPrinterInfo::availablePrinters().first();
    if (!attiva.isNull()) printer_.setPrinterName(attiva.printerName());
    printer_.setPageOrientation(QPageLayout::Portrait);
}

StampanteQt::~StampanteQt() {
    if (painter_.isActive()) painter_.end();
}

std::vector<std::string> StampanteQt::Stampanti() {
    std::vector<std::string> nomi;
    for (const QString& nome : QPrinterInfo::availablePrinterNames()) nomi.push_back(InCp1252(nome));
    return nomi;
}

void StampanteQt::ScegliStampante(const std::string& nome) {
    printer_.setOutputFormat(QPrinter::NativeFormat);
    printer_.setPrinterName(DaCp1252(nome));
}

void StampanteQt::StampaSuPdf(const std::string& percorso) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setOutputFileName(DaCp1252(percorso));
}

void StampanteQt::ImpostaDuplex(int modo) {
    printer_.setDuplex(modo == 2 ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);
}

void StampanteQt::ImpostaOrientamento(int orientamento) {
    const auto voluto = orientamento == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (printer_.pageLayout().orientation() != voluto) printer_.setPageOrientation(voluto);
}

void StampanteQt::ImpostaFontName(const std::string& nome) { font_.setFamily(DaCp1252(nome)); }

void StampanteQt::ImpostaFontSize(double punti) { font_.setPointSizeF(punti > 0 ? punti : DimensioneMinima); }

double StampanteQt::FontSize() { return font_.pointSizeF(); }

void StampanteQt::ImpostaFontBold(bool grassetto) { font_.setBold(grassetto); }

void StampanteQt::Stampa(const std::string& testo, bool aCapo) {
    IniziaDocumento();
    const QFontMetricsF metriche(font_, &printer_);
    // Text that would pass the bottom of the printable area goes on a new page.
    if (y_ > 0 && y_ + std::max(altezzaRiga_, metriche.lineSpacing()) > printer_.height()) {
        if (!printer_.newPage()) Fallita(QStringLiteral("nuova pagina"));
        y_ = 0;
    }
    altezzaRiga_ = std::max(altezzaRiga_, metriche.lineSpacing());
    const QString testoQt = DaCp1252(testo);
    painter_.setFont(font_);
    painter_.drawText(QPointF(x_, y_ + metriche.ascent()), testoQt);
    x_ += metriche.horizontalAdvance(testoQt);
    if (aCapo) {
        y_ += altezzaRiga_;
        x_ = 0;
        altezzaRiga_ = 0;
    }
}

void StampanteQt::NuovaPagina() {
    IniziaDocumento();
    if (!printer_.newPage()) Fallita(QStringLiteral("nuova pagina"));
    x_ = y_ = altezzaRiga_ = 0;
}

void StampanteQt::FineDocumento() {
    if (!painter_.isActive()) return;
    if (!painter_.end() || printer_.printerState() == QPrinter::Error) Fallita(QStringLiteral("fine del documento"));
    x_ = y_ = altezzaRiga_ = 0;
}

QString StampanteQt::FamigliaUsata() const { return QFontInfo(font_).family(); }

void StampanteQt::IniziaDocumento() {
    if (painter_.isActive()) return;
    if (!painter_.begin(&printer_)) Fallita(QStringLiteral("inizio del documento"));
    x_ = y_ = altezzaRiga_ = 0;
}

void StampanteQt::Fallita(const QString& cosa) {
    const QString dove = printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName()
                                                                          : printer_.printerName();
    // The failed job is given up, so that the next document starts a job of its own.
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
    }
    throw Errore(NumeroErrore::ErroreStampante,
                 "Errore della stampante '" + dove.toStdString() + "' (" + cosa.toStdString() + ").");
}
