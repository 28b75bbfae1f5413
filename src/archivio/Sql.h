#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "archivio/Criterio.h"
#include "archivio/Valore.h"

// The query texts the program hands to the store, as syntax trees: search
// criteria, the Select statements of the record sets and sort texts. Names are
// kept as written; they are matched to the columns of a table afterwards.
namespace sql {

enum class Operatore { Uguale, Diverso, Minore, Maggiore, MinoreUguale, MaggioreUguale };

// A value inside an expression: a field of the record or a constant.
struct Termine {
    bool campo = false;
    std::string nome;  // field name as written, without brackets
    Valore costante;   // a text, a number or Null
    int colonna = -1;  // the field's column, once matched to a table
};

struct Selezione;

// The values an In test compares against, with what a quick lookup needs.
struct Insieme {
    std::vector<Valore> valori;
    std::unordered_set<std::string> chiavi;  // lookup keys of the non-Null values
    bool haTesti = false;
    bool haNumeri = false;
    bool haNulli = false;
};

struct Espressione {
    enum class Tipo { Confronto, E, O, Non, In, Nullo };
    Tipo tipo = Tipo::Confronto;
    Operatore operatore = Operatore::Uguale;  // Confronto
    Termine sinistro;                         // Confronto, In, Nullo
    Termine destro;                           // Confronto
    std::unique_ptr<Espressione> primo;       // E, O, Non
    std::unique_ptr<Espressione> secondo;     // E, O
    std::vector<Termine> elenco;              // In (v1, v2, ...)
    std::unique_ptr<Selezione> sottoquery;    // In (Select ...)
    bool negata = false;                      // Not In, Is Not Null
    Insieme insieme;                          // In: filled when matched to a table
    int altezza = 1;                          // levels of the tree from here down
};

struct Ordine {
    std::string campo;
    bool discendente = false;
};

// Select <campo or *> From <tabella> [In '<file>'] [Where ...] [Order By ...]
struct Selezione {
    std::string campo;  // "*" for every field
    std::string tabella;
    std::string file;   // the other database file of an In clause; empty for this one
    std::unique_ptr<Espressione> filtro;
    std::vector<Ordine> ordine;
};

// True when the text is a Select statement rather than a table name.
bool ESelect(std::string_view testo);

// Each throws Errore: 3075 for a faulty expression, 3000 for the rest of a statement.
Selezione AnalizzaSelect(std::string_view testo);
std::unique_ptr<Espressione> AnalizzaCriterio(std::string_view testo);
std::vector<Ordine> AnalizzaOrdinamento(std::string_view testo);

// A criterion text, a Select statement and a sort text as the store's own values.
Forma FormaDelTesto(std::string_view testo);
::Selezione SelezioneDelTesto(std::string_view testo);
std::vector<::Ordine> OrdineDelTesto(std::string_view testo);

}  // namespace sql
