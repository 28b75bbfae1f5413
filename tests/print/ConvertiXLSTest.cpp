#include "print/ConvertiXLS.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// A line of the demo week's report as the export writes it: the room column
// and the seven cells, each closed by the field separator.
std::string RigaCsv(const std::string& colonna, const std::vector<std::string>& celle) {
    std::string riga = colonna + ",";
    for (const auto& cella : celle) riga += cella + ",";
    return riga;
}

// The export as the program writes it: UTF-8 after its byte-order mark; its
// text in Windows-1252.
std::string Esportazione(const std::string& nome) {
    const std::string file = LeggiFile(nome);
    EXPECT_TRUE(file.starts_with("\xEF\xBB\xBF")) << nome;
    return Utf8ToCp1252(std::string_view(file).substr(3));
}

}  // namespace

// Also SeparatoreXLS.txt saved as UTF-8 with its byte-order mark.
TEST(ConvertiXLS, RigheConvertiteByteAByte) {
    struct Caso {
        const char* descrizione;
        std::optional<std::string> separatori;  // SeparatoreXLS.txt, none when missing
        std::string report;
        std::string csv;  // in Windows-1252
        int errore = 0;   // the export refused with this error
    };
    const std::string importo = "\xB3 1.234,50 \xB3";
    const std::string bom = "\xEF\xBB\xBF";
    const Caso casi[] = {
        {"amount between frames, defaults", std::nullopt, importo + "\r\n", ",\x80" "1234.50 ,\r\n"},
        {"frame line", std::nullopt, "\xC3\xC4\xC4\xB4\r\n", ",  ,\r\n"},
        {"right tee inside a line", std::nullopt, "a\xB4" "b\r\n", "a b\r\n"},
        {"all frame codes and the preview's signs", std::nullopt, "\xD9\xC5\xC2\xC3\xC0\xC1\xB3\xBF\xDA|+\xBA\r\n",
         ",,,,,,,,,,,\xBA\r\n"},
        {"points", std::nullopt, "12.5 3.141 a.12 .12\r\n", "12.5 3141 a.12 .12\r\n"},
        {"commas", std::nullopt, "x 7,5 a,12 ,12 1,2a\r\n", "x 7 5 a 12  12 1 2a\r\n"},
        {"sign at the start of a line", std::nullopt, ",12\r\n.12\r\n", " 12\r\n.12\r\n"},
        {"decimal comma with no blank before", std::nullopt, "1,50\r\n", "1.50\r\n"},
        {"minus signs", std::nullopt, "-12 - -- -\r\n", "-12       \r\n"},
        {"empty line, last line without line end", std::nullopt, "\r\nab", "\r\nab\r\n"},
        {"empty report", std::nullopt, "", ""},
        {"settings taken whole, empty currency", "; \r\n,\r\n\r\n", importo + "\r\n", ";  1234,50 ; \r\n"},
        {"settings with LF line ends, long currency", "\t\n\n$$\n", importo + "\r\n", "\t$123450 \t\r\n"},
        {"mark dropped, euro sign turned into Windows-1252", bom + ";\r\n,\r\n\xE2\x82\xAC\r\n", importo + "\r\n",
         ";\x80" "1234,50 ;\r\n"},
        {"accented separator, LF line ends", bom + "\xC3\xA8\n.\n$\n", importo + "\r\n", "\xE8$1234.50 \xE8\r\n"},
        {"a character Windows-1252 lacks", bom + "\xE2\x86\x92\r\n.\r\n$\r\n", importo + "\r\n", "", 5},
        {"... on a line after the three read", bom + ";\r\n,\r\n$\r\n\xE2\x86\x92\r\n", importo + "\r\n",
         ";$1234,50 ;\r\n"},
        {"a mark that is not at the start stays", ";" + bom + "\r\n.\r\n$\r\n", importo + "\r\n",
         ";" + bom + "$1234.50 ;" + bom + "\r\n"},
    };
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "4");
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.descrizione);
        fs::remove("SeparatoreXLS.txt");
        fs::remove("fd4.csv");
        if (caso.separatori) ScriviFile("SeparatoreXLS.txt", *caso.separatori);
        ScriviFile("FD4", caso.report);
        if (caso.errore) {
            EXPECT_EQ(NumeroErroreDi([] { ConvertiXLS(ContestoCorrente(), "FD4"); }), caso.errore);
            EXPECT_FALSE(fs::exists("fd4.csv"));
            continue;
        }
        ConvertiXLS(ContestoCorrente(), "FD4");
        EXPECT_EQ(LeggiFile("fd4.csv"), bom + Cp1252ToUtf8(caso.csv));
    }
}

TEST(ConvertiXLS, FileMancantiOIncompleti) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", nullptr);
    EXPECT_EQ(NomeFileEsportazione(PostazioneDellAmbiente()), "fd.csv");
    // No report: nothing is written.
    EXPECT_EQ(NumeroErroreDi([] { ConvertiXLS(ContestoCorrente(), "FD"); }), 53);
    ScriviFile("fd", "a,b\r\n");
    // A settings file found whatever the case of its name, with fewer than three lines.
    for (const char* corto : {"", ";\r\n,\r\n", ";\r\n,"}) {
        ScriviFile("separatorexls.txt", corto);
        EXPECT_EQ(NumeroErroreDi([] { ConvertiXLS(ContestoCorrente(), "FD"); }), 62) << corto;
    }
    EXPECT_FALSE(fs::exists("fd.csv"));
    ScriviFile("separatorexls.txt", ";\r\n,\r\nEUR");
    ConvertiXLS(ContestoCorrente(), "fd");
    EXPECT_EQ(Esportazione("fd.csv"), "a b\r\n");
    // Only the export and the two files it read are left: no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3);
}

TEST(ConvertiXLS, ComandoEsportaSullaSettimanaDemo) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "7");
    std::ostringstream out, err;
    EXPECT_EQ(EseguiComando({"esporta"}, OpzioniAvvio{}, out, err), 1);
    EXPECT_EQ(err.str().rfind("Errore 53: ", 0), 0u) << err.str();
    EXPECT_EQ(EseguiComando({"esporta", "FD7"}, OpzioniAvvio{}, out, err), 2);
    EXPECT_EQ(EseguiComando({"esporta", "--help"}, OpzioniAvvio{}, out, err), 0);

    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD7");
    EXPECT_EQ(EseguiComando({"esporta"}, OpzioniAvvio{}, out, err), 0);
    EXPECT_NE(LeggiFile("fd7.csv").find("Luned\xC3\xAC 07/12"), std::string::npos);
    const std::string csv = Esportazione("fd7.csv");
    std::vector<std::string> righe;
    std::istringstream lettura(csv);
    for (std::string riga; std::getline(lettura, riga);) righe.push_back(riga);
    ASSERT_EQ(righe.size(), 86u);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
    const std::string vuota(17, ' ');
    EXPECT_EQ(righe[1], RigaCsv("     ", {vuota, vuota, vuota, vuota, vuota, vuota, vuota}) + "\r");
    EXPECT_EQ(righe[2], RigaCsv("1    ", {vuota, vuota, vuota, vuota, "Conti Ni   11  13", "Conti Ni F 11  13", vuota}) + "\r");
    EXPECT_EQ(righe[3].substr(0, 114),
              RigaCsv("SGL  ", {vuota, vuota, vuota, vuota, "CTS      C  1, 50", "CTS      C  1, 62"}));
    EXPECT_EQ(righe[0].substr(0, 24), "     , Luned\xEC 07/12    ,");
}
