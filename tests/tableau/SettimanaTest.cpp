#include <gtest/gtest.h>

#include "support/SettimanaFatta.h"

namespace {

// The week of 07/12/2026 worked out by hand (days 0..6 are the 7th to the 13th):
// 101: guests from the 5th to the 9th (on 0 and 1, leave on 2), then a booking from the 9th on;
// 102: a booking from the 8th to the 10th and the guests registered on it, the same stay;
// 103: out of service; 104: free; 105: one guest from the 11th to the 12th;
// 106: out of service, yet a guest arrives on the 13th.
Settimana SettimanaDiProva() {
    SettimanaFatta s;
    s.Camera("101", "DBL", 1).Camera("102", "DBL", 1).Camera("103", "SGL", 2, true).Camera("104", "SGL", 2);
    s.Camera("105", "SGL", 2).Camera("106", "SGL", 2, true);
    s.Soggiorno("101", Ospiti("ROSSI MARIO", 70001, "20261205", "20261209"));
    s.Soggiorno("101", Prenotati("VERDI ANNA", 501, "C", "20261209", "20261215"));
    s.Soggiorno("102", Ospiti("BIANCHI LUCA", 70002, "20261208", "20261210", 3), false);
    s.Soggiorno("102", Prenotati("BIANCHI LUCA", 502, "O", "20261208", "20261210", 3));
    s.Soggiorno("105", Ospiti("GIALLI EVA", 70003, "20261211", "20261212", 1));
    s.Soggiorno("106", Ospiti("MARRONI IVO", 70004, "20261213", "20261215", 1));
    return s.settimana;
}

}  // namespace

TEST(TotaliSettimana, UnaSettimanaContataAMano) {
    // arrivals, departures, stay-overs, occupied, free, out of service, persons, occupancy %
    const std::array<TotaliGiorno, 7> attesi = {{
        {0, 0, 1, 1, 3, 2, 2, 25},
        {1, 0, 1, 2, 2, 2, 5, 50},
        {1, 1, 1, 2, 2, 2, 5, 50},
        {0, 1, 1, 1, 3, 2, 2, 25},
        {1, 0, 1, 2, 2, 2, 3, 50},
        {0, 1, 1, 1, 3, 2, 2, 25},
        {1, 0, 1, 2, 3, 2, 3, 25},
    }};
    const Settimana settimana = SettimanaDiProva();
    const auto giorni = TotaliDeiGiorni(settimana);
    for (int k = 0; k < 7; ++k) EXPECT_EQ(giorni[k], attesi[k]) << "giorno " << k;

    const TotaliGiorno settimanali = TotaliDellaSettimana(settimana);
    EXPECT_EQ(settimanali.arrivi, 4);
    EXPECT_EQ(settimanali.partenze, 3);
    EXPECT_EQ(settimanali.fermate, 7);
    EXPECT_EQ(settimanali.occupate, 11);
    EXPECT_EQ(settimanali.libere, 18);
    EXPECT_EQ(settimanali.fuoriServizio, 14);
    EXPECT_EQ(settimanali.persone, 22);
    EXPECT_NEAR(settimanali.occupazione, 100.0 * 10 / 28, 1e-9);
}

TEST(TotaliSettimana, SenzaCamereInServizioNessunaOccupazione) {
    SettimanaFatta s;
    EXPECT_EQ(TotaliDellaSettimana(s.settimana), TotaliGiorno{});
    s.Camera("1", "SGL", std::nullopt, true);
    const TotaliGiorno soloFuori = TotaliDeiGiorni(s.settimana)[3];
    EXPECT_EQ(soloFuori.fuoriServizio, 1);
    EXPECT_EQ(soloFuori.occupazione, 0);
}
