#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/piattaforma/Stampante.h"

// A printer object for tests: installed printers given in advance, every
// operation logged with its arguments.
// Measures (not logged): a page whose printable area is `larghezza` by
// `altezza` points upright, turned in landscape; every character 0.6 of the
// font size wide, every line 1.2 of it high (the tallest size on it). Lines
// that end past the right edge or the foot of that area are counted.
// Entries: "Scegli X", "Pdf", "Duplex N", "Orientamento N", "Font X",
// "Dimensione N", "Grassetto 0|1", "Testo [X]" (no line end), "Riga [X]",
// "NuovaPagina", "FineDocumento".
class StampanteRegistrata : public Stampante {
public:
    explicit StampanteRegistrata(std::vector<std::string> installate = {"Ufficio laser"})
        : installate_(std::move(installate)) {}

    std::vector<std::string> registro;
    // The printable area upright, in points: A4 less margins of 18 points.
    double larghezza = 559;
    double altezza = 806;
    // Lines printed past the right edge or the foot of the printable area.
    int righeFuori = 0;

    std::vector<std::string> Stampanti() override { return installate_; }
    // The last one chosen, else the first installed.
    std::string StampanteAttiva() override { return !attiva_.empty() ? attiva_ : installate_.empty() ? "" : installate_[0]; }
    void ScegliStampante(const std::string& nome) override {
        registro.push_back("Scegli " + nome);
        attiva_ = nome;
    }
    // A PDF document makes these bytes.
    std::string pdf = "%PDF-1.4 registrato\n%%EOF\n";
    void StampaInPdf() override {
        registro.push_back("Pdf");
        inPdf_ = true;
    }
    std::string PrendiPdf() override { return std::exchange(fatto_, std::string()); }
    void ImpostaDuplex(int modo) override { registro.push_back("Duplex " + std::to_string(modo)); }
    void ImpostaOrientamento(int orientamento) override {
        registro.push_back("Orientamento " + std::to_string(orientamento));
        orizzontale_ = orientamento == 2;
    }
    void ImpostaFontName(const std::string& nome) override { registro.push_back("Font " + nome); }
    void ImpostaFontSize(double punti) override;
    void ImpostaFontBold(bool grassetto) override { registro.push_back(grassetto ? "Grassetto 1" : "Grassetto 0"); }
    void Stampa(const std::string& testo, bool aCapo) override;
    double LarghezzaStampabile() override { return orizzontale_ ? altezza : larghezza; }
    double AltezzaStampabile() override { return orizzontale_ ? larghezza : altezza; }
    double LarghezzaTesto(const std::string& testo, const FontStampa& carattere) override {
        return kLarghezzaCarattere * carattere.dimensione * static_cast<double>(testo.size());
    }
    double AltezzaRiga(const FontStampa& carattere) override { return kAltezzaRiga * carattere.dimensione; }
    void NuovaPagina() override {
        registro.push_back("NuovaPagina");
        x_ = y_ = altezzaRiga_ = 0;
    }
    void FineDocumento() override {
        registro.push_back("FineDocumento");
        x_ = y_ = altezzaRiga_ = 0;
        if (std::exchange(inPdf_, false)) fatto_ = pdf;
    }

private:
    static constexpr double kLarghezzaCarattere = 0.6;
    static constexpr double kAltezzaRiga = 1.2;

    std::vector<std::string> installate_;
    std::string attiva_;
    bool inPdf_ = false;
    std::string fatto_;
    double dimensione_ = 0;
    bool orizzontale_ = false;
    // Where the next text goes on the page, and the height of the line so far.
    double x_ = 0;
    double y_ = 0;
    double altezzaRiga_ = 0;
};
