#include <gtest/gtest.h>

#include <algorithm>

#include "archivio/Database.h"
#include "support/Csv.h"
#include "support/Supporto.h"
#include "tableau/Criteri.h"

// Every record set the build, the main window and the print menu open on the
// suite's tables, on the demo files and on their SQLite copy, searched with
// each of its criteria, each declared among the record set's searches so that
// its fields are checked at the opening: a misspelt table or field fails
// here, not at the desk.
TEST(Criteri, OgniSelezioneSiApreSuiFileDemo) {
    const std::string primo = "20261207", ultimo = "20261213";
    const struct {
        const char* file;
        Selezione selezione;
        std::vector<Criterio> ricerche;
    } casi[] = {
        {"NumeriCamere.mdb", QueryCamere(), {CriterioCamere(1)}},
        {"Scheda_Cliente.mdb", QueryOspiti(primo, ultimo), {CriterioOspiti("202", primo)}},
        {"Camere_Prenotazione.mdb",
         QueryCamerePrenotate(primo, ultimo),
         {CriterioPrenotazioni(1, "202"), CriterioCameraPrenotata(1, 261001, "202")}},
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
    };
    CartellaTemporanea sqlite;
    CreaCopiaSqliteDemo(sqlite.Percorso());
    for (const auto& cartella : {CartellaDatiTest() / "demo", sqlite.Percorso()}) {
        for (const auto& caso : casi) {
            SCOPED_TRACE(cartella.string() + " " + caso.selezione.tabella);
            auto rs = Database::Apri(caso.file, cartella.string())->OpenRecordset(caso.selezione);
            ASSERT_GT(rs->RecordCount(), 0u);
            for (const auto& campo : caso.selezione.campi) EXPECT_NO_THROW((*rs)[campo]) << campo.Nome();
            for (const auto& criterio : caso.ricerche) {
                EXPECT_TRUE(std::ranges::any_of(caso.selezione.ricerche, [&](const Forma& forma) {
                    return forma.Identita() == criterio.forma.Identita();
                }));
                rs->FindFirst(criterio);
                EXPECT_FALSE(rs->NoMatch());
            }
        }
    }
}
