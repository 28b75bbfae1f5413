#include <gtest/gtest.h>

#include "archivio/Database.h"
#include "support/Supporto.h"
#include "tableau/Criteri.h"
#include "tableau/IntervalloCamere.h"
#include "tableau/Scenario.h"

// The range proposed for a tableau spans its rooms of a room type, compared
// as text ("10" before "9"); rooms of another tableau or hotel, of an unknown
// type or one whose Tipologia is not "C" as written, are left out.
TEST(IntervalloCamere, DallaPrimaAllUltimaCameraDelTableau) {
    CartellaTemporanea cartella;
    Scenario s(cartella.Percorso());
    s.TipoCamera("suite", "c");
    s.Camera("9");
    s.Camera("10", "SGL");
    s.Camera("100", "BOX");
    s.Camera("0", "XXX");
    s.Camera("05", "suite");
    s.Camera("99", "DBL", 2);
    s.Camera("1", "DBL", 1, 2);
    s.Scrivi();
    const std::string dir = cartella.Percorso().string();
    auto camere = Database::Apri("NumeriCamere.mdb", dir)->OpenRecordset(TabellaNumeriCamere());
    auto tipi = Database::Apri("TipiCamere.mdb", dir)->OpenRecordset(TabellaTipiCamere());
    const struct {
        std::int64_t hotel, tableau;
        std::string prima, ultima;
    } casi[] = {{1, 1, "10", "9"}, {1, 2, "99", "99"}, {2, 1, "1", "1"}, {3, 1, "\xFF", ""}};
    for (const auto& caso : casi) {
        const auto intervallo = IntervalloDelTableau(*camere, *tipi, caso.hotel, caso.tableau);
        EXPECT_EQ(intervallo.prima, caso.prima) << caso.hotel << "/" << caso.tableau;
        EXPECT_EQ(intervallo.ultima, caso.ultima) << caso.hotel << "/" << caso.tableau;
    }
}
