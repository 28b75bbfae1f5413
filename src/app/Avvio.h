#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/Contesto.h"

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

// The workstation number of this run: --postazione, else the variable
// PCLocal, else `salvata` (the number saved for starts outside a data
// folder). Throws Errore 5 for a number that cannot be part of a file name.
std::string PostazioneDiAvvio(const OpzioniAvvio& opzioni, const std::string& salvata = {});

// Where a command works: the data folder of --cartella, else the current
// folder, opened once, and the workstation of PostazioneDiAvvio. Throws
// Errore 76 when the folder cannot be opened, 5 for a wrong workstation.
Contesto ContestoDiAvvio(const OpzioniAvvio& opzioni);

// What both programs do first with the options, before their own work: a
// usage error is written on `err` with the hint to the usage (exit status 2),
// --version writes the version on `out` (0). That status, or nothing when the
// program goes on.
std::optional<int> RispondiOpzioniAvvio(const OpzioniAvvio& opzioni, std::ostream& out, std::ostream& err);

// True when the options ask for what only the program of the windows does:
// the main window (no command, or --configura), printing ("stampa") and the
// room rack's PDF ("quadro --pdf").
bool RichiedeProgrammaGrafico(const OpzioniAvvio& opzioni);

// Replaces this process with the program of the windows brovato5-qt, which
// holds the graphic library and does all that brovato5 does, given the same
// command line `argv` (the program's name and the options untouched). Returns
// only when it cannot: throws Errore 53 when the program is not found or
// cannot be started.
void PassaAlProgrammaGrafico(char* const argv[]);
