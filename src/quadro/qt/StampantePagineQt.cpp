#include "quadro/qt/StampantePagineQt.h"

#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "common/Errore.h"
#include "common/forms/Aspetto.h"

std::string StampantePagineQt::Stampa(QWidget* proprietaria, FormatoCarta formato, const DisegnoPagine& disegna) {
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        throw Errore(NumeroErrore::ErroreStampante,
                     "Nessuna stampante installata: aggiungerne una nelle impostazioni di stampa del sistema, "
                     "oppure salvare il tableau in PDF.");
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setPageSize(QPageSize(formato == FormatoCarta::A3 ? QPageSize::A3 : QPageSize::A4));
    stampante.setPageOrientation(QPageLayout::Landscape);
    stampante.setDocName(QStringLiteral("Tableau a video"));
    QPrintDialog dialogo(&stampante, proprietaria);
    dialogo.setWindowTitle(QStringLiteral("Stampa del tableau"));
    dialogo.setOption(QAbstractPrintDialog::PrintToFile, false);
    CediPrimoPiano();
    if (dialogo.exec() != QDialog::Accepted) return {};
    const std::string nome = stampante.printerName().toStdString();
    QPainter pittore;
    if (!pittore.begin(&stampante))
        throw Errore(NumeroErrore::ErroreStampante, "La stampante '" + nome + "' non accetta la stampa: controllare "
                                                    "che sia accesa e collegata.");
    disegna(stampante, pittore);
    if (!pittore.end() || stampante.printerState() == QPrinter::Error)
        throw Errore(NumeroErrore::ErroreStampante,
                     "Errore della stampante '" + nome + "' durante la stampa del tableau: controllare la stampante "
                     "e ripetere la stampa.");
    return nome;
}
