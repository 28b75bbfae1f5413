#pragma once

#include <string>
#include <vector>

#include "common/piattaforma/ApriDocumento.h"
#include "common/piattaforma/AvviaProgramma.h"

// Documents opened through the desktop, in order.
class ApriDocumentoRegistrato : public ApriDocumento {
public:
    std::vector<std::string> aperti;
    void Apri(const std::string& percorso) override { aperti.push_back(percorso); }
};

// Programs started, in order.
class AvviaProgrammaRegistrato : public AvviaProgramma {
public:
    std::vector<std::string> avviati;
    void Avvia(const std::string& nome) override { avviati.push_back(nome); }
};
