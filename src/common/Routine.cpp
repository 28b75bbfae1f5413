#include "common/Routine.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <ctime>

#include "common/Errore.h"
#include "tableau/RigaReport.h"

thread_local std::array<std::int16_t, 13> GiorniMese = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
std::array<std::string, 7> NomiGiorni = {"Luned\xEC",  "Marted\xEC", "Mercoled\xEC", "Gioved\xEC",
                                         "Venerd\xEC", "Sabato",     "Domenica"};

namespace {

// Characters `da`..`da+n-1` (counted from 1), or fewer near the end.
std::string Parte(const std::string& testo, std::size_t da, std::size_t n) {
    return da - 1 < testo.size() ? testo.substr(da - 1, n) : std::string();
}

// The last n characters.
std::string Coda(const std::string& testo, std::size_t n) {
    return testo.size() > n ? testo.substr(testo.size() - n) : testo;
}

// A number read from a date part, taken as the nearest 16-bit integer.
std::int16_t NumeroData(const std::string& parte) {
    const double x = ValoreNumerico(parte);
    if (x > 32767.49 || x < -32768.49) throw Errore(NumeroErrore::Overflow, "Overflow.");
    return static_cast<std::int16_t>(std::lround(x));
}

// Place of the bar before a day's amount, counted from the separator before the day's cell.
constexpr std::size_t PostoBarraImporto = 14;

void ImpostaFebbraio(std::int16_t anno) { GiorniMese[2] = AnnoBisestile(anno) ? 29 : 28; }

// Century digits of a two-digit year: the year is taken in the window from 80
// years before this year to 19 years after it, so a clerk typing 010125 today
// means 2025 and 010199 means 1999.
std::string SecoloDi(const std::string& yy) {
    const std::time_t adesso = std::time(nullptr);
    std::tm oggi{};
    localtime_r(&adesso, &oggi);
    const int annoCorrente = oggi.tm_year + 1900;
    const int finestra = annoCorrente + 19;
    int anno = finestra - finestra % 100 + static_cast<int>(ValoreNumerico(yy));
    if (anno > finestra) anno -= 100;
    return std::to_string(anno / 100);
}

// Length of the number that starts `testo`: an optional sign, then digits with
// at most one decimal point; 0 when it holds no digit.
std::size_t LunghezzaNumero(std::string_view testo) {
    std::size_t i = !testo.empty() && (testo[0] == '+' || testo[0] == '-') ? 1 : 0;
    bool punto = false;
    bool cifre = false;
    for (; i < testo.size(); ++i) {
        if (testo[i] >= '0' && testo[i] <= '9') {
            cifre = true;
        } else if (testo[i] == '.' && !punto) {
            punto = true;
        } else {
            break;
        }
    }
    return cifre ? i : 0;
}

// Value of a number as LunghezzaNumero delimits it. from_chars: a decimal
// point whatever the locale, and the double nearest to the decimal written.
double Converti(std::string_view numero) {
    const bool negativo = numero[0] == '-';
    if (numero[0] == '-' || numero[0] == '+') numero.remove_prefix(1);
    double valore = 0;
    std::from_chars(numero.data(), numero.data() + numero.size(), valore, std::chars_format::fixed);
    return negativo ? -valore : valore;
}

}  // namespace

void RiempiTabelleComuni() {
    GiorniMese = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    NomiGiorni = {"Luned\xEC", "Marted\xEC", "Mercoled\xEC", "Gioved\xEC", "Venerd\xEC", "Sabato", "Domenica"};
}

std::chrono::sys_days GiornoDiCalendario(const std::string& data) {
    const int giorno = NumeroData(Parte(data, 1, 2));
    const int mese = NumeroData(Parte(data, 4, 2));
    const int anno = NumeroData(Coda(data, 4));
    if (mese < 1 || mese > 12)
        throw Errore(NumeroErrore::ArgomentoNonValido, "Chiamata di routine o argomento non valido.");
    // Days from the first of the month, so day 31 of a 30-day month falls on the 1st of the next.
    using namespace std::chrono;
    return sys_days{year{anno} / month{static_cast<unsigned>(mese)} / day{1}} + days{giorno - 1};
}

std::string TestoData(std::chrono::sys_days giorno) {
    const std::chrono::year_month_day ymd{giorno};
    char testo[16];
    std::snprintf(testo, sizeof testo, "%02u/%02u/%04d", static_cast<unsigned>(ymd.day()),
                  static_cast<unsigned>(ymd.month()), static_cast<int>(ymd.year()));
    return testo;
}

