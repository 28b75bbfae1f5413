#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archivio/Valore.h"

// What the program asks of the store, written in code: search criteria
// (fields compared with values, tests joined by And, Or and Not, a field's
// value among a list or among the values of another table's field) and the
// record sets it opens (`Selezione`). A criterion's form may leave values to
// each search (`Parametro`): a form is built once and given, at each search,
// the room and the day it looks for.
//
//   Campo("NumeroHotel") == hotel && Campo("DataArrivo") <= Parametro{0}

// A field of a table, by name. Names are matched to a table's columns
// without regard to case when a record set is opened or searched.
class Campo {
public:
    explicit Campo(std::string nome) : nome_(std::move(nome)) {}
    const std::string& Nome() const { return nome_; }

private:
    std::string nome_;
};

// The value a search gives at position `indice` (from 0) of its values.
struct Parametro {
    std::size_t indice;
};

enum class Operatore { Uguale, Diverso, Minore, Maggiore, MinoreUguale, MaggioreUguale };

// One side of a comparison: a field of the record, a constant or a parameter.
// A constant is a text (Windows-1252), a whole number or any value.
struct Termine {
    enum class Genere : std::uint8_t { Campo, Costante, Parametro };

    Termine(const Campo& campo) : genere(Genere::Campo), campo(campo.Nome()) {}
    Termine(Parametro parametro) : genere(Genere::Parametro), parametro(parametro.indice) {}
    Termine(Valore valore) : genere(Genere::Costante), costante(std::move(valore)) {}
    Termine(std::string_view testo) : Termine(Valore::Testo(testo)) {}
    Termine(const std::string& testo) : Termine(Valore::Testo(testo)) {}
    Termine(const char* testo) : Termine(Valore::Testo(testo)) {}
    Termine(std::int64_t numero) : Termine(Valore::Intero(numero)) {}
    Termine(int numero) : Termine(Valore::Intero(numero)) {}

    Genere genere;
    std::string campo;          // Campo: its name
    Valore costante;            // Costante
    std::size_t parametro = 0;  // Parametro: its position among the search's values
};

struct Selezione;

// A criterion's form: a tree of tests, shared and never changed once built,
// so that copies are cheap and a store may keep what it has prepared for it.
// An empty form is no test: every record meets it; joined to another form,
// or negated, it leaves things as they are.
class Forma {
public:
    struct Nodo;

    Forma() = default;
    explicit Forma(std::shared_ptr<const Nodo> nodo) : nodo_(std::move(nodo)) {}

    bool Vuota() const { return !nodo_; }
    const Nodo& Radice() const { return *nodo_; }
    // Identity of the tree, the same for all copies of this form.
    const void* Identita() const { return nodo_.get(); }
    // How many values a search with this form gives: one more than its highest parameter.
    std::size_t Parametri() const;

    friend Forma operator&&(const Forma& a, const Forma& b);
    friend Forma operator||(const Forma& a, const Forma& b);
    friend Forma operator!(const Forma& a);

private:
    std::shared_ptr<const Nodo> nodo_;
};

struct Forma::Nodo {
    enum class Tipo : std::uint8_t { Confronto, E, O, Non, In, Nullo };
    Tipo tipo = Tipo::Confronto;
    Operatore operatore = Operatore::Uguale;       // Confronto
    Termine sinistro = Valore();                   // Confronto, In, Nullo
    Termine destro = Valore();                     // Confronto
    Forma primo, secondo;                          // E, O, Non (primo)
    std::vector<Valore> elenco;                    // In (v1, v2, ...)
    std::shared_ptr<const Selezione> sottoquery;   // In (Select F From T ...)
    bool negata = false;                           // Not In, Is Not Null
    std::size_t parametri = 0;                     // see Forma::Parametri
};

// Comparisons of a field with a value, another field or a parameter. Texts
// compare without regard to case, numbers by value; a comparison with Null
// is neither true nor false.
Forma operator==(const Campo& campo, Termine valore);
Forma operator!=(const Campo& campo, Termine valore);
Forma operator<(const Campo& campo, Termine valore);
Forma operator>(const Campo& campo, Termine valore);
Forma operator<=(const Campo& campo, Termine valore);
Forma operator>=(const Campo& campo, Termine valore);

// The field's value is among `valori`, or among the values of the one field
// of the record set `sottoquery` (`In (Select F From T In 'X.mdb' Where ...)`).
Forma In(const Campo& campo, std::vector<Valore> valori);
Forma In(const Campo& campo, Selezione sottoquery);
Forma NonIn(const Campo& campo, std::vector<Valore> valori);
Forma IsNull(const Campo& campo);
Forma IsNotNull(const Campo& campo);

// A criterion for one search: its form with the values of its parameters,
// in order. A form with no parameters is a criterion by itself.
struct Criterio {
    Criterio() = default;
    Criterio(Forma forma_, std::vector<Valore> valori_ = {}) : forma(std::move(forma_)), valori(std::move(valori_)) {}

    Forma forma;
    std::vector<Valore> valori;
};

// A sort field of a record set: Null first, texts without regard to case,
// equal keys in their present order.
struct Ordine {
    Ordine(Campo campo_, bool discendente_ = false) : campo(std::move(campo_)), discendente(discendente_) {}

    Campo campo;
    bool discendente;
};

// The opening of a record set: the records of a table the filter finds, in
// the order of the sort fields. The fields read are those of `campi`, of the
// filter, of the order and of the criteria the records are searched with;
// every one must be a field of the table (Errore 3265 at the opening). With
// no `campi` every field of the table is read. The fields of `facoltativi`
// are read too when the table has them, and left out without an error when
// it has not (Recordset::HaCampo tells). A Selezione inside an In test (a
// subquery) gives the values of its one field of `campi`.
struct Selezione {
    std::string tabella = {};
    std::vector<Campo> campi = {};
    Criterio filtro = {};
    std::vector<Ordine> ordine = {};
    std::string file = {};             // the table's database file, in the same folder; empty: the database's own
    std::vector<Forma> ricerche = {};  // the forms the record set is searched with
    std::vector<Campo> facoltativi = {};  // fields read when the table has them
};

// Adds to `campi` the names of the fields the form reads; not those its
// subqueries read in their own tables.
void CampiNominati(const Forma& forma, std::vector<std::string>& campi);
