#pragma once

#include "common/piattaforma/ApriDocumento.h"

// Opens documents through the desktop's file associations: xdg-mime tells
// whether the desktop has a program for the document's type, xdg-open starts it.
class ApriDocumentoQt : public ApriDocumento {
public:
    bool Apri(const std::string& percorso) override;
};
