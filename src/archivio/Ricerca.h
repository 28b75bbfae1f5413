#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archivio/Valutazione.h"

// The searches of one record set (FindFirst, FindNext). Criteria that differ
// only in their texts and numbers ("NumeroCamera = '101'", "NumeroCamera =
// '102'") share one reading: each form is read once, and a criterion puts
// its constants in place before it is tested. A criterion that requires, at
// its top level, fields to equal constants ("NumeroHotel = 1 and
// NumeroCamera = '12'") is answered from a hash index on those fields, built
// on first use: only the records with the right values are then tested. Any
// other criterion tests the records in turn. The records a criterion has
// found are remembered: a walk made again with the same criterion tests none.
class Ricerca {
public:
    enum class Modo { ConIndici, Scansione };

    // `righe` are the positions, in `tabella`, of the record set's records in
    // its order; both must outlive the search.
    Ricerca(const Tabella& tabella, const std::vector<std::uint32_t>& righe, EseguiSottoquery esegui,
            Modo modo = Modo::ConIndici);
    ~Ricerca();

    // Position in the record set of the first record, from position `da` on,
    // for which the criterion is true. Throws Errore 3075, 3265, 3464.
    std::optional<std::size_t> Trova(const std::string& criterio, std::size_t da);

    // Lets go the criteria read so far, with what they found, keeping the
    // forms and indexes. Done by itself when a record set has read
    // kMassimoCriteri: one kept from a week's build to the next searches each
    // week with criteria of its own, which would otherwise pile up.
    void DimenticaCriteri();
    static constexpr std::size_t kMassimoCriteri = 16384;

private:
    // Record positions in the record set by the lookup key of the indexed fields.
    using Indice = std::unordered_map<std::string, std::vector<std::uint32_t>>;

    struct Criterio;

    // A criterion's form: its syntax tree matched to the table, holding the
    // constants of the criterion that put them in place last, and the index
    // that answers it.
    struct Forma {
        std::unique_ptr<sql::Espressione> espressione;
        std::vector<sql::Termine*> costanti;      // in the order written
        const Indice* indice = nullptr;           // null: the criterion is answered by testing every record
        std::vector<const Valore*> valoriChiave;  // the constants that make the key in `indice`
        const Criterio* inPosto = nullptr;        // the criterion whose constants are in place
        std::optional<sql::Sagoma> sagoma;        // how the texts of this form are cut; none for a text's own form
    };

    // A criterion text: its form, its constants and what it has found.
    struct Criterio {
        explicit Criterio(std::pmr::memory_resource* memoria) : costanti(memoria), trovati(memoria) {}
        Forma* forma = nullptr;
        std::pmr::vector<Valore> costanti;
        // The positions it may be true at, from the form's index; null: every position.
        const std::vector<std::uint32_t>* candidati = nullptr;
        // The candidates tested so far, from the first on, and those found true among them.
        std::size_t esaminati = 0;
        std::pmr::vector<std::uint32_t> trovati;
    };

    // Which kinds of value a column holds in this record set.
    struct Genere {
        bool testi = false;
        bool numeri = false;
    };

    Criterio& Prepara(const std::string& testo);
    void Leggi(Criterio& criterio, const std::string& testo);
    void Leggi(Criterio& criterio, Forma& forma, std::vector<Valore> costanti);
    std::size_t NumeroCandidati(const Criterio& criterio) const;
    std::size_t PrimoCandidato(const Criterio& criterio, std::size_t da) const;
    std::unique_ptr<Forma> LeggiForma(const std::string& testo);
    void ScegliIndice(Forma& forma);
    static void MettiInPosto(const Criterio& criterio);
    const Indice& IndiceSu(const std::vector<int>& colonne);
    const Genere& GenereDi(int colonna);
    const Record& Riga(std::size_t posizione) const { return tabella_.righe[righe_[posizione]]; }

    const Tabella& tabella_;
    const std::vector<std::uint32_t>& righe_;
    EseguiSottoquery esegui_;
    Modo modo_;
    struct HashTesto {
        using is_transparent = void;
        std::size_t operator()(std::string_view testo) const { return std::hash<std::string_view>()(testo); }
    };
    // The criteria, by text: a week's searches read thousands, let go all
    // together. They take their memory in large blocks, given back at once.
    std::pmr::monotonic_buffer_resource memoria_;
    std::pmr::unordered_map<std::pmr::string, Criterio, HashTesto, std::equal_to<>> criteri_{&memoria_};
    std::pair<const std::pmr::string, Criterio>* ultimo_ = nullptr;  // the criterion asked for last
    std::unordered_map<std::string, std::unique_ptr<Forma>> forme_;  // by form
    std::vector<Forma*> sagomate_;  // the forms with a sagoma, the one of the criterion read last first
    std::map<std::vector<int>, Indice> indici_;
    std::map<int, Genere> generi_;
};
