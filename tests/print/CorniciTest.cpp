#include <gtest/gtest.h>

#include <cctype>
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
    for (char& c : riga)
        if (c == Griglia::Verticale) c = barra;
    ScriviColonnaCamera(riga, colonna);
    for (std::size_t giorno = 0; giorno < celle.size(); ++giorno)
        ScriviCella(riga, static_cast<int>(giorno), celle[giorno]);
    return riga;
}

// The same line as the export writes it with the default separators: a ","
// for each grid character, a "-" that is no minus sign a blank.
std::string Csv(const std::string& colonna, const std::vector<std::string>& celle) {
    std::string riga = Riga(',', colonna, celle);
    for (std::size_t i = 0; i < riga.size(); ++i)
        if (riga[i] == '-' && !(i + 1 < riga.size() && std::isdigit(static_cast<unsigned char>(riga[i + 1]))))
            riga[i] = ' ';
    return riga;
}

}  // namespace

// The frame codes are letters of names wherever a line of the report's shape
// has no grid place: in the preview and on the direct path (ConvertiCornici),
// on the driver path (Converti2, whose accents stay as they were) and in the
// export. A line of another length is converted everywhere.
TEST(Cornici, SoloAiPostiDellaGriglia) {
    // À É Ä Å Ú ³ in names; À and É are also Converti2's accents.
    const std::vector<std::string> nomi = {"\xC0lvaro P   09- 12", "\xC9mile   F 09- 12", "\xC4ngel",
                                           "\xC5sa", "\xDArsula", "a\xB3" "b\xC4" "c"};
    const std::vector<std::string> nomiDriver = {"\xE0lvaro P   09- 12", "\xE9mile   F 09- 12", "\xC4ngel",
                                                 "\xC5sa", "\xDArsula", "a\xB3" "b\xC4" "c"};
    const std::string importo = "CTS      C  1\xB3 50";
    const std::string importoPiano = "CTS      C  1| 50";
    struct Caso {
        const char* descrizione;
        std::string riga, cornici, driver, csv;
    };
    const std::string separatore = RigaSeparatore();
    std::string separatoreCsv(132, ' ');
    for (std::size_t colonna : Griglia::ColonneSeparatore) separatoreCsv[colonna - 1] = ',';
    const Caso casi[] = {
        {"names in a room line", Riga('\xB3', "104", nomi), Riga('|', "104", nomi), Riga('|', "104", nomiDriver),
         Csv("104", nomi)},
        {"the bar before an amount", Riga('\xB3', "\xC4" "BL", {importo}), Riga('|', "\xC4" "BL", {importoPiano}),
         Riga('|', "\xC4" "BL", {importoPiano}), Csv("\xC4" "BL", {"CTS      C  1, 50"})},
        {"separator line", separatore, std::string(131, '-') + "|", std::string(131, '-') + "'", separatoreCsv},
        {"a line of another length", "\xC0lvaro \xB3\xC4\xDA", "-lvaro |--", "\xE0lvaro |--", ",lvaro , ,"},
        {"one character short of a report line", Riga('\xB3', "", {"\xC4ngel"}).substr(1),
         Riga('|', "", {"-ngel"}).substr(1), Riga('|', "", {"-ngel"}).substr(1), Riga(',', "", {" ngel"}).substr(1)},
    };
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.descrizione);
        std::string cornici = caso.riga;
        std::string driver = caso.riga;
        ScriviFile("FD1", caso.riga + "\r\n");
        ConvertiXLS("FD1");
        EXPECT_EQ(ConvertiCornici(cornici), caso.cornici);
        EXPECT_EQ(Converti2(driver), caso.driver);
        EXPECT_EQ(LeggiFile("fd1.csv"), "\xEF\xBB\xBF" + Cp1252ToUtf8(caso.csv) + "\r\n");
    }
}
