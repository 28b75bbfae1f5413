#pragma once

#include "common/piattaforma/AvviaProgramma.h"

// Starts programs as detached processes: they outlive this one and are not waited for.
class AvviaProgrammaQt : public AvviaProgramma {
public:
    void Avvia(const std::string& nome) override;
};
