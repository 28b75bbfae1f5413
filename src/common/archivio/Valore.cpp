#include "common/archivio/Valore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/Routine.h"

namespace {

// A whole double as a 64-bit integer: beyond the range it stops at the nearer
// end (a plain conversion is undefined there); NaN, no number, gives 0.
std::int64_t InteroLimitato(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 0x1p63) return std::numeric_limits<std::int64_t>::max();
    if (x < -0x1p63) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

}  // namespace

Valore::Valore(TipoCampo tipo, Dato dato) : tipo_(tipo), dato_(std::move(dato)) {}

Valore Valore::Intero(std::int64_t n) { return {TipoCampo::Intero, n}; }
Valore Valore::Valuta(std::int64_t decimillesimi) { return {TipoCampo::Valuta, decimillesimi}; }
Valore Valore::Reale(double x) { return {TipoCampo::Reale, x}; }
Valore Valore::Testo(std::string cp1252) { return {TipoCampo::Testo, std::move(cp1252)}; }
Valore Valore::Data(std::string testo) { return {TipoCampo::Data, std::move(testo)}; }
Valore Valore::SiNo(bool si) { return {TipoCampo::SiNo, std::int64_t{si ? 1 : 0}}; }

double Valore::Numero() const {
    if (IsNull()) return 0;
    if (const auto* s = std::get_if<std::string>(&dato_)) return ValoreNumerico(*s);
    if (const auto* x = std::get_if<double>(&dato_)) return *x;
    const auto n = std::get<std::int64_t>(dato_);
    return tipo_ == TipoCampo::Valuta ? static_cast<double>(n) / 10000.0 : static_cast<double>(n);
}

std::int64_t Valore::Intero() const {
    if (tipo_ == TipoCampo::Valuta && !IsNull()) {
        // Exact half-to-even rounding of ten-thousandths.
        const auto n = std::get<std::int64_t>(dato_);
        auto q = n / 10000;
        auto r = n % 10000;
        if (r < 0) {
            r += 10000;
            --q;
        }
        if (r > 5000 || (r == 5000 && q % 2 != 0)) ++q;
        return q;
    }
    return InteroLimitato(std::nearbyint(Numero()));
}

std::int64_t Valore::Decimillesimi() const {
    if (tipo_ == TipoCampo::Valuta && !IsNull()) return std::get<std::int64_t>(dato_);
    return InteroLimitato(std::round(Numero() * 10000.0));
}

std::string Valore::Testo() const {
    if (IsNull()) return {};
    if (const auto* s = std::get_if<std::string>(&dato_)) return *s;
    if (const auto* x = std::get_if<double>(&dato_)) {
        char buf[32];  // to_chars: a decimal point whatever the locale
        const auto fine = std::to_chars(buf, buf + sizeof buf, *x, std::chars_format::general, 15).ptr;
        return std::string(buf, fine);
    }
    const auto n = std::get<std::int64_t>(dato_);
    if (tipo_ != TipoCampo::Valuta) return TestoIntero(n);
    const auto assoluto = n < 0 ? -n : n;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%04lld", n < 0 ? "-" : "",
                  static_cast<long long>(assoluto / 10000), static_cast<long long>(assoluto % 10000));
    return buf;
}

int Tabella::IndiceColonna(std::string_view cercato) const {
    // The program writes most names as the table does: those are found at once.
    for (std::size_t i = 0; i < colonne.size(); ++i)
        if (colonne[i].nome == cercato) return static_cast<int>(i);
    const auto stessaLettera = [](char a, char b) { return Maiuscola(a) == Maiuscola(b); };
    for (std::size_t i = 0; i < colonne.size(); ++i)
        if (std::ranges::equal(colonne[i].nome, cercato, stessaLettera)) return static_cast<int>(i);
    return -1;
}
