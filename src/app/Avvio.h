#pragma once

#include <optional>
#include <string>
#include <vector>

// The options given before a command, or alone for the main window: where the
// program works and as which workstation, for this run only.
struct OpzioniAvvio {
    std::optional<std::string> cartella;    // --cartella DIR: the data folder
    std::optional<std::string> postazione;  // --postazione N: the workstation number (PCLocal)
    bool configura = false;                 // --configura: ask again for the data folder and workstation
    bool versione = false;                  // --version
    std::vector<std::string> resto;         // the command and its arguments; empty for the main window
    std::string errore;                     // a usage error; empty when the options are right
};

// Reads the leading options of the command line (the arguments after the
// program name), "--nome valore" or "--nome=valore"; the first other argument
// and all after it are the command's.
OpzioniAvvio LeggiOpzioniAvvio(const std::vector<std::string>& argomenti);

// A workstation number: one to five digits.
bool PostazioneValida(const std::string& postazione);

// The suite's files the main window opens, which a data folder holds.
const std::vector<std::string>& FileCartellaDati();

// Those of the suite's files that `cartella` lacks, their names matched
// without regard to case; empty for a data folder.
std::vector<std::string> FileDatiMancanti(const std::string& cartella);

// True when `cartella` holds at least one of the suite's files: the program
// was started in a data folder (complete or not, it works there as it is).
bool InCartellaDati(const std::string& cartella);

// Makes `cartella` the current folder. Throws Errore 76 when it cannot.
void EntraNellaCartella(const std::string& cartella);

// Makes `postazione` the workstation number of this run (the variable PCLocal).
void ImpostaPostazione(const std::string& postazione);
