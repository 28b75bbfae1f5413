#pragma once

#include <string>
#include <vector>

#include "common/piattaforma/Stampante.h"

// A printer object for tests: installed printers given in advance, every
// operation logged with its arguments, the font size read back as set.
// Entries: "Scegli X", "Pdf FILE", "Duplex N", "Orientamento N", "Font X",
// "Dimensione N", "Grassetto 0|1", "Testo [X]" (no line end), "Riga [X]",
// "NuovaPagina", "FineDocumento".
class StampanteRegistrata : public Stampante {
public:
    explicit StampanteRegistrata(std::vector<std::string> installate = {"Ufficio laser"})
        : installate_(std::move(installate)) {}

    std::vector<std::string> registro;

    std::vector<std::string> Stampanti() override { return installate_; }
    // The last one chosen, else the first installed.
    std::string StampanteAttiva() override { return !attiva_.empty() ? attiva_ : installate_.empty() ? "" : installate_[0]; }
    void ScegliStampante(const std::string& nome) override {
        registro.push_back("Scegli " + nome);
        attiva_ = nome;
    }
    void StampaSuPdf(const std::string& percorso) override { registro.push_back("Pdf " + percorso); }
    void ImpostaDuplex(int modo) override { registro.push_back("Duplex " + std::to_string(modo)); }
    void ImpostaOrientamento(int orientamento) override {
        registro.push_back("Orientamento " + std::to_string(orientamento));
    }
    void ImpostaFontName(const std::string& nome) override { registro.push_back("Font " + nome); }
    void ImpostaFontSize(double punti) override;
    double FontSize() override { return dimensione_; }
    void ImpostaFontBold(bool grassetto) override { registro.push_back(grassetto ? "Grassetto 1" : "Grassetto 0"); }
    void Stampa(const std::string& testo, bool aCapo) override {
        registro.push_back((aCapo ? "Riga [" : "Testo [") + testo + "]");
    }
    void NuovaPagina() override { registro.push_back("NuovaPagina"); }
    void FineDocumento() override { registro.push_back("FineDocumento"); }

private:
    std::vector<std::string> installate_;
    std::string attiva_;
    double dimensione_ = 0;
};
