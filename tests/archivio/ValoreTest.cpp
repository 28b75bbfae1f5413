#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "archivio/Valore.h"

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

// Texts on both sides of the length kept inside the value (a date's 19 bytes
// inside, longer ones on the heap) keep every byte, zero bytes and accented
// letters included, through copies, moves and assignments in a table's vector.
TEST(Valore, TestiCortiELunghiConservanoOgniByte) {
    std::vector<std::string> testi;
    for (const std::size_t lunghezza : {0, 1, 19, 20, 21, 22, 23, 300}) {
        std::string testo(lunghezza, '\xE8');
        for (std::size_t i = 0; i < lunghezza; i += 3) testo[i] = static_cast<char>('a' + i % 26);
        if (lunghezza > 1) testo[1] = '\0';
        testi.push_back(testo);
    }
    std::vector<Valore> valori;
    for (const auto& testo : testi) valori.push_back(Valore::Testo(testo));  // the vector grows: values move
    std::vector<Valore> copie = valori;
    for (std::size_t i = 0; i < testi.size(); ++i) {
        SCOPED_TRACE(testi[i].size());
        EXPECT_EQ(copie[i].TestoMemorizzato(), testi[i]);
        EXPECT_EQ(copie[i].Testo(), testi[i]);
        Valore assegnato = Valore::Intero(5);
        assegnato = copie[(i + 1) % copie.size()];
        assegnato = copie[i];
        EXPECT_EQ(assegnato, valori[i]);
        EXPECT_EQ(Valore::Data(testi[i]).Tipo(), TipoCampo::Data);
        for (std::size_t j = 0; j < testi.size(); ++j) EXPECT_EQ(valori[i] == copie[j], i == j) << j;
    }
}

// An amount reads as its ten-thousandths with a decimal point, Currency's
// whole range included: its minimum has no positive counterpart in 64 bits.
TEST(Valore, ImportiComeTestoFinoAgliEstremi) {
    const std::vector<std::pair<std::int64_t, std::string>> casi = {
        {0, "0.0000"},
        {-1, "-0.0001"},
        {-100, "-0.0100"},
        {123456, "12.3456"},
        {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"}};
    for (const auto& [decimillesimi, testo] : casi) EXPECT_EQ(Valore::Valuta(decimillesimi).Testo(), testo);
}
