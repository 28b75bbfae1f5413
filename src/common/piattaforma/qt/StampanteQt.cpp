#include "common/piattaforma/qt/StampanteQt.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPrinterInfo>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "common/Errore.h"
#include "common/CartellaDati.h"
#include "common/forms/TestoQt.h"

namespace {

// Qt refuses font sizes of 0 points or less; such a size prints at this one.
constexpr double DimensioneMinima = 1.0;
constexpr double PuntiPerPollice = 72.0;
// A week's report makes a PDF of a few hundred kilobytes; one larger than
// this is not taken into memory.
constexpr std::size_t kMassimoPdf = std::size_t{256} << 20;
// A PDF document as Qt leaves it when it was written whole: it begins with
// the header and ends with the end-of-file mark.
bool PdfCompleto(const std::string& pdf) {
    return pdf.starts_with("%PDF-") && pdf.find("%%EOF", pdf.size() > 32 ? pdf.size() - 32 : 0) != std::string::npos;
}

Errore ErrorePdf() {
    return Errore(NumeroErrore::FileNonScrivibile,
                  "Il PDF non è stato fatto intero: ripetere la stampa, e se succede ancora controllare la memoria "
                  "libera del computer.");
}

}  // namespace

StampanteQt::StampanteQt() : font_(QStringLiteral("Courier New"), 10) {
    QPrinterInfo attiva = QPrinterInfo::defaultPrinter();
    if (attiva.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        attiva = QPrinterInfo::availablePrinters().first();
    if (!attiva.isNull()) {
        attiva_ = attiva.printerName();
        printer_.setPrinterName(attiva_);
    }
    printer_.setPageOrientation(QPageLayout::Portrait);
    formato_ = printer_.pageLayout().pageSize();
}

StampanteQt::~StampanteQt() {
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
    }
    if (memoria_ >= 0) close(memoria_);
}

std::vector<std::string> StampanteQt::Stampanti() {
    std::vector<std::string> nomi;
    for (const QString& nome : QPrinterInfo::availablePrinterNames()) nomi.push_back(InCp1252(nome));
    return nomi;
}

std::string StampanteQt::StampanteAttiva() { return InCp1252(attiva_); }

void StampanteQt::ScegliStampante(const std::string& nome) {
    attiva_ = DaCp1252(nome);
    TornaAllaStampante();
}

void StampanteQt::StampaInPdf() {
    if (!pdf_) formato_ = printer_.pageLayout().pageSize();
    pdf_ = true;
    fatto_.clear();
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setPageSize(QPageSize(QPageSize::A4));
}

std::string StampanteQt::PrendiPdf() {
    if (fatto_.empty()) throw ErrorePdf();
    return std::exchange(fatto_, std::string());
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

// In device pixels of the printer, as the pages are drawn, turned into points.
double StampanteQt::LarghezzaStampabile() { return printer_.width() * PuntiPerPollice / printer_.logicalDpiX(); }

double StampanteQt::AltezzaStampabile() { return printer_.height() * PuntiPerPollice / printer_.logicalDpiY(); }

double StampanteQt::LarghezzaTesto(const std::string& testo, const FontStampa& carattere) {
    const QFontMetricsF metriche(Font(carattere), &printer_);
    return metriche.horizontalAdvance(DaCp1252(testo)) * PuntiPerPollice / printer_.logicalDpiX();
}

double StampanteQt::AltezzaRiga(const FontStampa& carattere) {
    const QFontMetricsF metriche(Font(carattere), &printer_);
    return metriche.lineSpacing() * PuntiPerPollice / printer_.logicalDpiY();
}

QFont StampanteQt::Font(const FontStampa& carattere) {
    QFont font(DaCp1252(carattere.nome));
    font.setPointSizeF(carattere.dimensione > 0 ? carattere.dimensione : DimensioneMinima);
    font.setBold(carattere.grassetto);
    return font;
}

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
    const bool finito = painter_.end() && printer_.printerState() != QPrinter::Error;
    x_ = y_ = altezzaRiga_ = 0;
    if (pdf_) {
        ConcludiPdf(finito);
        return;
    }
    if (!finito) Fallita(QStringLiteral("fine del documento"));
}

QString StampanteQt::FamigliaUsata() const { return QFontInfo(font_).family(); }

void StampanteQt::IniziaDocumento() {
    if (painter_.isActive()) return;
    if (pdf_) {
        // Qt writes a PDF only into a file it opens by name: the name of a
        // file in memory of this process's own, which no other user can put
        // a link or anything else in the place of.
        memoria_ = memfd_create("brovato5-pdf", MFD_CLOEXEC);
        if (memoria_ < 0) {
            TornaAllaStampante();
            throw ErrorePdf();
        }
        printer_.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(memoria_));
    }
    if (!painter_.begin(&printer_)) Fallita(QStringLiteral("inizio del documento"));
    x_ = y_ = altezzaRiga_ = 0;
}

void StampanteQt::ConcludiPdf(bool finito) {
    std::string pdf;
    if (finito && lseek(memoria_, 0, SEEK_SET) == 0) pdf = LeggiDescrittore(memoria_, kMassimoPdf).value_or("");
    TornaAllaStampante();
    if (!PdfCompleto(pdf)) throw ErrorePdf();
    fatto_ = std::move(pdf);
}

void StampanteQt::TornaAllaStampante() {
    pdf_ = false;
    if (memoria_ >= 0) close(std::exchange(memoria_, -1));
    // The output file is dropped too: Qt would otherwise print into it even on a printer.
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        printer_.setOutputFileName(QString());
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setPageSize(formato_);
    }
    if (!attiva_.isEmpty()) printer_.setPrinterName(attiva_);
}

void StampanteQt::Fallita(const QString& cosa) {
    const QString stampante = printer_.printerName();
    const bool pdf = pdf_;
    // The failed job is given up, so that the next document starts a job of its own.
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
    }
    TornaAllaStampante();
    if (pdf) throw ErrorePdf();
    throw Errore(NumeroErrore::ErroreStampante,
                 "Errore della stampante '" + stampante.toStdString() + "' (" + cosa.toStdString() + ").");
}
