#include "common/Ricerca.h"

#include <algorithm>

namespace {

// Gathers the `field = constant` tests that the whole criterion requires: those
// joined to it by And alone. One constant per field (the first one written).
void Uguaglianze(const sql::Espressione& e, std::map<int, const Valore*>& trovate) {
    using Tipo = sql::Espressione::Tipo;
    if (e.tipo == Tipo::E) {
        Uguaglianze(*e.primo, trovate);
        Uguaglianze(*e.secondo, trovate);
        return;
    }
    if (e.tipo != Tipo::Confronto || e.operatore != sql::Operatore::Uguale) return;
    const sql::Termine* campo = &e.sinistro;
    const sql::Termine* costante = &e.destro;
    if (!campo->campo) std::swap(campo, costante);
    if (campo->campo && !costante->campo && !costante->costante.IsNull())
        trovate.emplace(campo->colonna, &costante->costante);
}

// Key of several values at once: each value's key preceded by its length.
void AggiungiChiave(std::string& composta, const Valore& v) {
    const std::string chiave = Chiave(v);
    const auto lunghezza = static_cast<std::uint32_t>(chiave.size());
    composta.append(reinterpret_cast<const char*>(&lunghezza), sizeof lunghezza);
    composta += chiave;
}

}  // namespace

Ricerca::Ricerca(const Tabella& tabella, const std::vector<std::uint32_t>& righe, EseguiSottoquery esegui, Modo modo)
    : tabella_(tabella), righe_(righe), esegui_(std::move(esegui)), modo_(modo) {}

Ricerca::~Ricerca() = default;

std::optional<std::size_t> Ricerca::Trova(const std::string& testo, std::size_t da) {
    const Criterio& criterio = Prepara(testo);
    const auto vero = [&](std::size_t posizione) {
        return Valuta(*criterio.espressione, Riga(posizione)) == Logico::Vero;
    };
    if (!criterio.indice) {
        for (std::size_t posizione = da; posizione < righe_.size(); ++posizione)
            if (vero(posizione)) return posizione;
        return std::nullopt;
    }
    const auto trovati = criterio.indice->find(criterio.chiave);
    if (trovati == criterio.indice->end()) return std::nullopt;
    const auto& candidati = trovati->second;
    for (auto it = std::lower_bound(candidati.begin(), candidati.end(), da); it != candidati.end(); ++it)
        if (vero(*it)) return *it;
    return std::nullopt;
}

Ricerca::Criterio& Ricerca::Prepara(const std::string& testo) {
    if (const auto trovato = criteri_.find(testo); trovato != criteri_.end()) return trovato->second;
    Criterio criterio;
    criterio.espressione = sql::AnalizzaCriterio(testo);
    Lega(*criterio.espressione, tabella_, esegui_);
    if (modo_ == Modo::ConIndici) ScegliIndice(criterio);
    return criteri_.emplace(testo, std::move(criterio)).first->second;
}

// Takes the index on the fields the criterion requires to equal a constant.
// A field is left out when its values are of the other kind than the constant
// (text against number): such a test needs the conversion a full test makes.
void Ricerca::ScegliIndice(Criterio& criterio) {
    std::map<int, const Valore*> uguaglianze;
    Uguaglianze(*criterio.espressione, uguaglianze);
    std::vector<int> colonne;
    for (const auto& [colonna, costante] : uguaglianze) {
        const Genere& genere = GenereDi(colonna);
        if (ENumero(*costante) ? genere.testi : genere.numeri) continue;
        colonne.push_back(colonna);
        AggiungiChiave(criterio.chiave, *costante);
    }
    if (!colonne.empty()) criterio.indice = &IndiceSu(colonne);
}

// Records with Null in any of the fields are left out: Null equals nothing.
const Ricerca::Indice& Ricerca::IndiceSu(const std::vector<int>& colonne) {
    if (const auto trovato = indici_.find(colonne); trovato != indici_.end()) return trovato->second;
    Indice indice;
    for (std::size_t posizione = 0; posizione < righe_.size(); ++posizione) {
        const Record& record = Riga(posizione);
        std::string chiave;
        bool nullo = false;
        for (int colonna : colonne) {
            const Valore& v = record[static_cast<std::size_t>(colonna)];
            if (v.IsNull()) {
                nullo = true;
                break;
            }
            AggiungiChiave(chiave, v);
        }
        if (!nullo) indice[chiave].push_back(static_cast<std::uint32_t>(posizione));
    }
    return indici_.emplace(colonne, std::move(indice)).first->second;
}

const Ricerca::Genere& Ricerca::GenereDi(int colonna) {
    if (const auto trovato = generi_.find(colonna); trovato != generi_.end()) return trovato->second;
    Genere genere;
    for (std::size_t posizione = 0; posizione < righe_.size(); ++posizione) {
        const Valore& v = Riga(posizione)[static_cast<std::size_t>(colonna)];
        if (v.IsNull()) continue;
        (ENumero(v) ? genere.numeri : genere.testi) = true;
    }
    return generi_.emplace(colonna, genere).first->second;
}
