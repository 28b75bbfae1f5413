#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Codifica.h"
#include "common/Routine.h"
#include "print/ConvertiXLS.h"
#include "print/StampaLaser.h"
#include "support/Supporto.h"
#include "tableau/RigaReport.h"

namespace {

// A line of the report's shape: `colonna` in the room column, `celle` in the
// day cells, `barra` at the grid columns.
std::string Riga(char barra, const std::string& colonna, const std::vector<std::string>& celle) {
    std::string riga = RigaVuota();
    std::replace(riga.begin(), riga.end(), Griglia::Verticale, barra);
    ScriviColonnaCamera(riga, colonna);
    for (std::size_t giorno = 0; giorno < celle.size(); ++giorno)
        ScriviCella(riga, static_cast<int>(giorno), celle[giorno]);
    return riga;
}

}  // namespace

// The frame codes are letters of names wherever a line of the report's shape
// has no grid place: in the preview and on the direct path (ConvertiCornici),
// on the driver path (Converti2, whose accents stay as they were) and in the
// export. A line of another length is converted everywhere.
TEST(Cornici, SoloAiPostiDellaGriglia) {
    // À É Ä Å Ú ³ in names; À and É are also Converti2's accents. In the export "- " is two blanks.
    const std::vector<std::string> nomi = {"\xC0lvaro P   09- 12", "\xC9mile", "\xC4ngel", "\xC5sa", "\xDArsula",
                                           "a\xB3" "b"};
    std::vector<std::string> driver = nomi;
    driver[0][0] = '\xE0';
    driver[1][0] = '\xE9';
    std::vector<std::string> csv = nomi;
    csv[0] = "\xC0lvaro P   09  12";
    std::string separatoreCsv(132, ' ');
    for (std::size_t colonna : Griglia::ColonneSeparatore) separatoreCsv[colonna - 1] = ',';
    struct Caso {
        std::string riga, cornici, driver, csv;
    } casi[] = {
        {Riga('\xB3', "104", nomi), Riga('|', "104", nomi), Riga('|', "104", driver), Riga(',', "104", csv)},
        // The bar before a day's amount.
        {Riga('\xB3', "\xC4" "BL", {"CTS      C  1\xB3 50"}), Riga('|', "\xC4" "BL", {"CTS      C  1| 50"}),
         Riga('|', "\xC4" "BL", {"CTS      C  1| 50"}), Riga(',', "\xC4" "BL", {"CTS      C  1, 50"})},
        {RigaSeparatore(), std::string(131, '-') + "|", std::string(131, '-') + "'", separatoreCsv},
        {"\xC0lvaro \xB3\xC4\xDA", "-lvaro |--", "\xE0lvaro |--", ",lvaro , ,"},
        {Riga('\xB3', "", {"\xC4ngel"}).substr(1), Riga('|', "", {"-ngel"}).substr(1), Riga('|', "", {"-ngel"}).substr(1),
         Riga(',', "", {" ngel"}).substr(1)},
    };
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    for (const auto& caso : casi) {
        std::string cornici = caso.riga;
        std::string conAccenti = caso.riga;
        EXPECT_EQ(ConvertiCornici(cornici), caso.cornici);
        EXPECT_EQ(Converti2(conAccenti), caso.driver);
        ScriviFile("FD1", caso.riga + "\r\n");
        ConvertiXLS(ContestoCorrente(), "FD1");
        EXPECT_EQ(LeggiFile("fd1.csv"), "\xEF\xBB\xBF" + Cp1252ToUtf8(caso.csv) + "\r\n");
    }
}
