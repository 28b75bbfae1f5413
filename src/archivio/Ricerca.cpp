#include "archivio/Ricerca.h"

#include <algorithm>
#include <cstring>

namespace {

using Tipo = Forma::Nodo::Tipo;

// Gathers the `field = value` tests that the whole criterion requires: those
// joined to it by And alone. One value per field (the first one written).
void Uguaglianze(const EspressioneLegata& e, std::map<int, const TermineLegato*>& trovate) {
    if (e.tipo == Tipo::E) {
        Uguaglianze(*e.primo, trovate);
        Uguaglianze(*e.secondo, trovate);
        return;
    }
    if (e.tipo != Tipo::Confronto || e.operatore != Operatore::Uguale) return;
    const TermineLegato* campo = &e.sinistro;
    const TermineLegato* valore = &e.destro;
    if (campo->genere != Termine::Genere::Campo) std::swap(campo, valore);
    if (campo->genere == Termine::Genere::Campo && valore->genere != Termine::Genere::Campo)
        trovate.emplace(campo->colonna, valore);
}

// Key of several values at once: each value's key preceded by its length.
void AggiungiChiaveComposta(std::string& composta, const Valore& v) {
    const std::size_t dove = composta.size();
    composta.append(sizeof(std::uint32_t), '\0');
    AggiungiChiave(composta, v);
    const auto lunghezza = static_cast<std::uint32_t>(composta.size() - dove - sizeof(std::uint32_t));
    std::memcpy(composta.data() + dove, &lunghezza, sizeof lunghezza);
}

const Valore& ValoreDi(const TermineLegato& termine, std::span<const Valore> valori) {
    return termine.genere == Termine::Genere::Parametro ? valori[termine.parametro] : termine.costante;
}

}  // namespace

Ricerca::Ricerca(const Tabella& tabella, const std::vector<std::uint32_t>& righe, EseguiSottoquery esegui, Modo modo)
    : tabella_(tabella), righe_(righe), esegui_(std::move(esegui)), modo_(modo) {}

Ricerca::~Ricerca() = default;

std::optional<std::size_t> Ricerca::Trova(const Criterio& criterio, std::size_t da) {
    ControllaValori(criterio.forma, criterio.valori);
    if (criterio.forma.Vuota()) return da < righe_.size() ? std::optional(da) : std::nullopt;
    const Legata& legata = LegataDi(criterio.forma);
    const std::span<const Valore> valori = criterio.valori;
    const auto vero = [&](std::size_t posizione) {
        return Valuta(legata.espressione, Riga(posizione), valori) == Logico::Vero;
    };
    if (const auto* candidati = Candidati(legata, valori)) {
        for (auto k = std::lower_bound(candidati->begin(), candidati->end(), da); k != candidati->end(); ++k)
            if (vero(*k)) return *k;
        return std::nullopt;
    }
    for (std::size_t k = da; k < righe_.size(); ++k)
        if (vero(k)) return k;
    return std::nullopt;
}

// The form matched to the table, on first use. A walk searches with one
// form several times in a row: it is found without a lookup.
const Ricerca::Legata& Ricerca::LegataDi(const Forma& forma) {
    if (ultima_ && ultima_->forma.Identita() == forma.Identita()) return *ultima_->legata;
    auto voce = legate_.find(forma.Identita());
    if (voce == legate_.end()) {
        auto legata = std::make_unique<Legata>(Legata{Lega(forma, tabella_, esegui_), {}});
        if (modo_ == Modo::ConIndici) {
            std::map<int, const TermineLegato*> uguaglianze;
            Uguaglianze(legata->espressione, uguaglianze);
            legata->uguaglianze.assign(uguaglianze.begin(), uguaglianze.end());
        }
        if (legate_.size() >= kMassimeForme) {
            ultima_ = nullptr;
            legate_.clear();
        }
        voce = legate_.emplace(forma.Identita(), Voce{forma, std::move(legata)}).first;
    }
    ultima_ = &voce->second;
    return *voce->second.legata;
}

// The records the index on the fields required equal to a value offers; null
// when none serves and every record is to be tested. A field is left out
// when the value is Null (it equals nothing: the test says so) or of the
// other kind than the field's values (text against number): such a test
// needs the conversion a full test makes.
const std::vector<std::uint32_t>* Ricerca::Candidati(const Legata& legata, std::span<const Valore> valori) {
    colonne_.clear();
    chiave_.clear();
    for (const auto& [colonna, termine] : legata.uguaglianze) {
        const Valore& valore = ValoreDi(*termine, valori);
        if (valore.IsNull()) continue;
        const Genere& genere = GenereDi(colonna);
        if (ENumero(valore) ? genere.testi : genere.numeri) continue;
        colonne_.push_back(colonna);
        AggiungiChiaveComposta(chiave_, valore);
    }
    if (colonne_.empty()) return nullptr;
    const Indice& indice = IndiceSu(colonne_);
    static const std::vector<std::uint32_t> nessuno;
    const auto trovati = indice.find(chiave_);
    return trovati == indice.end() ? &nessuno : &trovati->second;
}

// Records with Null in any of the fields are left out: Null equals nothing.
const Ricerca::Indice& Ricerca::IndiceSu(const std::vector<int>& colonne) {
    if (const auto trovato = indici_.find(colonne); trovato != indici_.end()) return trovato->second;
    Indice indice;
    indice.reserve(righe_.size());
    std::string chiave;
    for (std::size_t posizione = 0; posizione < righe_.size(); ++posizione) {
        const Record& record = Riga(posizione);
        chiave.clear();
        bool nullo = false;
        for (int colonna : colonne) {
            const Valore& v = record[static_cast<std::size_t>(colonna)];
            if (v.IsNull()) {
                nullo = true;
                break;
            }
            AggiungiChiaveComposta(chiave, v);
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
