#include <gtest/gtest.h>

#include "quadro/ImpaginaQuadro.h"

// On A4 landscape (842 x 595 points) a page holds 22 rooms, and the box of
// changes 53 lines on a page of its own.
TEST(ImpaginaQuadro, StanzeEVariazioniSullePagine) {
    struct Caso {
        std::size_t camere, variazioni;
        std::vector<PaginaQuadro> attese;  // griglia, prima camera, camere, prima variazione, variazioni (inizio not compared)
    };
    const std::vector<Caso> casi = {
        {0, 0, {{true, 0, 0, 0, 0}}},
        {22, 0, {{true, 0, 22, 0, 0}}},
        {30, 3, {{true, 0, 22, 0, 0}, {true, 22, 8, 0, 3}}},
        {5, 100, {{true, 0, 5, 0, 36}, {false, 0, 0, 36, 53}, {false, 0, 0, 89, 11}}},
        {44, 1, {{true, 0, 22, 0, 0}, {true, 22, 22, 0, 0}, {false, 0, 0, 0, 1}}},
    };
    for (const Caso& caso : casi) {
        ImpaginazioneQuadro impaginazione = ImpaginaQuadro(842, 595, caso.camere, caso.variazioni);
        for (PaginaQuadro& pagina : impaginazione.pagine) pagina.inizioVariazioni = 0;
        EXPECT_EQ(impaginazione.pagine, caso.attese) << caso.camere << " camere, " << caso.variazioni << " variazioni";
    }
}

TEST(ImpaginaQuadro, SeicentoCamereSuA4ESuA3InScala) {
    for (const FormatoCarta formato : {FormatoCarta::A4, FormatoCarta::A3}) {
        const Foglio foglio = FoglioOrizzontale(formato);
        const ImpaginazioneQuadro esito = ImpaginaQuadro(foglio.larghezza, foglio.altezza, 600, 0);
        EXPECT_EQ(esito.pagine.size(), 28u);
        std::size_t prossima = 0;
        for (const PaginaQuadro& pagina : esito.pagine) {
            EXPECT_EQ(pagina.primaCamera, prossima);
            prossima += pagina.camere;
            const MisureQuadro& m = esito.misure;
            EXPECT_LE(m.InizioRighe() + pagina.camere * m.altezzaRiga + m.altezzaTotali,
                      foglio.altezza - m.margine - m.altezzaPiede);
        }
        EXPECT_EQ(prossima, 600u);
        EXPECT_NEAR(esito.misure.margine * 2 + esito.misure.larghezzaCamera + 7 * esito.misure.larghezzaGiorno,
                    foglio.larghezza, 1e-9);
    }
    EXPECT_NEAR(ImpaginaQuadro(1191, 842, 1, 0).misure.corpo / ImpaginaQuadro(842, 595, 1, 0).misure.corpo,
                1191.0 / 842, 1e-9);
    // A strip of paper too small for a room still puts one on each page, and a line of changes, and ends.
    EXPECT_EQ(ImpaginaQuadro(842, 10, 3, 2).pagine.size(), 5u);
}