std::string DataTabella(std::chrono::sys_days giorno) {
    const std::chrono::year_month_day ymd{giorno};
    char testo[16];
    std::snprintf(testo, sizeof testo, "%04d%02u%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return testo;
}

std::int16_t GiornoSettimana(const std::string& data) {
    const std::chrono::sys_days giorno = GiornoDiCalendario(data);
    ImpostaFebbraio(NumeroData(Coda(data, 4)));
    // 1 January 1970 was a Thursday (index 3 when Monday is 0).
    const auto n = (giorno.time_since_epoch().count() % 7 + 7 + 3) % 7;
    return static_cast<std::int16_t>(n);
}

char CorniceSemplice(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 179: case 180: case 183: case 186: case 195: case 204:
            return '|';
        case 187: case 188: case 191: case 192: case 193: case 194: case 196: case 197:
        case 200: case 201: case 202: case 203: case 206: case 217: case 218:
            return '-';
        default:
            return c;
    }
}

PostiCornice::PostiCornice(std::string_view riga)
    : griglia_(riga.size() == Griglia::LunghezzaRiga),
      ovunque_(!griglia_ || std::all_of(riga.begin(), riga.end(), [](char c) { return CorniceSemplice(c) != c; })) {}

bool PostiCornice::PostoDiGriglia(std::size_t i) const {
    if (!griglia_ || i < Griglia::LarghezzaCamera) return false;
    // From the separator after the room column, every 18 columns a separator
    // and 14 columns after it the bar before the day's amount.
    const std::size_t passo = Griglia::LarghezzaCella + 1;
    const std::size_t posto = (i - Griglia::LarghezzaCamera) % passo;
    return posto == 0 || posto == PostoBarraImporto;
}

std::string ConvertiCornici(std::string& riga) {
    const PostiCornice cornice(riga);
    for (std::size_t i = 0; i < riga.size(); ++i)
        if (cornice(i)) riga[i] = CorniceSemplice(riga[i]);
    return riga;
}

std::string CompletaData(std::string& data) {
    if (data.size() == 6) {
        const std::string yy = data.substr(4, 2);
        data = data.substr(0, 2) + "/" + data.substr(2, 2) + "/" + SecoloDi(yy) + yy;
    } else if (data.size() == 8) {
        data = data.substr(0, 2) + "/" + data.substr(2, 2) + "/" + data.substr(4, 4);
    }
    return data;
}

std::string PulisciTesto(const std::string& testo, std::int16_t modo) {
    std::string nuovo;
    for (char c : Maiuscolo(testo)) {
        const bool prendi = modo == 0 ? c != '\'' : modo == 1 && ((c >= '0' && c <= '9') || c == ',' || c == '-');
        if (prendi) nuovo += c;
    }
    if (nuovo.empty()) return modo == 0 ? " " : "0";
    return nuovo;
}

std::int16_t AnnoBisestile(std::int16_t anno) {
    return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0 ? 1 : 0;
}

std::int16_t ControllaData(std::string& data) {
    const std::string pulita = Taglia(data);
    if (pulita.size() != 10) return 0;
    data = pulita;
    const auto giorno = NumeroData(Parte(data, 1, 2));
    const auto mese = NumeroData(Parte(data, 4, 2));
    const auto anno = NumeroData(Coda(data, 4));
    if (mese < 1 || mese > 12 || anno < 1900) return 0;
    ImpostaFebbraio(anno);
    return giorno >= 1 && giorno <= GiorniMese[mese] ? 1 : 0;
}

double ValoreNumerico(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string_view::npos) return 0;
    testo.remove_prefix(inizio);
    const std::size_t lunghezza = LunghezzaNumero(testo);
    return lunghezza ? Converti(testo.substr(0, lunghezza)) : 0;
}

std::optional<double> NumeroDelTesto(std::string_view testo) {
    const std::string numero = Taglia(testo);
    if (numero.empty() || LunghezzaNumero(numero) != numero.size()) return std::nullopt;
    return Converti(numero);
}

std::string TestoIntero(std::int64_t n) { return std::to_string(n); }

std::string DataOdierna() { return OraLocale("%d/%m/%Y"); }

std::string OraLocale(const char* formato) { return FormattaOra(TempoLocale(), formato); }

std::tm TempoLocale() {
    const std::time_t adesso = std::time(nullptr);
    std::tm locale{};
    localtime_r(&adesso, &locale);
    return locale;
}

std::string FormattaOra(const std::tm& ora, const char* formato) {
    char buf[64];
    return std::string(buf, std::strftime(buf, sizeof buf, formato, &ora));
}

std::string Taglia(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string_view::npos) return {};
    const auto fine = testo.find_last_not_of(' ');
    return std::string(testo.substr(inizio, fine - inizio + 1));
}

std::string Maiuscolo(std::string_view testo) {
    std::string out(testo);
    for (char& c : out) c = Maiuscola(c);
    return out;
}

char Maiuscola(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);  // Latin-1 letters: à -> À ... þ -> Þ
    if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);  // š -> Š, œ -> Œ, ž -> Ž
    if (b == 0xFF) return static_cast<char>(0x9F);                              // ÿ -> Ÿ
    return c;
}
