#include "archivio/Valore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <cstring>
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

static_assert(sizeof(Valore) == 24, "a value takes 24 bytes: hundreds of thousands of them make a build");

Valore::Valore(const Valore& altro) { Prendi(altro); }

Valore& Valore::operator=(const Valore& altro) {
    if (this != &altro) *this = Valore(altro);
    return *this;
}

void Valore::Prendi(const Valore& altro) {
    if (altro.SulloHeap()) {
        PrendiTesto(altro.TestoMemorizzato());
    } else {
        std::memcpy(dati_, altro.dati_, sizeof dati_);
        interno_ = altro.interno_;
        genere_ = altro.genere_;
    }
    tipo_ = altro.tipo_;
}

void Valore::PrendiTesto(std::string_view testo) {
    if (testo.size() <= kTestoInterno) {
        std::memcpy(dati_, testo.data(), testo.size());
        interno_ = static_cast<std::uint8_t>(testo.size());
    } else {
        TestoLungo lungo{new char[testo.size()], testo.size()};
        std::memcpy(lungo.byte, testo.data(), testo.size());
        Conserva(lungo);
        interno_ = kTestoSulloHeap;
    }
    genere_ = Genere::Testo;
}

bool operator==(const Valore& a, const Valore& b) {
    if (a.tipo_ != b.tipo_ || a.genere_ != b.genere_) return false;
    switch (a.genere_) {
        case Valore::Genere::Null: return true;
        case Valore::Genere::Intero: return a.Contenuto<std::int64_t>() == b.Contenuto<std::int64_t>();
        case Valore::Genere::Reale: return a.Contenuto<double>() == b.Contenuto<double>();
        case Valore::Genere::Testo: return a.TestoMemorizzato() == b.TestoMemorizzato();
    }
    return false;
}

Valore Valore::Intero(std::int64_t n) {
    Valore valore;
    valore.genere_ = Genere::Intero;
    valore.tipo_ = TipoCampo::Intero;
    valore.Conserva(n);
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
    valore.Conserva(x);
    return valore;
}

Valore Valore::Testo(std::string_view cp1252) {
    Valore valore;
    valore.PrendiTesto(cp1252);
    return valore;
}

Valore Valore::Data(std::string_view testo) {
    Valore valore = Testo(testo);
    valore.tipo_ = TipoCampo::Data;
    return valore;
}

Valore Valore::Binario(std::string_view byte) {
    Valore valore = Testo(byte);
    valore.tipo_ = TipoCampo::Binario;
    return valore;
}

Valore Valore::SiNo(bool si) {
    Valore valore = Intero(si ? 1 : 0);
    valore.tipo_ = TipoCampo::SiNo;
    return valore;
}

double Valore::Numero() const {
    if (IsNull()) return 0;
    if (genere_ == Genere::Testo) return ValoreNumerico(TestoMemorizzato());
    if (genere_ == Genere::Reale) return Contenuto<double>();
    const auto n = Contenuto<std::int64_t>();
    return tipo_ == TipoCampo::Valuta ? static_cast<double>(n) / 10000.0 : static_cast<double>(n);
}

std::int64_t Valore::Intero() const {
    if (tipo_ == TipoCampo::Valuta && !IsNull()) {
        // Exact half-to-even rounding of ten-thousandths.
        const auto n = Contenuto<std::int64_t>();
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
    if (tipo_ == TipoCampo::Valuta && !IsNull()) return Contenuto<std::int64_t>();
    return InteroLimitato(std::round(Numero() * 10000.0));
}

std::string Valore::Testo() const {
    if (IsNull()) return {};
    if (genere_ == Genere::Testo) return std::string(TestoMemorizzato());
    if (genere_ == Genere::Reale) {
        char buf[32];  // to_chars: a decimal point whatever the locale
        const auto fine =
            std::to_chars(buf, buf + sizeof buf, Contenuto<double>(), std::chars_format::general, 15).ptr;
        return std::string(buf, fine);
    }
    const auto n = Contenuto<std::int64_t>();
    if (tipo_ != TipoCampo::Valuta) return TestoIntero(n);
    // Unsigned: Currency's minimum, -2^63, has no positive counterpart in an int64_t.
    const auto assoluto = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%llu.%04llu", n < 0 ? "-" : "",
                  static_cast<unsigned long long>(assoluto / 10000),
                  static_cast<unsigned long long>(assoluto % 10000));
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
