#include "print/PagineDriver.h"

#include <algorithm>

#include "print/StampaLaser.h"

namespace {

const std::string SaltoPagina = "\f";
// The share of the printable area the text is fitted into: what the
// printer's rounding of font sizes and positions may add stays on the paper.
constexpr double Tolleranza = 0.999;
// Fitting again after the sizes were scaled: the printer's fonts do not grow
// quite in proportion with their size.
constexpr int Tentativi = 8;

// Width of a report line as StampaLaser draws it.
double LarghezzaRiga(Stampante& stampante, const std::string& riga, const CaratteriPagina& caratteri) {
    double larghezza = 0;
    for (const PezzoRiga& pezzo : PezziRiga(riga))
        larghezza += stampante.LarghezzaTesto(pezzo.testo, pezzo.grassetto ? caratteri.grassetto : caratteri.corpo);
    return larghezza;
}

// What the text takes at the sizes of `caratteri`: the widest line and the fullest page.
struct Ingombro {
    double larghezza = 0;
    double altezza = 0;
};

Ingombro Misura(Stampante& stampante, const PagineDriver& pagine, int margine, const CaratteriPagina& caratteri) {
    Ingombro ingombro{LarghezzaRighe(stampante, pagine, caratteri), 0};
    std::size_t righe = 0;
    for (const auto& pagina : pagine) righe = std::max(righe, pagina.size());
    ingombro.altezza = stampante.AltezzaRiga(caratteri.intestazione) +
                       static_cast<double>(static_cast<std::size_t>(std::max(margine, 0)) + righe) *
                           stampante.AltezzaRiga(caratteri.corpo);
    return ingombro;
}

// What a size must be multiplied by for `misura` to stay within `spazio`: 1 when it does.
double Fattore(double misura, double spazio) { return misura > spazio ? spazio / misura : 1.0; }

}  // namespace

double LarghezzaRighe(Stampante& stampante, const PagineDriver& pagine, const CaratteriPagina& caratteri) {
    double larghezza = 0;
    for (const auto& pagina : pagine)
        for (const std::string& riga : pagina) larghezza = std::max(larghezza, LarghezzaRiga(stampante, riga, caratteri));
    return larghezza;
}

PagineDriver ImpaginaDriver(const std::vector<std::string>& righe, int lunghezzaPagina, int margine) {
    PagineDriver pagine(1);
    int contatore = margine;
    for (const std::string& riga : righe) {
        const bool salto = riga == SaltoPagina;
        if (salto) {
            pagine.emplace_back();
            contatore = margine;
        } else {
            pagine.back().push_back(riga);
        }
        ++contatore;
        if (contatore >= lunghezzaPagina || salto) {
            pagine.emplace_back();
            contatore = margine;
        }
    }
    while (pagine.size() > 1 && pagine.back().empty()) pagine.pop_back();
    return pagine;
}

CaratteriPagina CaratteriPagina::Scalati(double scala) const {
    CaratteriPagina scalati = *this;
    for (FontStampa* carattere : {&scalati.intestazione, &scalati.corpo, &scalati.grassetto})
        carattere->dimensione *= scala;
    return scalati;
}

double ScalaPerLaPagina(Stampante& stampante, const PagineDriver& pagine, int margine,
                        const CaratteriPagina& caratteri) {
    const double larghezza = stampante.LarghezzaStampabile() * Tolleranza;
    const double altezza = stampante.AltezzaStampabile() * Tolleranza;
    double scala = 1;
    for (int tentativo = 0; tentativo < Tentativi; ++tentativo) {
        const Ingombro ingombro = Misura(stampante, pagine, margine, caratteri.Scalati(scala));
        const double fattore = std::min(Fattore(ingombro.larghezza, larghezza), Fattore(ingombro.altezza, altezza));
        if (fattore >= 1) break;
        scala *= fattore;
    }
    return scala;
}

FontStampa FontNellaLarghezza(Stampante& stampante, const std::string& testo, FontStampa font) {
    const double larghezza = stampante.LarghezzaStampabile() * Tolleranza;
    for (int tentativo = 0; tentativo < Tentativi; ++tentativo) {
        const double fattore = Fattore(stampante.LarghezzaTesto(testo, font), larghezza);
        if (fattore >= 1) break;
        font.dimensione *= fattore;
    }
    return font;
}
