#pragma once

#include "common/piattaforma/ApriDocumento.h"

// Opens documents through the desktop's file associations (xdg-open on Linux).
class ApriDocumentoQt : public ApriDocumento {
public:
    void Apri(const std::string& percorso) override;
};
