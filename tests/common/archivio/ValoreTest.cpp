#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/archivio/Valore.h"

namespace {

// One value of each kind, a text too long to live inside its string object among them.
std::vector<Valore> UnoPerGenere() {
    return {Valore(),
            Valore::Intero(-7),
            Valore::Valuta(123456),
            Valore::Reale(2.5),
            Valore::Testo("breve"),
            Valore::Testo(std::string(100, 'x')),
            Valore::Data("2026-07-06 00:00:00"),
            Valore::SiNo(true)};
}

}  // namespace

// Copied, moved and assigned over one another, values keep what they hold and
// equal only values of their own type and contents.
TEST(Valore, CopieSpostamentiEConfronti) {
    const auto valori = UnoPerGenere();
    for (std::size_t i = 0; i < valori.size(); ++i) {
        SCOPED_TRACE(i);
        for (std::size_t j = 0; j < valori.size(); ++j) EXPECT_EQ(valori[i] == valori[j], i == j) << j;
        Valore copia = valori[i];
        EXPECT_EQ(copia, valori[i]);
        Valore spostato = std::move(copia);
        EXPECT_EQ(spostato, valori[i]);
        for (const auto& altro : valori) {
            Valore sovrascritto = altro;
            sovrascritto = valori[i];
            EXPECT_EQ(sovrascritto, valori[i]);
            Valore daSpostare = altro;
            sovrascritto = std::move(daSpostare);
            EXPECT_EQ(sovrascritto, altro);
        }
        const Valore& stesso = spostato;
        spostato = stesso;
        EXPECT_EQ(spostato, valori[i]);
    }
    EXPECT_EQ(Valore::Valuta(123456).Testo(), "12.3456");
    EXPECT_EQ(Valore::Testo(std::string(100, 'x')).TestoMemorizzato(), std::string(100, 'x'));
    EXPECT_FALSE(Valore::Reale(std::nan("")) == Valore::Reale(std::nan("")));
    EXPECT_NE(Valore::Intero(1), Valore::SiNo(true));
}
