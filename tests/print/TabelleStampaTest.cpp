#include <gtest/gtest.h>

#include "print/TabelleStampa.h"
#include "support/Selezioni.h"

// Every record set the print menu and the print engine open on the printer
// tables, with each of their searches.
TEST(TabelleStampa, OgniSelezioneSiApreSuiFileDemo) {
    ControllaSuiFileDemo({
        {"Contatori.mdb", TabellaContatori(true), {CriterioContatori(1)}},
        {"Contatori.mdb", TabellaContatori(false), {CriterioContatori(1)}},
        {"Stampanti.mdb", TabellaNomiDestinazioni(), {CriterioDestinazioniHotel(1)}},
        {"Stampanti.mdb", TabellaDestinazioni(), {CriterioDestinazione("Ufficio")}},
        {"Stampanti.mdb", TabellaSetStampa(), {CriterioSetStampa(1)}},
    });
}
