#pragma once

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "common/piattaforma/Stampante.h"

// The printer object over Qt's print support: the print system's queues,
// documents drawn with QPainter on a QPrinter (a print job on the active
// queue, or a PDF file). A PDF is written into a file beside its name and
// takes the name only when complete. Needs a QGuiApplication.
class StampanteQt : public Stampante {
public:
    // The active printer is the system's default one, else the first installed.
    StampanteQt();
    ~StampanteQt() override;

    std::vector<std::string> Stampanti() override;
    std::string StampanteAttiva() override;
    void ScegliStampante(const std::string& nome) override;
    void StampaSuPdf(const std::string& percorso) override;
    void ImpostaDuplex(int modo) override;
    void ImpostaOrientamento(int orientamento) override;
    void ImpostaFontName(const std::string& nome) override;
    void ImpostaFontSize(double punti) override;
    void ImpostaFontBold(bool grassetto) override;
    double LarghezzaStampabile() override;
    double AltezzaStampabile() override;
    double LarghezzaTesto(const std::string& testo, const FontStampa& carattere) override;
    double AltezzaRiga(const FontStampa& carattere) override;
    void Stampa(const std::string& testo, bool aCapo) override;
    void NuovaPagina() override;
    void FineDocumento() override;

    // The family the font name resolved to, as it is drawn.
    QString FamigliaUsata() const;

private:
    // The font `carattere` stands for, as it is drawn.
    static QFont Font(const FontStampa& carattere);
    // Starts the document on the first text or page of a print job.
    void IniziaDocumento();
    // Gives the finished PDF document its name, or throws Errore 61 / 75 when it was not written whole.
    void ConcludiPdf(bool finito);
    // After a PDF document, or instead of the one asked for: documents go to the active printer again.
    void TornaAllaStampante();
    // Gives up the document under way and throws Errore 482 naming the printer, or for a PDF
    // Errore 61 / 75 naming the file.
    [[noreturn]] void Fallita(const QString& cosa);

    QPrinter printer_{QPrinter::HighResolution};
    QPainter painter_;
    QFont font_;
    QString attiva_;        // the active printer; "" when none is installed
    QPageSize formato_;     // its page size, given back after a PDF
    QString pdf_;           // the PDF file of the next document; "" for the active printer
    QString provvisorio_;   // the file beside it that the document is written into until complete
    // Position of the next text in device pixels from the top left of the
    // printable area, and the tallest line spacing used on the current line.
    double x_ = 0;
    double y_ = 0;
    double altezzaRiga_ = 0;
};
