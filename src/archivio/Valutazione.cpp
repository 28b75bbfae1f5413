#include "archivio/Valutazione.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace {

// Upper case of every Windows-1252 byte, so that texts compare folded without
// building folded copies record after record.
const std::array<unsigned char, 256>& TabellaMaiuscole() {
    static const std::array<unsigned char, 256> tabella = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(Maiuscola(static_cast<char>(b)));
        return t;
    }();
    return tabella;
}

int ConfrontaTesti(std::string_view a, std::string_view b) {
    const auto& maiuscole = TabellaMaiuscole();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = maiuscole[static_cast<unsigned char>(a[i])];
        const unsigned char y = maiuscole[static_cast<unsigned char>(b[i])];
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int ConfrontaNumeri(double a, double b) { return (a > b) - (a < b); }

double NumeroPerConfronto(const Valore& v) {
    if (!v.IsTesto()) return v.Numero();
    if (const auto x = NumeroDelTesto(v.TestoMemorizzato())) return *x;
    throw Errore(NumeroErrore::TipiNonCorrispondenti,
                 "Tipo di dati non corrispondente nell'espressione criterio ('" + Cp1252ToUtf8(v.Testo()) +
                     "' non \xC3\xA8 un numero).");
}

bool Soddisfa(Operatore op, int confronto) {
    switch (op) {
        case Operatore::Uguale: return confronto == 0;
        case Operatore::Diverso: return confronto != 0;
        case Operatore::Minore: return confronto < 0;
        case Operatore::Maggiore: return confronto > 0;
        case Operatore::MinoreUguale: return confronto <= 0;
        case Operatore::MaggioreUguale: return confronto >= 0;
    }
    return false;
}

const Valore& Operando(const TermineLegato& t, const Record& record, std::span<const Valore> valori) {
    switch (t.genere) {
        case Termine::Genere::Campo: return record[static_cast<std::size_t>(t.colonna)];
        case Termine::Genere::Parametro: return valori[t.parametro];
        case Termine::Genere::Costante: break;
    }
    return t.costante;
}

Logico Non(Logico x) {
    if (x == Logico::Nullo) return x;
    return x == Logico::Vero ? Logico::Falso : Logico::Vero;
}

// Whether a value is among the values of an In test. Without a match, a Null
// among them makes the answer unknown rather than false.
Logico Appartiene(const Valore& v, const Insieme& insieme) {
    if (v.IsNull()) return Logico::Nullo;
    const bool stessoGenere = ENumero(v) ? !insieme.haTesti : !insieme.haNumeri;
    if (stessoGenere) {
        if (insieme.chiavi.count(Chiave(v))) return Logico::Vero;
    } else {
        for (const auto& w : insieme.valori)
            if (Confronta(v, w) == 0) return Logico::Vero;
    }
    return insieme.haNulli ? Logico::Nullo : Logico::Falso;
}

void RiempiInsieme(Insieme& insieme) {
    for (const auto& v : insieme.valori) {
        if (v.IsNull()) {
            insieme.haNulli = true;
            continue;
        }
        (ENumero(v) ? insieme.haNumeri : insieme.haTesti) = true;
        insieme.chiavi.insert(Chiave(v));
    }
}

TermineLegato LegaTermine(const Termine& t, const Tabella& tabella) {
    TermineLegato legato{t.genere, -1, t.parametro, t.costante};
    if (t.genere == Termine::Genere::Campo) legato.colonna = Colonna(tabella, t.campo);
    return legato;
}

// One sort field of one record, ready for comparing: Null, then numbers, then texts.
struct ChiaveOrdine {
    int classe = 0;
    double numero = 0;
    std::string_view testo;
};

ChiaveOrdine ChiaveDiOrdine(const Valore& v) {
    if (v.IsNull()) return {};
    if (ENumero(v)) return {1, v.Numero(), {}};
    return {2, 0, v.TestoMemorizzato()};
}

int ConfrontaChiavi(const ChiaveOrdine& a, const ChiaveOrdine& b) {
    if (a.classe != b.classe) return a.classe < b.classe ? -1 : 1;
    if (a.classe == 1) return ConfrontaNumeri(a.numero, b.numero);
    if (a.classe == 2) return ConfrontaTesti(a.testo, b.testo);
    return 0;
}

}  // namespace

bool ENumero(const Valore& v) { return !v.IsNull() && !v.IsTesto(); }

std::optional<int> Confronta(const Valore& a, const Valore& b) {
    if (a.IsNull() || b.IsNull()) return std::nullopt;
    if (a.IsTesto() && b.IsTesto()) return ConfrontaTesti(a.TestoMemorizzato(), b.TestoMemorizzato());
    return ConfrontaNumeri(NumeroPerConfronto(a), NumeroPerConfronto(b));
}

void AggiungiChiave(std::string& destinazione, const Valore& v) {
    if (v.IsTesto()) {
        const auto& maiuscole = TabellaMaiuscole();
        const std::string_view testo = v.TestoMemorizzato();
        destinazione += 'T';
        std::transform(testo.begin(), testo.end(), std::back_inserter(destinazione),
                       [&maiuscole](char c) { return static_cast<char>(maiuscole[static_cast<unsigned char>(c)]); });
        return;
    }
    const double x = v.Numero() + 0.0;  // -0 and 0 share a key
    destinazione += 'N';
    destinazione.append(reinterpret_cast<const char*>(&x), sizeof x);
}

