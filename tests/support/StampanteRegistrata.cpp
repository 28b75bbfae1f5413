#include "support/StampanteRegistrata.h"

#include <cstdio>

void StampanteRegistrata::ImpostaFontSize(double punti) {
    dimensione_ = punti;
    char testo[32];
    std::snprintf(testo, sizeof testo, "Dimensione %g", punti);
    registro.push_back(testo);
}
