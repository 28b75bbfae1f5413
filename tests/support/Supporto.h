#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Folder of the project's test data (tests/data).
std::filesystem::path CartellaDatiTest();

// A fresh temporary folder, removed with everything in it at the end of the
// test. With `entra`, the current folder moves there for the test's duration
// (the program finds its databases and writes its files in the current folder).
class CartellaTemporanea {
public:
    explicit CartellaTemporanea(bool entra = false);
    ~CartellaTemporanea();
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

    const std::filesystem::path& Percorso() const { return percorso_; }
    // Copies every file of `origine` into this folder.
    void CopiaDa(const std::filesystem::path& origine) const;

private:
    std::filesystem::path percorso_;
    std::filesystem::path precedente_;
};

// Sets an environment variable for the duration of a test, restoring it after.
class VariabileAmbiente {
public:
    VariabileAmbiente(std::string nome, const char* valore);
    ~VariabileAmbiente();
    VariabileAmbiente(const VariabileAmbiente&) = delete;
    VariabileAmbiente& operator=(const VariabileAmbiente&) = delete;

private:
    std::string nome_;
    bool aveva_ = false;
    std::string vecchio_;
};

// The process under a locale with a decimal comma (as a GUI program runs for
// an Italian user), in its environment too, for a test's duration; back to the
// "C" locale after. Disponibile() is false when no such locale is installed.
class LocaleConVirgolaDecimale {
public:
    LocaleConVirgolaDecimale();
    ~LocaleConVirgolaDecimale();
    LocaleConVirgolaDecimale(const LocaleConVirgolaDecimale&) = delete;
    LocaleConVirgolaDecimale& operator=(const LocaleConVirgolaDecimale&) = delete;

    bool Disponibile() const { return disponibile_; }

private:
    VariabileAmbiente tutto_;
    VariabileAmbiente numeri_;
    bool disponibile_ = false;
};

// Whole content of a file as bytes.
std::string LeggiFile(const std::filesystem::path& percorso);

// Number of the Errore thrown by `azione`; 0 when it throws none.
int NumeroErroreDi(const std::function<void()>& azione);
