#pragma once

#include <string>
#include <vector>

#include "common/piattaforma/ApriDocumento.h"
#include "common/piattaforma/AvviaProgramma.h"

// Documents opened through the desktop, in order.
class ApriDocumentoRegistrato : public ApriDocumento {
public:
    std::vector<std::string> aperti;
    // What Apri answers: false as for a desktop without a program for the type.
    bool riesce = true;
    bool Apri(const std::string& percorso) override {
        aperti.push_back(percorso);
        return riesce;
    }
};

// Programs run, in order, with their arguments; each ends with `esito`.
class AvviaProgrammaRegistrato : public AvviaProgramma {
public:
    std::vector<std::string> avviati;
    std::vector<std::vector<std::string>> argomenti;
    EsitoEsecuzione esito;
    EsitoEsecuzione Esegui(const std::string& nome, const Contesto&, const std::vector<std::string>& con) override {
        avviati.push_back(nome);
        argomenti.push_back(con);
        return esito;
    }
};
