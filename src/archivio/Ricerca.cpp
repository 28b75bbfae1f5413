#include "archivio/Ricerca.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// The constants of a criterion without In tests, in the order written.
void CostantiScritte(sql::Espressione& e, std::vector<sql::Termine*>& costanti) {
    using Tipo = sql::Espressione::Tipo;
    for (sql::Termine* termine : {&e.sinistro, &e.destro})
        if (!termine->campo && (e.tipo == Tipo::Confronto || (e.tipo == Tipo::Nullo && termine == &e.sinistro)))
            costanti.push_back(termine);
    if (e.primo) CostantiScritte(*e.primo, costanti);
    if (e.secondo) CostantiScritte(*e.secondo, costanti);
}

// Key of several values at once: each value's key preceded by its length.
void AggiungiChiaveComposta(std::string& composta, const Valore& v) {
    const std::size_t dove = composta.size();
    composta.append(sizeof(std::uint32_t), '\0');
    AggiungiChiave(composta, v);
    const auto lunghezza = static_cast<std::uint32_t>(composta.size() - dove - sizeof(std::uint32_t));
    std::memcpy(composta.data() + dove, &lunghezza, sizeof lunghezza);
}

}  // namespace

Ricerca::Ricerca(const Tabella& tabella, const std::vector<std::uint32_t>& righe, EseguiSottoquery esegui, Modo modo)
    : tabella_(tabella), righe_(righe), esegui_(std::move(esegui)), modo_(modo) {}

Ricerca::~Ricerca() = default;

std::optional<std::size_t> Ricerca::Trova(const std::string& testo, std::size_t da) {
    Criterio& criterio = Prepara(testo);
    // Every candidate before `esaminati` has been tested: a record found
    // among them from `da` on is the first one there.
    const auto noto = std::lower_bound(criterio.trovati.begin(), criterio.trovati.end(), da);
    if (noto != criterio.trovati.end()) return *noto;
    std::size_t k = PrimoCandidato(criterio, da);
    // A search that starts beyond the candidates tested leaves them as they are.
    const bool seguito = k <= criterio.esaminati;
    if (seguito) k = criterio.esaminati;
    const std::size_t n = NumeroCandidati(criterio);
    if (k >= n) return std::nullopt;
    MettiInPosto(criterio);
    const sql::Espressione& espressione = *criterio.forma->espressione;
    for (; k < n; ++k) {
        const std::uint32_t posizione = criterio.candidati ? (*criterio.candidati)[k] : static_cast<std::uint32_t>(k);
        const bool vero = Valuta(espressione, Riga(posizione)) == Logico::Vero;
        if (seguito) criterio.esaminati = k + 1;
        if (!vero) continue;
        if (seguito) criterio.trovati.push_back(posizione);
        return posizione;
    }
    return std::nullopt;
}

void Ricerca::DimenticaCriteri() {
    ultimo_ = nullptr;
    // No form keeps the constants of a criterion let go as its own: a new
    // criterion may take its place in memory.
    for (auto& [chiave, forma] : forme_) forma->inPosto = nullptr;
    criteri_ = decltype(criteri_)(&memoria_);
    memoria_.release();
}

std::size_t Ricerca::NumeroCandidati(const Criterio& criterio) const {
    return criterio.candidati ? criterio.candidati->size() : righe_.size();
}

// The first candidate at position `da` or after it.
std::size_t Ricerca::PrimoCandidato(const Criterio& criterio, std::size_t da) const {
    if (!criterio.candidati) return std::min(da, righe_.size());
    const auto& candidati = *criterio.candidati;
    return static_cast<std::size_t>(std::lower_bound(candidati.begin(), candidati.end(), da) - candidati.begin());
}

// The criterion of the text, read on first use. A walk asks for one
// criterion several times in a row: it is found without a lookup.
Ricerca::Criterio& Ricerca::Prepara(const std::string& testo) {
    if (ultimo_ && std::string_view(ultimo_->first) == testo) return ultimo_->second;
    auto voce = criteri_.find(std::string_view(testo));
    if (voce == criteri_.end()) {
        if (criteri_.size() >= kMassimoCriteri) DimenticaCriteri();
        voce = criteri_
                   .emplace(std::piecewise_construct, std::forward_as_tuple(testo), std::forward_as_tuple(&memoria_))
                   .first;
        try {
            Leggi(voce->second, testo);
        } catch (...) {
            criteri_.erase(voce);
            throw;
        }
    }
    ultimo_ = &*voce;
    return voce->second;
}

