#include "common/piattaforma/qt/StampanteQt.h"

#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPrinterInfo>
#include <QStorageInfo>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/forms/TestoQt.h"

namespace {

// Qt refuses font sizes of 0 points or less; such a size prints at this one.
constexpr double DimensioneMinima = 1.0;
constexpr double PuntiPerPollice = 72.0;
// Less room than this left beside a PDF that was cut short: the disk is full.
constexpr qint64 SpazioMinimo = 64 * 1024;

// The file of a PDF document as Qt leaves it when it was written whole: it
// begins with the header and ends with the end-of-file mark. Qt's PDF output
// reports no write error; a full disk leaves it without its end.
bool PdfCompleto(const QString& percorso) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-")) return false;
    file.seek(std::max<qint64>(0, file.size() - 32));
    return file.readAll().contains("%%EOF");
}

bool DiscoPieno(const QString& percorso) {
    const QStorageInfo disco(QFileInfo(percorso).absolutePath());
    return disco.isValid() && disco.bytesAvailable() < SpazioMinimo;
}

Errore ErrorePdf(const QString& pdf, bool discoPieno) {
    const std::string nome = pdf.toStdString();
    if (discoPieno)
        return Errore(NumeroErrore::DiscoPieno, "Disco pieno: il file PDF '" + nome +
                                                    "' non è stato scritto. Liberare spazio sul disco e ripetere "
                                                    "la stampa.");
    return Errore(NumeroErrore::FileNonScrivibile,
                  "Il file PDF '" + nome +
                      "' non è stato scritto: controllare che la cartella esista, che si possa scriverci e che il "
                      "nome non sia quello di una cartella.");
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
    if (!provvisorio_.isEmpty()) QFile::remove(provvisorio_);
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

void StampanteQt::StampaSuPdf(const std::string& percorso) {
    if (pdf_.isEmpty()) formato_ = printer_.pageLayout().pageSize();
    pdf_ = DaCp1252(percorso);
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setPageSize(QPageSize(QPageSize::A4));
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
    if (!pdf_.isEmpty()) {
        ConcludiPdf(finito);
        return;
    }
    if (!finito) Fallita(QStringLiteral("fine del documento"));
}

QString StampanteQt::FamigliaUsata() const { return QFontInfo(font_).family(); }

void StampanteQt::IniziaDocumento() {
    if (painter_.isActive()) return;
    if (!pdf_.isEmpty()) {
        std::string provvisorio;
        const int fd = CreaTemporaneo(QFile::encodeName(pdf_).toStdString(), provvisorio);
        if (fd < 0) {
            const QString pdf = pdf_;
            TornaAllaStampante();
            throw ErrorePdf(pdf, false);
        }
        close(fd);
        provvisorio_ = QFile::decodeName(provvisorio.c_str());
        printer_.setOutputFileName(provvisorio_);
    }
    if (!painter_.begin(&printer_)) Fallita(QStringLiteral("inizio del documento"));
    x_ = y_ = altezzaRiga_ = 0;
}

void StampanteQt::ConcludiPdf(bool finito) {
    const QString pdf = pdf_;
    const QString provvisorio = std::exchange(provvisorio_, QString());
    const bool completo = finito && PdfCompleto(provvisorio);
    const bool discoPieno = !completo && DiscoPieno(provvisorio);
    const bool rinominato =
        completo && std::rename(QFile::encodeName(provvisorio).constData(), QFile::encodeName(pdf).constData()) == 0;
    if (!rinominato) QFile::remove(provvisorio);
    TornaAllaStampante();
    if (!rinominato) throw ErrorePdf(pdf, discoPieno);
}

void StampanteQt::TornaAllaStampante() {
    pdf_.clear();
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
    const QString pdf = pdf_;
    // A PDF fails because its file cannot be written (Qt stops at a full disk too).
    const bool discoPieno = !provvisorio_.isEmpty() && DiscoPieno(provvisorio_);
    // The failed job is given up, so that the next document starts a job of its own.
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
    }
    if (!provvisorio_.isEmpty()) QFile::remove(std::exchange(provvisorio_, QString()));
    TornaAllaStampante();
    if (!pdf.isEmpty()) throw ErrorePdf(pdf, discoPieno);
    throw Errore(NumeroErrore::ErroreStampante,
                 "Errore della stampante '" + stampante.toStdString() + "' (" + cosa.toStdString() + ").");
}
