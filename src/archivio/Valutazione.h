#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "archivio/Criterio.h"
#include "archivio/Valore.h"

// How the store evaluates criteria and orders records: texts compare without
// regard to case, numbers by value, Null equals nothing.

// Three-valued truth: a comparison with Null is neither true nor false.
enum class Logico { Falso, Vero, Nullo };

// True for a number, currency or yes/no value (not Null, not text or date).
bool ENumero(const Valore& v);

// Compares two values: nullopt when either is Null; texts without regard to
// case, character by character; numbers by value; a text against a number is
// read as a number, and Errore 3464 is thrown when it is not one.
std::optional<int> Confronta(const Valore& a, const Valore& b);

// Lookup key of a non-Null value: two texts, or two numbers, have the same key
// exactly when Confronta finds them equal. A text and a number never share one.
std::string Chiave(const Valore& v);
// The same key appended to `destinazione`.
void AggiungiChiave(std::string& destinazione, const Valore& v);

// Column of a field by name, without regard to case; Errore 3265 naming the
// field and the table when missing.
int Colonna(const Tabella& tabella, std::string_view campo);

// Gives the values of a subquery's one field, for In tests.
using EseguiSottoquery = std::function<std::vector<Valore>(const Selezione&)>;

// The values an In test compares against, with what a quick lookup needs.
struct Insieme {
    std::vector<Valore> valori;
    std::unordered_set<std::string> chiavi;  // lookup keys of the non-Null values
    bool haTesti = false;
    bool haNumeri = false;
    bool haNulli = false;
};

// One side of a comparison matched to a table: a column, a constant or a parameter.
struct TermineLegato {
    Termine::Genere genere = Termine::Genere::Costante;
    int colonna = -1;
    std::size_t parametro = 0;
    Valore costante;
};

// A criterion's form matched to the columns of a table, the values its In
// tests look in fetched.
struct EspressioneLegata {
    Forma::Nodo::Tipo tipo = Forma::Nodo::Tipo::Confronto;
    Operatore operatore = Operatore::Uguale;
    TermineLegato sinistro, destro;
    std::unique_ptr<EspressioneLegata> primo, secondo;
    Insieme insieme;
    bool negata = false;
};

// Matches the field names of a non-empty form to the columns of `tabella`
// (Errore 3265 for an unknown one) and fetches the values its In tests look in.
EspressioneLegata Lega(const Forma& forma, const Tabella& tabella, const EseguiSottoquery& esegui);

// Errore 3061 unless `valori` holds one value for each parameter of `forma`.
void ControllaValori(const Forma& forma, std::span<const Valore> valori);

// The expression on one record of the table it was matched to, its
// parameters given `valori`.
Logico Valuta(const EspressioneLegata& espressione, const Record& record, std::span<const Valore> valori);

// Puts `righe` (positions of records of `tabella`) in the order of the sort
// fields: Null first, texts without regard to case, equal keys in their
// present order. Errore 3265 for an unknown field.
void Ordina(std::vector<std::uint32_t>& righe, const Tabella& tabella, const std::vector<Ordine>& ordine);
