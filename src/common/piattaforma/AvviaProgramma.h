#pragma once

#include <string>
#include <vector>

#include "common/Contesto.h"

// The environment variable a program started by AvviaProgramma finds set: the
// program that started it waits for it and shows its outcome to the user.
inline constexpr const char* VariabileEsitoMostrato = "BROVATO5_MOSTRA_ESITO";

// How a helper program ended.
struct EsitoEsecuzione {
    int codice = 0;         // its exit status; -1 when it did not end by itself
    std::string messaggio;  // what it wrote on stdout and stderr, in UTF-8
};

// Runs a helper program of the suite (the mailer) by name, in the data folder
// as the workstation of a context: the program starts in that folder with
// PCLocal set to that workstation.
class AvviaProgramma {
public:
    virtual ~AvviaProgramma() = default;

    // Runs `nome` with `argomenti`, the program of that name beside this one
    // first, then the one found on PATH, and waits for it to end while the
    // program's windows go on being drawn and answering. The program's windows
    // kept on top step back first, so that one it opens (a mail client) is not
    // hidden behind them. Throws Errore 53 when it cannot be found or started.
    virtual EsitoEsecuzione Esegui(const std::string& nome, const Contesto& contesto,
                                   const std::vector<std::string>& argomenti = {}) = 0;
};
