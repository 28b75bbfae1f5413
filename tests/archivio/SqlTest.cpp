#include <gtest/gtest.h>

#include "archivio/Sql.h"

// A criterion recognised by the cut of another of its form gives the
// constants and the form its own split gives; any other text is refused.
TEST(Sql, CriterioRiconosciutoDallaSagomaDiUnAltro) {
    struct Caso {
        const char* modello;
        const char* testo;
        bool riconosciuto;
    };
    const Caso casi[] = {
        {"NumeroCamera = '101' and DataArrivo <= '20260706'", "NumeroCamera = '12''B' and DataArrivo <= ''", true},
        {"Hotel = 1 and Codice = -7", "Hotel = 22 and Codice = -0.5", true},
        {"Hotel = 1 and Codice = -7", "Hotel = 22 and Codice = 7", false},
        {"Hotel = 1 and Codice = 7", "Hotel = 1 and  Codice = 7", false},
        {"Hotel = 1 and Codice = 7", "Hotel = 1 and Codice = '7'", false},
        {"Hotel = 1 and Codice = 7", "Hotel = 1 and Codice = 7 or Hotel = 2", false},
        {"Hotel = 1 and Codice = 7", "Hotel = 1 and Codice = 7.5.5", false},
        {"Camera = \"a\" and Hotel = 1", "Camera = \"b\"\"c\" and Hotel = 10", true},
        {"[Camera].5 = 1", "[Camera]5 = 1", true},
        {"Camera.5 = 1", "Camera5 = 1", false},
        {"Camera = 'a' and Hotel = 1", "Camera = 'a and Hotel = 1", false},
    };
    for (const auto& caso : casi) {
        const auto modello = sql::ScomponiCriterio(caso.modello);
        ASSERT_TRUE(modello) << caso.modello;
        const auto costanti = sql::CostantiSecondo(modello->sagoma, caso.testo);
        EXPECT_EQ(costanti.has_value(), caso.riconosciuto) << caso.testo;
        if (!costanti) continue;
        const auto proprio = sql::ScomponiCriterio(caso.testo);
        ASSERT_TRUE(proprio) << caso.testo;
        EXPECT_EQ(proprio->forma, modello->forma) << caso.testo;
        EXPECT_EQ(*costanti, proprio->costanti) << caso.testo;
    }
}
