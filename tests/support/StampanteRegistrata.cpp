#include "support/StampanteRegistrata.h"

#include <algorithm>
#include <cstdio>

void StampanteRegistrata::ImpostaFontSize(double punti) {
    dimensione_ = punti;
    char testo[32];
    std::snprintf(testo, sizeof testo, "Dimensione %g", punti);
    registro.push_back(testo);
}

void StampanteRegistrata::Stampa(const std::string& testo, bool aCapo) {
    registro.push_back((aCapo ? "Riga [" : "Testo [") + testo + "]");
    x_ += kLarghezzaCarattere * dimensione_ * static_cast<double>(testo.size());
    altezzaRiga_ = std::max(altezzaRiga_, kAltezzaRiga * dimensione_);
    if (!aCapo) return;
    y_ += altezzaRiga_;
    if (x_ > LarghezzaStampabile() || y_ > AltezzaStampabile()) ++righeFuori;
    x_ = altezzaRiga_ = 0;
}
