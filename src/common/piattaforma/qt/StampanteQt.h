#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>

#include "common/piattaforma/Stampante.h"

// The printer object over Qt's print support: the print system's queues,
// documents drawn with QPainter on a QPrinter (a print job on the active
// queue, or a PDF file). Needs a QGuiApplication.
class StampanteQt : public Stampante {
public:
    // The active printer is the system's default one, else the first installed.
    StampanteQt();
    ~StampanteQt() override;

    std::vector<std::string> Stampanti() override;
    void ScegliStampante(const std::string& nome) override;
    void StampaSuPdf(const std::string& percorso) override;
    void ImpostaDuplex(int modo) override;
    void ImpostaOrientamento(int orientamento) override;
    void ImpostaFontName(const std::string& nome) override;
    void ImpostaFontSize(double punti) override;
    double FontSize() override;
    void ImpostaFontBold(bool grassetto) override;
    void Stampa(const std::string& testo, bool aCapo) override;
    void NuovaPagina() override;
    void FineDocumento() override;

    // The family the font name resolved to, as it is drawn.
    QString FamigliaUsata() const;

private:
    // Starts the document on the first text or page of a print job.
    void IniziaDocumento();
    // Gives up the document under way and throws Errore 482 naming the printer or PDF file.
    [[noreturn]] void Fallita(const QString& cosa);

    QPrinter printer_{QPrinter::HighResolution};
    QPainter painter_;
    QFont font_;
    // Position of the next text in device pixels from the top left of the
    // printable area, and the tallest line spacing used on the current line.
    double x_ = 0;
    double y_ = 0;
    double altezzaRiga_ = 0;
};
