#include <gtest/gtest.h>

#include "support/Selezioni.h"
#include "tableau/Criteri.h"

// Every record set the build, the main window and the print menu open on the
// suite's tables, with each of their searches.
TEST(Criteri, OgniSelezioneSiApreSuiFileDemo) {
    const std::string primo = "20261207", ultimo = "20261213";
    ControllaSuiFileDemo({
        {"NumeriCamere.mdb", QueryCamere(), {CriterioCamere(1)}},
        {"Scheda_Cliente.mdb", QueryOspiti(primo, ultimo), {CriterioOspiti("202", primo)}},
        {"Camere_Prenotazione.mdb",
         QueryCamerePrenotate(primo, ultimo),
         {CriterioPrenotazioni(1, "202"), CriterioCameraPrenotata(1, 261001, "202", primo)}},
        {"Scheda_Prenotazione.mdb", QueryTestate(primo, ultimo), {CriterioTestata(1, 261001)}},
        {"AgenzieAbituali.mdb", TabellaAgenzie(), {CriterioAgenzia(1, 1)}},
        {"Arrangiamento.mdb", TabellaAddebiti(), {CriterioAddebiti(1, 70401, "20261202")}},
        {"TipiCamere.mdb", TabellaTipiCamere(), {CriterioTipoCamera("DBL")}},
        {"AnagraficaHotels.mdb", TabellaHotel(), {CriterioElencoHotel()}},
        {"Tableau.mdb", TabellaTableau(), {CriterioElencoTableau(1)}},
        {"NumeriCamere.mdb", TabellaNumeriCamere(), {CriterioCamereDelTableau(1, 1)}},
        {"AnagraficaHotels.mdb", TabellaAssistenza(), {CriterioHotel(1)}},
        {"AnagraficaHotels.mdb", TabellaNomiHotel(), {CriterioHotel(2)}},
        {"Tableau.mdb", TabellaDescrizioniTableau(), {CriterioDescrizioneTableau(1, 1)}},
    });
}
