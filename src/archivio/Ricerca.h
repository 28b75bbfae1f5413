#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "archivio/Criterio.h"
#include "archivio/Valutazione.h"

// The searches of one record set (FindFirst, FindNext). Each criterion's form
// is matched to the table once, when first searched with, and kept: the
// searches that give it other values (another room, another day) find it
// ready. A form that requires, at its top level, fields to equal values
// (NumeroHotel = 1 and NumeroCamera = a room) is answered from a hash index
// on those fields, built on first use: only the records with the values
// searched for are then tested. Any other criterion tests the records in turn.
class Ricerca {
public:
    enum class Modo { ConIndici, Scansione };

    // `righe` are the positions, in `tabella`, of the record set's records in
    // its order; both must outlive the search.
    Ricerca(const Tabella& tabella, const std::vector<std::uint32_t>& righe, EseguiSottoquery esegui,
            Modo modo = Modo::ConIndici);
    ~Ricerca();

    // Position in the record set of the first record, from position `da` on,
    // for which the criterion is true. Throws Errore 3061, 3265, 3464.
    std::optional<std::size_t> Trova(const Criterio& criterio, std::size_t da);

    // The forms kept: one that builds its forms anew for each search would
    // otherwise pile them up. Past this many they are let go, the indexes stay.
    static constexpr std::size_t kMassimeForme = 256;

private:
    // Record positions in the record set by the lookup key of the indexed fields.
    using Indice = std::unordered_map<std::string, std::vector<std::uint32_t>>;

    // A form matched to the table, with its top-level tests of a field
    // against a value (one per field, the first written), by column.
    struct Legata {
        EspressioneLegata espressione;
        std::vector<std::pair<int, const TermineLegato*>> uguaglianze;
    };
    struct Voce {
        Forma forma;  // kept alive: its identity keys the entry
        std::unique_ptr<Legata> legata;
    };

    // Which kinds of value a column holds in this record set.
    struct Genere {
        bool testi = false;
        bool numeri = false;
    };

    const Legata& LegataDi(const Forma& forma);
    const std::vector<std::uint32_t>* Candidati(const Legata& legata, std::span<const Valore> valori);
    const Indice& IndiceSu(const std::vector<int>& colonne);
    const Genere& GenereDi(int colonna);
    const Record& Riga(std::size_t posizione) const { return tabella_.righe[righe_[posizione]]; }

    const Tabella& tabella_;
    const std::vector<std::uint32_t>& righe_;
    EseguiSottoquery esegui_;
    Modo modo_;
    std::unordered_map<const void*, Voce> legate_;  // by the form's identity
    const Voce* ultima_ = nullptr;                  // the form searched with last
    std::map<std::vector<int>, Indice> indici_;
    std::map<int, Genere> generi_;
    // The columns and key of the search at hand, kept to reuse their memory.
    std::vector<int> colonne_;
    std::string chiave_;
};
