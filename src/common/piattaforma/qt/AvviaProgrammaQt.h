#pragma once

#include "common/piattaforma/AvviaProgramma.h"

// Runs programs with QProcess, waiting in an event loop of its own.
class AvviaProgrammaQt : public AvviaProgramma {
public:
    EsitoEsecuzione Esegui(const std::string& nome, const Contesto& contesto,
                           const std::vector<std::string>& argomenti) override;
};
