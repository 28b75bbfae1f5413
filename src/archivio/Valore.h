#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Field types as the suite's tables hold them.
enum class TipoCampo : std::uint8_t { Intero, Valuta, Reale, Testo, Data, SiNo, Binario };

// The value of one field of one record. Text is Windows-1252, one byte per
// character; a currency amount is kept exact in ten-thousandths; a date/time
// field is its text "yyyy-mm-dd hh:mm:ss"; a yes/no field is the integer 1 or 0;
// binary data (an OLE object among them) is its bytes, held as a text is.
class Valore {
public:
    Valore() : dati_{} {}  // Null
    Valore(const Valore& altro);
    Valore(Valore&& altro) noexcept;
    Valore& operator=(const Valore& altro);
    Valore& operator=(Valore&& altro) noexcept;
    ~Valore() { Distruggi(); }

    static Valore Intero(std::int64_t n);
    static Valore Valuta(std::int64_t decimillesimi);
    static Valore Reale(double x);
    static Valore Testo(std::string_view cp1252);
    static Valore Data(std::string_view testo);
    static Valore SiNo(bool si);
    static Valore Binario(std::string_view byte);

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
    // The text of a text value as stored, without a copy, valid while the
    // value lives unchanged where it is; IsTesto() must hold.
    std::string_view TestoMemorizzato() const;
    // Exact currency amount in ten-thousandths (for Valuta values); other
    // values rounded to the nearest, within the 64-bit range as Intero.
    std::int64_t Decimillesimi() const;

    // Equal when of the same type, both Null or holding equal values.
    friend bool operator==(const Valore& a, const Valore& b);

private:
    // What the value holds.
    enum class Genere : std::uint8_t { Null, Intero, Reale, Testo };
    // A table keeps hundreds of thousands of values: each takes 24 bytes.
    // Texts up to kTestoInterno bytes (a date's 19 among them) live inside the
    // value; a longer one on the heap, its address and length inside.
    static constexpr std::size_t kTestoInterno = 21;
    static constexpr std::uint8_t kTestoSulloHeap = 0xFF;
    struct TestoLungo {
        char* byte;
        std::size_t lunghezza;
    };

    void Distruggi() noexcept;
    // Takes what `altro` holds into this value, which holds nothing.
    void Prendi(const Valore& altro);
    void Prendi(Valore&& altro) noexcept;
    void PrendiTesto(std::string_view testo);

    template <typename T>
    T Contenuto() const {
        T x;
        std::memcpy(&x, dati_, sizeof x);
        return x;
    }
    template <typename T>
    void Conserva(const T& x) {
        std::memcpy(dati_, &x, sizeof x);
    }
    bool SulloHeap() const { return genere_ == Genere::Testo && interno_ == kTestoSulloHeap; }

    // An integer (Intero, Valuta and SiNo values) or a double in the first
    // 8 bytes, a text inside in the first `interno_`, a TestoLungo in the first 16.
    alignas(8) char dati_[kTestoInterno];
    std::uint8_t interno_ = 0;  // length of a text held inside, or kTestoSulloHeap
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
    if (SulloHeap()) delete[] Contenuto<TestoLungo>().byte;
    genere_ = Genere::Null;
    interno_ = 0;
    Conserva<std::int64_t>(0);
}

// The bytes move as they are: a text on the heap changes owner, and `altro`
// is left Null so that it no longer frees it.
inline void Valore::Prendi(Valore&& altro) noexcept {
    std::memcpy(dati_, altro.dati_, sizeof dati_);
    interno_ = altro.interno_;
    genere_ = altro.genere_;
    tipo_ = altro.tipo_;
    altro.genere_ = Genere::Null;
    altro.interno_ = 0;
}

inline std::string_view Valore::TestoMemorizzato() const {
    if (!SulloHeap()) return {dati_, interno_};
    const auto lungo = Contenuto<TestoLungo>();
    return {lungo.byte, lungo.lunghezza};
}

struct Colonna {
    std::string nome;
    TipoCampo tipo;
    friend bool operator==(const Colonna&, const Colonna&) = default;
};

// The values of one record, one per column.
using Record = std::vector<Valore>;

// A whole table as read from a store: its columns and its records.
struct Tabella {
    std::string nome;
    std::vector<Colonna> colonne;
    std::vector<Record> righe;  // in physical (stored) order

    // Index of a column by name, without regard to case; -1 when missing.
    int IndiceColonna(std::string_view nome) const;
};
