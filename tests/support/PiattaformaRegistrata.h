#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/ApriDocumento.h"
#include "common/AvviaProgramma.h"

// Documents opened through the desktop, in order.
class ApriDocumentoRegistrato : public ApriDocumento {
public:
    std::vector<std::string> aperti;
    void Apri(const std::string& percorso) override { aperti.push_back(percorso); }
};

// Programs started, in order; `allAvvio` runs as each one starts (to look at
// what it would find), and may throw as a failed start does.
class AvviaProgrammaRegistrato : public AvviaProgramma {
public:
    std::vector<std::string> avviati;
    std::function<void()> allAvvio = [] {};
    void Avvia(const std::string& nome) override {
        allAvvio();
        avviati.push_back(nome);
    }
};
