#pragma once

#include <string>
#include <vector>

// A font as the printer draws it: name, size in points, weight.
struct FontStampa {
    std::string nome;
    double dimensione = 0;
    bool grassetto = false;
};

// The printer object: the installed printers, the active one, and the
// document being printed on it. Texts are Windows-1252, as everywhere in the
// core. Duplex, orientation and font settings stay on the active printer
// between documents until they are set again.
class Stampante {
public:
    virtual ~Stampante() = default;

    // DeviceName of every installed printer, in the platform's order.
    virtual std::vector<std::string> Stampanti() = 0;
    // DeviceName of the active printer; "" when none is installed.
    virtual std::string StampanteAttiva() = 0;
    // Makes the installed printer `nome` the active one (and drops a PDF file
    // asked for and not yet printed into).
    virtual void ScegliStampante(const std::string& nome) = 0;
    // The next document is made as a PDF, in memory, instead of on a
    // printer; the documents after it go to the active printer again.
    virtual void StampaInPdf() = 0;
    // The bytes of that PDF once its document has ended, taken away: the
    // caller writes them where they go. Throws Errore 75 when it was not made
    // whole (nothing was asked as a PDF, or drawing it failed).
    virtual std::string PrendiPdf() = 0;

    // 2 = two-sided, any other value one-sided.
    virtual void ImpostaDuplex(int modo) = 0;
    // 1 = portrait, 2 = landscape.
    virtual void ImpostaOrientamento(int orientamento) = 0;
    virtual void ImpostaFontName(const std::string& nome) = 0;
    // Size in points, fractions included.
    virtual void ImpostaFontSize(double punti) = 0;
    virtual void ImpostaFontBold(bool grassetto) = 0;

    // The printable area of the next document's pages, in points, with the
    // orientation and the printer (or PDF) set: width and height.
    virtual double LarghezzaStampabile() = 0;
    virtual double AltezzaStampabile() = 0;
    // Width of `testo` drawn in `carattere`, and the height a line of it
    // takes, in points. They change nothing of what is set.
    virtual double LarghezzaTesto(const std::string& testo, const FontStampa& carattere) = 0;
    virtual double AltezzaRiga(const FontStampa& carattere) = 0;

    // Prints `testo`; with `aCapo` the line ends, otherwise the next text
    // continues on the same line at the position reached.
    virtual void Stampa(const std::string& testo, bool aCapo) = 0;
    virtual void NuovaPagina() = 0;
    // Hands the pages printed so far to the platform as one print job.
    virtual void FineDocumento() = 0;
};