std::string Chiave(const Valore& v) {
    std::string chiave;
    AggiungiChiave(chiave, v);
    return chiave;
}

int Colonna(const Tabella& tabella, std::string_view campo) {
    const int colonna = tabella.IndiceColonna(campo);
    if (colonna < 0)
        throw Errore(NumeroErrore::CampoNonTrovato, "Elemento non trovato in questo insieme (campo '" +
                                                        Cp1252ToUtf8(campo) + "' della tabella '" +
                                                        Cp1252ToUtf8(tabella.nome) + "').");
    return colonna;
}

EspressioneLegata Lega(const Forma& forma, const Tabella& tabella, const EseguiSottoquery& esegui) {
    using Tipo = Forma::Nodo::Tipo;
    const Forma::Nodo& nodo = forma.Radice();
    EspressioneLegata e;
    e.tipo = nodo.tipo;
    e.operatore = nodo.operatore;
    e.negata = nodo.negata;
    switch (nodo.tipo) {
        case Tipo::E:
        case Tipo::O:
            e.primo = std::make_unique<EspressioneLegata>(Lega(nodo.primo, tabella, esegui));
            e.secondo = std::make_unique<EspressioneLegata>(Lega(nodo.secondo, tabella, esegui));
            break;
        case Tipo::Non:
            e.primo = std::make_unique<EspressioneLegata>(Lega(nodo.primo, tabella, esegui));
            break;
        case Tipo::Confronto:
            e.sinistro = LegaTermine(nodo.sinistro, tabella);
            e.destro = LegaTermine(nodo.destro, tabella);
            break;
        case Tipo::Nullo:
            e.sinistro = LegaTermine(nodo.sinistro, tabella);
            break;
        case Tipo::In:
            e.sinistro = LegaTermine(nodo.sinistro, tabella);
            e.insieme.valori = nodo.sottoquery ? esegui(*nodo.sottoquery) : nodo.elenco;
            RiempiInsieme(e.insieme);
            break;
    }
    return e;
}

void ControllaValori(const Forma& forma, std::span<const Valore> valori) {
    const std::size_t attesi = forma.Vuota() ? 0 : forma.Parametri();
    if (valori.size() != attesi)
        throw Errore(NumeroErrore::ParametriInsufficienti,
                     "Il criterio attende " + std::to_string(attesi) + " valori, la ricerca ne d\xC3\xA0 " +
                         std::to_string(valori.size()) + ".");
}

Logico Valuta(const EspressioneLegata& e, const Record& record, std::span<const Valore> valori) {
    using Tipo = Forma::Nodo::Tipo;
    switch (e.tipo) {
        case Tipo::Confronto: {
            const auto c = Confronta(Operando(e.sinistro, record, valori), Operando(e.destro, record, valori));
            if (!c) return Logico::Nullo;
            return Soddisfa(e.operatore, *c) ? Logico::Vero : Logico::Falso;
        }
        case Tipo::E: {
            const Logico a = Valuta(*e.primo, record, valori);
            if (a == Logico::Falso) return a;
            const Logico b = Valuta(*e.secondo, record, valori);
            if (b == Logico::Falso) return b;
            return a == Logico::Vero && b == Logico::Vero ? Logico::Vero : Logico::Nullo;
        }
        case Tipo::O: {
            const Logico a = Valuta(*e.primo, record, valori);
            if (a == Logico::Vero) return a;
            const Logico b = Valuta(*e.secondo, record, valori);
            if (b == Logico::Vero) return b;
            return a == Logico::Falso && b == Logico::Falso ? Logico::Falso : Logico::Nullo;
        }
        case Tipo::Non:
            return Non(Valuta(*e.primo, record, valori));
        case Tipo::Nullo:
            return Operando(e.sinistro, record, valori).IsNull() != e.negata ? Logico::Vero : Logico::Falso;
        case Tipo::In: {
            const Logico dentro = Appartiene(Operando(e.sinistro, record, valori), e.insieme);
            return e.negata ? Non(dentro) : dentro;
        }
    }
    return Logico::Nullo;
}

void Ordina(std::vector<std::uint32_t>& righe, const Tabella& tabella, const std::vector<Ordine>& ordine) {
    if (ordine.empty()) return;
    std::vector<int> colonne;
    for (const auto& o : ordine) colonne.push_back(Colonna(tabella, o.campo.Nome()));

    // Keys taken once per record: the comparisons then read them in place.
    const std::size_t n = righe.size();
    const std::size_t campi = colonne.size();
    std::vector<ChiaveOrdine> chiavi(n * campi);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < campi; ++k)
            chiavi[i * campi + k] = ChiaveDiOrdine(tabella.righe[righe[i]][static_cast<std::size_t>(colonne[k])]);

    std::vector<std::size_t> posti(n);
    for (std::size_t i = 0; i < n; ++i) posti[i] = i;
    std::stable_sort(posti.begin(), posti.end(), [&](std::size_t a, std::size_t b) {
        for (std::size_t k = 0; k < campi; ++k) {
            const int c = ConfrontaChiavi(chiavi[a * campi + k], chiavi[b * campi + k]);
            if (c != 0) return ordine[k].discendente ? c > 0 : c < 0;
        }
        return false;
    });
    std::vector<std::uint32_t> ordinate;
    ordinate.reserve(n);
    for (std::size_t p : posti) ordinate.push_back(righe[p]);
    righe = std::move(ordinate);
}