void Ricerca::Leggi(Criterio& criterio, const std::string& testo) {
    // The builder reads many criteria of a few forms: a text cut as one of
    // the forms read takes it without being split, the form read last tried first.
    for (auto forma = sagomate_.begin(); forma != sagomate_.end(); ++forma) {
        if (auto costanti = sql::CostantiSecondo(*(*forma)->sagoma, testo)) {
            std::rotate(sagomate_.begin(), forma, forma + 1);
            Leggi(criterio, *sagomate_.front(), std::move(*costanti));
            return;
        }
    }
    auto scomposto = sql::ScomponiCriterio(testo);
    // A criterion that does not split has a form of its own: its text. A
    // split form begins with a word's kind, a byte below any letter, so it
    // never meets such a "T" key.
    std::string chiave = scomposto ? std::move(scomposto->forma) : "T" + testo;
    auto forma = forme_.find(chiave);
    if (forma == forme_.end()) {
        auto letta = LeggiForma(testo);
        if (scomposto && letta->costanti.size() != scomposto->costanti.size()) {
            chiave = "T" + testo;
            scomposto.reset();
        }
        if (scomposto) letta->sagoma = std::move(scomposto->sagoma);
        forma = forme_.insert_or_assign(chiave, std::move(letta)).first;
        if (forma->second->sagoma) sagomate_.insert(sagomate_.begin(), forma->second.get());
    }
    Leggi(criterio, *forma->second, scomposto ? std::move(scomposto->costanti) : std::vector<Valore>());
}

// The criterion of `forma` with these constants, and the records its index offers it.
void Ricerca::Leggi(Criterio& criterio, Forma& forma, std::vector<Valore> costanti) {
    criterio.forma = &forma;
    criterio.costanti.assign(std::make_move_iterator(costanti.begin()), std::make_move_iterator(costanti.end()));
    MettiInPosto(criterio);
    if (const Indice* indice = forma.indice) {
        std::string valori;
        for (const Valore* valore : forma.valoriChiave) AggiungiChiaveComposta(valori, *valore);
        static const std::vector<std::uint32_t> nessuno;
        const auto trovati = indice->find(valori);
        criterio.candidati = trovati == indice->end() ? &nessuno : &trovati->second;
    }
}

std::unique_ptr<Ricerca::Forma> Ricerca::LeggiForma(const std::string& testo) {
    auto forma = std::make_unique<Forma>();
    forma->espressione = sql::AnalizzaCriterio(testo);
    Lega(*forma->espressione, tabella_, esegui_);
    CostantiScritte(*forma->espressione, forma->costanti);
    if (modo_ == Modo::ConIndici) ScegliIndice(*forma);
    return forma;
}

void Ricerca::MettiInPosto(const Criterio& criterio) {
    Forma& forma = *criterio.forma;
    if (forma.inPosto == &criterio) return;
    for (std::size_t i = 0; i < criterio.costanti.size(); ++i) forma.costanti[i]->costante = criterio.costanti[i];
    forma.inPosto = &criterio;
}

// Takes the index on the fields the criterion requires to equal a constant.
// A field is left out when its values are of the other kind than the constant
// (text against number): such a test needs the conversion a full test makes.
void Ricerca::ScegliIndice(Forma& forma) {
    std::map<int, const Valore*> uguaglianze;
    Uguaglianze(*forma.espressione, uguaglianze);
    std::vector<int> colonne;
    for (const auto& [colonna, costante] : uguaglianze) {
        const Genere& genere = GenereDi(colonna);
        if (ENumero(*costante) ? genere.testi : genere.numeri) continue;
        colonne.push_back(colonna);
        forma.valoriChiave.push_back(costante);
    }
    if (!colonne.empty()) forma.indice = &IndiceSu(colonne);
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
