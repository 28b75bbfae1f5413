#include "common/archivio/Valore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>
#include <utility>

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

static_assert(sizeof(Valore) == 40, "a value takes 40 bytes: hundreds of thousands of them make a build");

Valore::Valore(const Valore& altro) { Prendi(altro); }

Valore& Valore::operator=(const Valore& altro) {
    if (this != &altro) *this = Valore(altro);
    return *this;
}

void Valore::Prendi(const Valore& altro) {
    if (altro.genere_ == Genere::Testo)
        new (&testo_) std::string(altro.testo_);
    else if (altro.genere_ == Genere::Reale)
        reale_ = altro.reale_;
    else
        intero_ = altro.intero_;
    genere_ = altro.genere_;
    tipo_ = altro.tipo_;
}

bool operator==(const Valore& a, const Valore& b) {
    if (a.tipo_ != b.tipo_ || a.genere_ != b.genere_) return false;
    switch (a.genere_) {
        case Valore::Genere::Null: return true;
        case Valore::Genere::Intero: return a.intero_ == b.intero_;
        case Valore::Genere::Reale: return a.reale_ == b.reale_;
        case Valore::Genere::Testo: return a.testo_ == b.testo_;
    }
    return false;
}

Valore Valore::Intero(std::int64_t n) {
    Valore valore;
    valore.genere_ = Genere::Intero;
    valore.tipo_ = TipoCampo::Intero;
    valore.intero_ = n;
    return valore;
}

Valore Valore::Valuta(std::int64_t decimillesimi) {
    Valore valore = Intero(decimillesimi);
    valore.tipo_ = TipoCampo::Valuta;
    return valore;
}

Valore Valore::Reale(double x) {
    Valore valore;
    valore.genere_ = Genere::Reale;
    valore.tipo_ = TipoCampo::Reale;
    valore.reale_ = x;
    return valore;
}

Valore Valore::Testo(std::string cp1252) {
    Valore valore;
    new (&valore.testo_) std::string(std::move(cp1252));
    valore.genere_ = Genere::Testo;
    return valore;
}

Valore Valore::Data(std::string testo) {
    Valore valore = Testo(std::move(testo));
    valore.tipo_ = TipoCampo::Data;
    return valore;
}

Valore Valore::SiNo(bool si) {
    Valore valore = Intero(si ? 1 : 0);
    valore.tipo_ = TipoCampo::SiNo;
    return valore;
}

double Valore::Numero() const {
    if (IsNull()) return 0;
    if (genere_ == Genere::Testo) return ValoreNumerico(testo_);
    if (genere_ == Genere::Reale) return reale_;
    const auto n = intero_;
    return tipo_ == TipoCampo::Valuta ? static_cast<double>(n) / 10000.0 : static_cast<double>(n);
}

std::int64_t Valore::Intero() const {
    if (tipo_ == TipoCampo::Valuta && !IsNull()) {
        // Exact half-to-even rounding of ten-thousandths.
        const auto n = intero_;
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
    if (tipo_ == TipoCampo::Valuta && !IsNull()) return intero_;
    return InteroLimitato(std::round(Numero() * 10000.0));
}

std::string Valore::Testo() const {
    if (IsNull()) return {};
    if (genere_ == Genere::Testo) return testo_;
    if (genere_ == Genere::Reale) {
        char buf[32];  // to_chars: a decimal point whatever the locale
        const auto fine = std::to_chars(buf, buf + sizeof buf, reale_, std::chars_format::general, 15).ptr;
        return std::string(buf, fine);
    }
    const auto n = intero_;
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
