#pragma once

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "common/piattaforma/Stampante.h"

// The printer object over Qt's print support: the print system's queues,
// documents drawn with QPainter on a QPrinter (a print job on the active
// queue, or a PDF). A PDF is made in a file in memory that no other program
// can reach, and handed over as bytes. Needs a QGuiApplication.
class StampanteQt : public Stampante {
public:
    // The active printer is the system's default one, else the first installed.
    StampanteQt();
    ~StampanteQt() override;

    std::vector<std::string> Stampanti() override;
    std::string StampanteAttiva() override;
    void ScegliStampante(const std::string& nome) override;
    void StampaInPdf() override;
    std::string PrendiPdf() override;
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
    // Keeps the finished PDF document's bytes, when it was made whole.
    void ConcludiPdf(bool finito);
    // After a PDF document, or instead of the one asked for: documents go to the active printer again.
    void TornaAllaStampante();
    // Gives up the document under way and throws Errore 482 naming the printer, or for a PDF
    // Errore 75.
    [[noreturn]] void Fallita(const QString& cosa);

    QPrinter printer_{QPrinter::HighResolution};
    QPainter painter_;
    QFont font_;
    QString attiva_;        // the active printer; "" when none is installed
    QPageSize formato_;     // its page size, given back after a PDF
    bool pdf_ = false;      // the next document is a PDF
    int memoria_ = -1;      // the file in memory the PDF document is written into
    std::string fatto_;     // the last PDF made whole, until taken
    // Position of the next text in device pixels from the top left of the
    // printable area, and the tallest line spacing used on the current line.
    double x_ = 0;
    double y_ = 0;
    double altezzaRiga_ = 0;
};
