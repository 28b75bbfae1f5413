#pragma once

#include <array>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text, number and date routines shared by the windows and the builder.
// Texts are Windows-1252, one byte per character; dates are dd/mm/yyyy.

// Days of each month, index 1 = January (index 0 unused). The February entry
// is set to 29 or 28 by GiornoSettimana and ControllaData for the year they examine.
// One table per thread: the window checks a date typed while a build in a
// thread of its own examines the year of its week.
extern thread_local std::array<std::int16_t, 13> GiorniMese;
// Weekday names, index 0 = Monday ("LunedÃ¬") .. 6 = Sunday, in Windows-1252.
extern std::array<std::string, 7> NomiGiorni;

// Fills GiorniMese and NomiGiorni (done at start-up).
void RiempiTabelleComuni();

// Weekday of a dd/mm/yyyy date, 0 = Monday .. 6 = Sunday. Any year; a day past
// the end of its month counts on into the next month. Throws Errore 5 for a
// month outside 1..12.
std::int16_t GiornoSettimana(const std::string& data);

// The calendar day of a dd/mm/yyyy date; a day past the end of its month
// counts on into the next month. Throws Errore 5 for a month outside 1..12.
std::chrono::sys_days GiornoDiCalendario(const std::string& data);

// A calendar day as the suite's tables store dates: yyyymmdd.
std::string DataTabella(std::chrono::sys_days giorno);
// A calendar day as the user reads and types it: dd/mm/yyyy.
std::string TestoData(std::chrono::sys_days giorno);

// Where a line may hold the report's frame. In a line of the report's shape
// (132 characters) the frame stands only in the grid: the separator columns
// 6, 24, .. 132, the bar before each day's amount (columns 20, 38, .. 128) and
// every column of a separator line (one made of frame codes only); elsewhere
// the bytes the frame is drawn with are letters of the guests' names ("À",
// "Ä", "Å"...). In a line of any other length any place may hold it.
class PostiCornice {
public:
    explicit PostiCornice(std::string_view riga);
    // True when character `i` (from 0) stands where the frame may.
    bool operator()(std::size_t i) const { return ovunque_ || PostoDiGriglia(i); }
    // True when character `i` is a separator column or a day's bar of a line
    // of the report's shape: the places that close its cells.
    bool PostoDiGriglia(std::size_t i) const;

private:
    bool griglia_;  // a line of the report's shape
    bool ovunque_;  // any other line, or a separator line
};

// The plain character a box-drawing code stands for ("|" or "-"); any other
// character as it is.
char CorniceSemplice(char c);

// Turns the box-drawing codes that stand where the frame may (PostiCornice)
// into "|" and "-" in place; returns the changed line.
std::string ConvertiCornici(std::string& riga);

// ddmmyy -> dd/mm/yyyy (the two-digit year taken within 80 years before and
// 19 years after the current year), ddmmyyyy -> dd/mm/yyyy, others unchanged.
// Replaces the caller's text and returns it.
std::string CompletaData(std::string& data);

// Mode 0: upper case, apostrophes dropped, empty -> " ".
// Mode 1: only digits, "," and "-", upper case, empty -> "0". Other modes: "0".
std::string PulisciTesto(const std::string& testo, std::int16_t modo);

// 1 for a leap year of the Gregorian calendar, else 0.
std::int16_t AnnoBisestile(std::int16_t anno);

// 1 when the text, trimmed, is a valid dd/mm/yyyy date from 1900 on, else 0.
// A text of 10 characters after trimming replaces the caller's text.
std::int16_t ControllaData(std::string& data);

// The numeric-value rule: leading blanks skipped, an optional sign, digits and
// one decimal point read up to the first character that cannot continue the
// number; no number gives 0.
double ValoreNumerico(std::string_view testo);

// The value of a text that is a number by the rule above and nothing else
// (blanks around it allowed); nothing for any other text.
std::optional<double> NumeroDelTesto(std::string_view testo);

// Integer as text without leading blank.
std::string TestoIntero(std::int64_t n);

// Today's date as dd/mm/yyyy.
std::string DataOdierna();

// The current local time in the strftime `formato` ("%Y%m%d%H%M").
std::string OraLocale(const char* formato);
// The current local time, the clock read once.
std::tm TempoLocale();
// A local time in the strftime `formato`.
std::string FormattaOra(const std::tm& ora, const char* formato);

// Blanks removed at both ends.
std::string Taglia(std::string_view testo);

// Upper case of a Windows-1252 text (accented letters included).
std::string Maiuscolo(std::string_view testo);

// Upper case of one Windows-1252 character, as Maiuscolo makes it.
char Maiuscola(char c);
