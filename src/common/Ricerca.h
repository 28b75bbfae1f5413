#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/Valutazione.h"

// The searches of one record set (FindFirst, FindNext). Each criterion text is
// read once. A criterion that requires, at its top level, fields to equal
// constants ("NumeroHotel = 1 and NumeroCamera = '12'") is answered from a
// hash index on those fields, built on first use: only the records with the
// right values are then tested. Any other criterion tests the records in turn.
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

private:
    // Record positions in the record set by the lookup key of the indexed fields.
    using Indice = std::unordered_map<std::string, std::vector<std::uint32_t>>;

    struct Criterio {
        std::unique_ptr<sql::Espressione> espressione;
        const Indice* indice = nullptr;  // null: the criterion is answered by testing every record
        std::string chiave;              // the constants' key in `indice`
    };

    // Which kinds of value a column holds in this record set.
    struct Genere {
        bool testi = false;
        bool numeri = false;
    };

    Criterio& Prepara(const std::string& testo);
    void ScegliIndice(Criterio& criterio);
    const Indice& IndiceSu(const std::vector<int>& colonne);
    const Genere& GenereDi(int colonna);
    const Record& Riga(std::size_t posizione) const { return tabella_.righe[righe_[posizione]]; }

    const Tabella& tabella_;
    const std::vector<std::uint32_t>& righe_;
    EseguiSottoquery esegui_;
    Modo modo_;
    std::unordered_map<std::string, Criterio> criteri_;
    std::map<std::vector<int>, Indice> indici_;
    std::map<int, Genere> generi_;
};
