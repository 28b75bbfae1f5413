#include "support/Selezioni.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "archivio/Database.h"
#include "support/Csv.h"
#include "support/Supporto.h"

void ControllaSuiFileDemo(const std::vector<SelezioneDaProvare>& casi) {
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
