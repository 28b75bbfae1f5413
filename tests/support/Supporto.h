#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "archivio/FileArchivio.h"
#include "common/Contesto.h"

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
    // This folder as the data folder of workstation `postazione`.
    Contesto Dati(const std::string& postazione = "") const;
    // Copies every file of `origine` into this folder.
    void CopiaDa(const std::filesystem::path& origine) const;

private:
    std::filesystem::path percorso_;
    std::filesystem::path precedente_;
};

// A full disk for a test: a tmpfs of `byte` bytes mounted on the folder
// `cartella` (created when missing) and unmounted at the end of the test.
// Problema() says why there is none (mounting needs the right to mount).
class DiscoPiccolo {
public:
    DiscoPiccolo(std::filesystem::path cartella, std::size_t byte);
    ~DiscoPiccolo();
    DiscoPiccolo(const DiscoPiccolo&) = delete;
    DiscoPiccolo& operator=(const DiscoPiccolo&) = delete;

    const std::string& Problema() const { return problema_; }

private:
    std::filesystem::path cartella_;
    std::string problema_;
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

// The current folder as the data folder of the workstation of PCLocal, as
// the program takes them when started in a data folder.
Contesto ContestoCorrente();

// The file at `percorso` as the store names a file: its folder and its name.
FileArchivio FileDelTest(const std::filesystem::path& percorso);

// Whole content of a file as bytes.
std::string LeggiFile(const std::filesystem::path& percorso);

// A local time: `giorno`/`mese`/`anno` at `ore`:`minuti`.
std::tm Ora(int giorno, int mese, int anno, int ore = 14, int minuti = 5);
// Writes `byte` as the whole content of a file, created or emptied.
void ScriviFile(const std::filesystem::path& percorso, const std::string& byte);

// A report of `righe` lines of `lunghezza` characters, each ending in CR LF:
// each begins with its number and ends with a box-drawing bar (byte 179).
std::string ReportNumerato(int righe, std::size_t lunghezza = 132);

// Runs the command line `comando` through the shell, its standard output
// thrown away; its exit status and what it wrote on stderr.
std::pair<int, std::string> EseguiConErrori(const std::string& comando);

// Number of the Errore thrown by `azione`; 0 when it throws none.
int NumeroErroreDi(const std::function<void()>& azione);

// Switches the C library to an Italian locale (decimal comma), as a GUI
// program under an Italian desktop runs, and back to "C" at the end of the
// test. Attiva() is false when no such locale is installed.
class LocaleVirgolaDecimale {
public:
    LocaleVirgolaDecimale();
    ~LocaleVirgolaDecimale();
    LocaleVirgolaDecimale(const LocaleVirgolaDecimale&) = delete;
    LocaleVirgolaDecimale& operator=(const LocaleVirgolaDecimale&) = delete;

    bool Attiva() const { return attiva_; }

private:
    bool attiva_ = false;
};
