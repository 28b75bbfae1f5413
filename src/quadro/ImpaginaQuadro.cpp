#include "quadro/ImpaginaQuadro.h"

#include <algorithm>
#include <cmath>

namespace {

// The sizes for a sheet 842 points wide (A4 landscape); any other width
// takes them in proportion.
constexpr double kLarghezzaBase = 842;
constexpr double kMargine = 18;
constexpr double kTitolo = 16;
constexpr double kLegenda = 13;
constexpr double kIntestazione = 14;
constexpr double kRiga = 21;
constexpr double kTotali = 30;
constexpr double kPiede = 12;
constexpr double kRigaVariazioni = 9.5;
constexpr double kCamera = 56;
constexpr double kCorpo = 6.2;
constexpr double kCorpoTitolo = 9;
constexpr double kCorpoIntestazione = 7.5;
// Room left between the last rooms of a page and the box of changes.
constexpr double kStaccoVariazioni = 0.5;

MisureQuadro Misure(double larghezza, double altezza) {
    const double s = larghezza / kLarghezzaBase;
    MisureQuadro m;
    m.larghezza = larghezza;
    m.altezza = altezza;
    m.margine = kMargine * s;
    m.altezzaTitolo = kTitolo * s;
    m.altezzaLegenda = kLegenda * s;
    m.altezzaIntestazione = kIntestazione * s;
    m.altezzaRiga = kRiga * s;
    m.altezzaTotali = kTotali * s;
    m.altezzaPiede = kPiede * s;
    m.altezzaRigaVariazioni = kRigaVariazioni * s;
    m.larghezzaCamera = kCamera * s;
    m.larghezzaGiorno = (larghezza - 2 * m.margine - m.larghezzaCamera) / 7;
    m.corpo = kCorpo * s;
    m.corpoTitolo = kCorpoTitolo * s;
    m.corpoIntestazione = kCorpoIntestazione * s;
    return m;
}

// Lines of `altezzaRiga` that fit in `spazio`.
std::size_t Righe(double spazio, double altezzaRiga) {
    return spazio <= 0 ? 0 : static_cast<std::size_t>(std::floor(spazio / altezzaRiga + 1e-9));
}

}  // namespace

Foglio FoglioOrizzontale(FormatoCarta formato) {
    return formato == FormatoCarta::A3 ? Foglio{1191, 842} : Foglio{842, 595};
}

ImpaginazioneQuadro ImpaginaQuadro(double larghezza, double altezza, std::size_t camere,
                                   std::size_t righeVariazioni) {
    ImpaginazioneQuadro esito;
    MisureQuadro& m = esito.misure;
    m = Misure(larghezza, altezza);
    const double fondo = altezza - m.margine - m.altezzaPiede;
    // Every page holds at least one room, however small the paper.
    const std::size_t perPagina =
        std::max<std::size_t>(1, Righe(fondo - m.InizioRighe() - m.altezzaTotali, m.altezzaRiga));
    for (std::size_t prima = 0; prima < camere || esito.pagine.empty(); prima += perPagina) {
        PaginaQuadro pagina;
        pagina.primaCamera = prima;
        pagina.camere = std::min(perPagina, camere - prima);
        esito.pagine.push_back(pagina);
    }
    if (righeVariazioni == 0) return esito;

    // The box: its title and at least one line after the last rooms, else on a page of its own.
    PaginaQuadro* pagina = &esito.pagine.back();
    double inizio = m.InizioRighe() + (static_cast<double>(pagina->camere) + kStaccoVariazioni) * m.altezzaRiga +
                    m.altezzaTotali;
    for (std::size_t prima = 0; prima < righeVariazioni;) {
        const bool paginaNuova = !pagina->griglia && pagina->variazioni == 0;
        // A page of its own takes the title and a line even when the paper is too small for them.
        const std::size_t posto = paginaNuova ? std::max<std::size_t>(2, Righe(fondo - inizio, m.altezzaRigaVariazioni))
                                              : Righe(fondo - inizio, m.altezzaRigaVariazioni);
        if (posto < 2) {
            PaginaQuadro soloVariazioni;
            soloVariazioni.griglia = false;
            esito.pagine.push_back(soloVariazioni);
            pagina = &esito.pagine.back();
            inizio = m.InizioGriglia();
            continue;
        }
        pagina->primaVariazione = prima;
        pagina->variazioni = std::min(posto - 1, righeVariazioni - prima);
        pagina->inizioVariazioni = inizio;
        prima += pagina->variazioni;
        inizio = fondo;
    }
    return esito;
}
