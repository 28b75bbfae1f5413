#pragma once

#include <string>

#include "common/CartellaDati.h"

// Where and as which workstation the program works: the data folder, opened
// once at start-up, and the workstation number (PCLocal), which keeps apart
// the files of the workstations that share the folder. Made at start-up and
// handed to whatever reads or writes the folder.
struct Contesto {
    CartellaDati cartella;
    std::string postazione;
};

// The workstation number of the environment variable PCLocal (name matched
// without regard to case), blanks trimmed; "" when it is not set. Read once,
// at start-up. Throws Errore 5 when it holds "/", "\" or "..": it becomes
// part of file names in the data folder.
std::string PostazioneDellAmbiente();

// Checks a workstation number given on the command line or saved, as
// PostazioneDellAmbiente checks the variable's; `origine` names where it
// comes from in the message. Gives it trimmed.
std::string ControllaPostazione(const std::string& postazione, const std::string& origine);
