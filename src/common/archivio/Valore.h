#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

// Field types as the suite's tables hold them.
enum class TipoCampo { Intero, Valuta, Reale, Testo, Data, SiNo };

// The value of one field of one record. Text is Windows-1252, one byte per
// character; a currency amount is kept exact in ten-thousandths; a date/time
// field is its text "yyyy-mm-dd hh:mm:ss"; a yes/no field is the integer 1 or 0.
class Valore {
public:
    Valore() : intero_(0) {}  // Null
    Valore(const Valore& altro);
    Valore(Valore&& altro) noexcept;
    Valore& operator=(const Valore& altro);
    Valore& operator=(Valore&& altro) noexcept;
    ~Valore() { Distruggi(); }

    static Valore Intero(std::int64_t n);
    static Valore Valuta(std::int64_t decimillesimi);
    static Valore Reale(double x);
    static Valore Testo(std::string cp1252);
    static Valore Data(std::string testo);
    static Valore SiNo(bool si);

    bool IsNull() const { return genere_ == Genere::Null; }
    TipoCampo Tipo() const { return tipo_; }
    bool IsTesto() const { return genere_ == Genere::Testo; }

    // Numeric value: numbers as they are, a text by the numeric-value rule, Null 0.
    double Numero() const;
    // Whole value: the numeric value rounded half to even; beyond the 64-bit
    // range the nearer end of it, NaN 0.
    std::int64_t Intero() const;
    // Text form: a text as it is; an integer in decimal without leading blank;
    // a currency amount with four decimals and a point; Null gives "".
    std::string Testo() const;
    // The text of a text value as stored, without a copy; IsTesto() must hold.
    const std::string& TestoMemorizzato() const { return testo_; }
    // Exact currency amount in ten-thousandths (for Valuta values); other
    // values rounded to the nearest, within the 64-bit range as Intero.
    std::int64_t Decimillesimi() const;

    // Equal when of the same type, both Null or holding equal values.
    friend bool operator==(const Valore& a, const Valore& b);

private:
    // What the value holds. A table keeps hundreds of thousands of values:
    // the kinds share their room (40 bytes in all), the one held being told by `genere_`.
    enum class Genere : std::uint8_t { Null, Intero, Reale, Testo };

    void Distruggi() noexcept;
    // Takes what `altro` holds into this value, which holds nothing.
    void Prendi(const Valore& altro);
    void Prendi(Valore&& altro) noexcept;

    union {
        std::int64_t intero_;  // Intero, Valuta and SiNo values
        double reale_;
        std::string testo_;  // Testo and Data values
    };
    Genere genere_ = Genere::Null;
    TipoCampo tipo_ = TipoCampo::Testo;
};

// Moving is inline: building a table moves each of its values.
inline Valore::Valore(Valore&& altro) noexcept { Prendi(std::move(altro)); }

inline Valore& Valore::operator=(Valore&& altro) noexcept {
    if (this != &altro) {
        Distruggi();
        Prendi(std::move(altro));
    }
    return *this;
}

inline void Valore::Distruggi() noexcept {
    if (genere_ == Genere::Testo) testo_.~basic_string();
    genere_ = Genere::Null;
    intero_ = 0;
}

inline void Valore::Prendi(Valore&& altro) noexcept {
    if (altro.genere_ == Genere::Testo)
        new (&testo_) std::string(std::move(altro.testo_));
    else if (altro.genere_ == Genere::Reale)
        reale_ = altro.reale_;
    else
        intero_ = altro.intero_;
    genere_ = altro.genere_;
    tipo_ = altro.tipo_;
}

struct Colonna {
    std::string nome;
    TipoCampo tipo;
    friend bool operator==(const Colonna&, const Colonna&) = default;
};

using Record = std::vector<Valore>;

// A whole table as read from a store: its columns and its records in
// physical (stored) order.
struct Tabella {
    std::string nome;
    std::vector<Colonna> colonne;
    std::vector<Record> righe;

    // Index of a column by name, without regard to case; -1 when missing.
    int IndiceColonna(std::string_view nome) const;
};
