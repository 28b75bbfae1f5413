#include <gtest/gtest.h>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "support/Supporto.h"

namespace {

std::int16_t Giorno(std::string data) { return GiornoSettimana(data); }

std::string Completa(std::string data) { return CompletaData(data); }

// Result of ControllaData and the text it leaves.
std::pair<int, std::string> Controlla(std::string data) {
    const int esito = ControllaData(data);
    return {esito, data};
}

}  // namespace

TEST(GiornoSettimana, GiorniNotiDaOgniEpoca) {
    EXPECT_EQ(Giorno("01/01/1996"), 0);  // Monday
    EXPECT_EQ(Giorno("07/01/1996"), 6);
    EXPECT_EQ(Giorno("29/02/2000"), 1);
    EXPECT_EQ(Giorno("01/03/2000"), 2);
    EXPECT_EQ(Giorno("07/12/2026"), 0);
    EXPECT_EQ(Giorno("01/01/2027"), 4);
    // Before 1996 too, without looping or overflowing.
    EXPECT_EQ(Giorno("31/12/1995"), 6);
    EXPECT_EQ(Giorno("01/01/1900"), 0);
    EXPECT_EQ(Giorno("28/02/1900"), 2);
    EXPECT_EQ(Giorno("01/03/1900"), 3);  // 1900 has no 29 February
    // A day past the end of its month counts on into the next month.
    EXPECT_EQ(Giorno("31/04/2020"), Giorno("01/05/2020"));
}

TEST(GiornoSettimana, MeseFuoriIntervalloEUnErrore) {
    EXPECT_EQ(NumeroErroreDi([] { Giorno("01/13/2020"); }), 5);
}

TEST(CompletaData, SeiOOttoCifre) {
    // Two-digit years near today's: a clerk books this decade, not the 1920s.
    EXPECT_EQ(Completa("311219"), "31/12/2019");
    EXPECT_EQ(Completa("311220"), "31/12/2020");
    EXPECT_EQ(Completa("010125"), "01/01/2025");
    EXPECT_EQ(Completa("010199"), "01/01/1999");
    EXPECT_EQ(Completa("31122024"), "31/12/2024");
    EXPECT_EQ(Completa("3112201"), "3112201");
    EXPECT_EQ(Completa("07/12/2026"), "07/12/2026");
}

TEST(ControllaData, AccettaDateValideERifiutaLeAltre) {
    EXPECT_EQ(Controlla("  29/02/2000 "), std::make_pair(1, std::string("29/02/2000")));
    EXPECT_EQ(Controlla("29/02/2024").first, 1);
    EXPECT_EQ(Controlla("31-12-2020").first, 1);  // separators are not examined
    EXPECT_EQ(Controlla("29/02/1900").first, 0);  // 1900 is not a leap year
    EXPECT_EQ(Controlla("29/02/2100").first, 0);
    EXPECT_EQ(Controlla("31/04/2020").first, 0);
    EXPECT_EQ(Controlla("00/01/2020").first, 0);
    EXPECT_EQ(Controlla("01/13/2020").first, 0);
    EXPECT_EQ(Controlla("01/01/1899").first, 0);
    EXPECT_EQ(Controlla("1/1/2020"), std::make_pair(0, std::string("1/1/2020")));  // left untouched
    EXPECT_EQ(Controlla("010125").first, 0);
}

TEST(AnnoBisestile, RegolaGregoriana) {
    EXPECT_EQ(AnnoBisestile(2024), 1);
    EXPECT_EQ(AnnoBisestile(2000), 1);
    EXPECT_EQ(AnnoBisestile(1900), 0);
    EXPECT_EQ(AnnoBisestile(2100), 0);
    EXPECT_EQ(AnnoBisestile(2026), 0);
}

TEST(PulisciTesto, ModiZeroEUno) {
    EXPECT_EQ(PulisciTesto("l'a1", 0), "LA1");
    EXPECT_EQ(PulisciTesto("", 0), " ");
    EXPECT_EQ(PulisciTesto("'", 0), " ");
    EXPECT_EQ(PulisciTesto("citt\xE0", 0), "CITT\xC0");  // accented letters too
    EXPECT_EQ(PulisciTesto("1.234,5-x", 1), "1234,5-");
    EXPECT_EQ(PulisciTesto("abc", 1), "0");
    EXPECT_EQ(PulisciTesto("abc", 2), "0");
}

TEST(ConvertiCornici, CodiciDelleCornici) {
    std::string riga = "\xDA\xC4\xBF";
    EXPECT_EQ(ConvertiCornici(riga), "---");
    EXPECT_EQ(riga, "---");  // changed in place
    std::string griglia = "\xB3\xC5\xB4\xCD\xB5 a";
    EXPECT_EQ(ConvertiCornici(griglia), "|-|\xCD\xB5 a");  // 205 and 181 stay
}

TEST(ValoreNumerico, RegolaDelValoreNumerico) {
    EXPECT_EQ(ValoreNumerico("  7 Roma"), 7);
    EXPECT_EQ(ValoreNumerico("-3.5x"), -3.5);
    EXPECT_EQ(ValoreNumerico("1.2.3"), 1.2);
    EXPECT_EQ(ValoreNumerico("abc"), 0);
    EXPECT_EQ(ValoreNumerico(""), 0);
    EXPECT_EQ(ValoreNumerico("-"), 0);
    // The nearest double to the decimal written, as any other reader of it gives.
    EXPECT_EQ(ValoreNumerico("0.3"), 0.3);
    EXPECT_EQ(ValoreNumerico(" 49.95 EUR"), 49.95);
    EXPECT_EQ(ValoreNumerico("+.7"), 0.7);
}

TEST(Codifica, Windows1252AiMarginiDelProgramma) {
    EXPECT_EQ(Utf8ToCp1252("Garçon € Lunedì"), "Gar\xE7on \x80 Luned\xEC");
    EXPECT_EQ(Cp1252ToUtf8("Gar\xE7on \x80 Luned\xEC"), "Garçon € Lunedì");
    EXPECT_EQ(Utf8ToCp1252("Łódź 東"), "?\xF3" "d? ?");  // characters the code page lacks
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");                // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF" "b"), "?b");            // stray byte
    std::string tutti;
    for (int b = 1; b < 256; ++b) tutti += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(tutti)), tutti);
}

TEST(Maiuscolo, LettereDiWindows1252) {
    EXPECT_EQ(Maiuscolo("citt\xE0 \xE8\xFE \x9A\x9C\x9E\xFF"), "CITT\xC0 \xC8\xDE \x8A\x8C\x8E\x9F");
    // Division sign, sharp s, digits and signs have no upper case.
    EXPECT_EQ(Maiuscolo("\xF7\xDF 12'-"), "\xF7\xDF 12'-");
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(Maiuscola(static_cast<char>(b)), Maiuscolo(std::string(1, static_cast<char>(b)))[0]) << b;
}
