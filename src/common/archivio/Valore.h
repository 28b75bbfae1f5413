#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// Field types as the suite's tables hold them.
enum class TipoCampo { Intero, Valuta, Reale, Testo, Data, SiNo };

// The value of one field of one record. Text is Windows-1252, one byte per
// character; a currency amount is kept exact in ten-thousandths; a date/time
// field is its text "yyyy-mm-dd hh:mm:ss"; a yes/no field is the integer 1 or 0.
class Valore {
public:
    Valore() = default;  // Null

    static Valore Intero(std::int64_t n);
    static Valore Valuta(std::int64_t decimillesimi);
    static Valore Reale(double x);
    static Valore Testo(std::string cp1252);
    static Valore Data(std::string testo);
    static Valore SiNo(bool si);

    bool IsNull() const { return std::holds_alternative<std::monostate>(dato_); }
    TipoCampo Tipo() const { return tipo_; }
    bool IsTesto() const { return std::holds_alternative<std::string>(dato_); }

    // Numeric value: numbers as they are, a text by the numeric-value rule, Null 0.
    double Numero() const;
    // Whole value: the numeric value rounded half to even; beyond the 64-bit
    // range the nearer end of it, NaN 0.
    std::int64_t Intero() const;
    // Text form: a text as it is; an integer in decimal without leading blank;
    // a currency amount with four decimals and a point; Null gives "".
    std::string Testo() const;
    // The text of a text value as stored, without a copy; IsTesto() must hold.
    const std::string& TestoMemorizzato() const { return *std::get_if<std::string>(&dato_); }
    // Exact currency amount in ten-thousandths (for Valuta values); other
    // values rounded to the nearest, within the 64-bit range as Intero.
    std::int64_t Decimillesimi() const;

    friend bool operator==(const Valore&, const Valore&) = default;

private:
    using Dato = std::variant<std::monostate, std::int64_t, double, std::string>;
    Valore(TipoCampo tipo, Dato dato);

    TipoCampo tipo_ = TipoCampo::Testo;
    Dato dato_;
};

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
