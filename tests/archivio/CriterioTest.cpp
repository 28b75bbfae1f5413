#include <gtest/gtest.h>

#include "archivio/Criterio.h"

// A form built in code knows how many values its searches give (its own
// parameters, not those of its subqueries) and which fields it reads (not
// those its subqueries read in their tables); an empty form joins as no test.
TEST(Criterio, ParametriECampiDiUnaForma) {
    const Campo a("A"), b("B");
    const Selezione sottoquery{"T", {Campo("C")}, Criterio(Campo("D") == Parametro{4}, std::vector<Valore>(5))};
    const struct {
        Forma forma;
        std::size_t parametri;
        std::vector<std::string> campi;
    } casi[] = {
        {a == 1, 0, {"A"}},
        {a == Parametro{0} && b <= Parametro{2}, 3, {"A", "B"}},
        {!(a == b) || IsNull(b), 0, {"A", "B", "B"}},
        {In(a, sottoquery) && b > Parametro{1}, 2, {"A", "B"}},
        {NonIn(a, {Valore::Testo("x")}) || (Forma() && b == Parametro{0}), 1, {"A", "B"}},
        {!Forma() && Forma(), 0, {}},
    };
    for (std::size_t i = 0; i < std::size(casi); ++i) {
        std::vector<std::string> campi;
        CampiNominati(casi[i].forma, campi);
        EXPECT_EQ(casi[i].forma.Vuota() ? 0 : casi[i].forma.Parametri(), casi[i].parametri) << "caso " << i;
        EXPECT_EQ(campi, casi[i].campi) << "caso " << i;
    }
    // Copies of a form are the same form.
    const Forma forma = a == Parametro{0};
    const Forma copia = forma;
    EXPECT_EQ(copia.Identita(), forma.Identita());
    EXPECT_NE((a == Parametro{0}).Identita(), forma.Identita());
}
