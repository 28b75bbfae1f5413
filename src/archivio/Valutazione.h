#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archivio/Sql.h"
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

// Column of a field by name, without regard to case; Errore 3265 when missing.
int Colonna(const Tabella& tabella, std::string_view campo);

// Gives the values of a subquery's one field, for In tests.
using EseguiSottoquery = std::function<std::vector<Valore>(sql::Selezione&)>;

// Matches the field names of the expression to the columns of `tabella`
// (Errore 3265 for an unknown one) and fetches the values its In tests look in.
void Lega(sql::Espressione& espressione, const Tabella& tabella, const EseguiSottoquery& esegui);

// The columns an expression matched to a table reads, each once, in the order written.
std::vector<int> ColonneLette(const sql::Espressione& espressione);

// The expression on one record of the table it was matched to.
Logico Valuta(const sql::Espressione& espressione, const Record& record);

// Puts `righe` (positions of records of `tabella`) in the order of the sort
// fields: Null first, texts without regard to case, equal keys in their
// present order. Errore 3265 for an unknown field.
void Ordina(std::vector<std::uint32_t>& righe, const Tabella& tabella, const std::vector<sql::Ordine>& ordine);
