#include "archivio/Sql.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace sql {

namespace {

enum class TipoToken { Nome, NomeTraParentesi, Testo, Numero, Simbolo, Invalido, Fine };

struct Token {
    TipoToken tipo;
    // The token as written: a name without its brackets, a text with its
    // quotes (see ValoreTesto), digits or a symbol.
    std::string_view testo;
};

bool Lettera(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}
bool Cifra(unsigned char c) { return c >= '0' && c <= '9'; }
bool Spazio(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Position after the quoted text from `i` (on the opening quote); a doubled
// quote stands for one. npos when the closing quote is missing.
std::size_t FineTesto(std::string_view t, std::size_t i) {
    const char quota = t[i++];
    while (true) {
        i = t.find(quota, i);
        if (i == std::string_view::npos) return i;
        if (i + 1 < t.size() && t[i + 1] == quota) {
            i += 2;
            continue;
        }
        return i + 1;
    }
}

// The value of a text token: without its quotes, a doubled quote as one.
std::string ValoreTesto(const Token& token) {
    const std::string_view dentro = token.testo.substr(1, token.testo.size() - 2);
    const char quota = token.testo.front();
    if (dentro.find(quota) == std::string_view::npos) return std::string(dentro);
    std::string valore;
    valore.reserve(dentro.size());
    for (std::size_t i = 0; i < dentro.size(); ++i) {
        valore += dentro[i];
        if (dentro[i] == quota) ++i;
    }
    return valore;
}

// The token that starts at `i` after any blanks, pointing into the text;
// `i` moves past it. An unreadable character or an unclosed quote or
// bracket gives an Invalido token, the end of the text a Fine token.
Token ProssimoToken(std::string_view t, std::size_t& i) {
    const auto c = [&t](std::size_t k) { return k < t.size() ? static_cast<unsigned char>(t[k]) : 0; };
    while (i < t.size() && Spazio(t[i])) ++i;
    if (i == t.size()) return {TipoToken::Fine, {}};
    const std::size_t inizio = i;
    if (Lettera(c(i))) {
        while (i < t.size() && (Lettera(c(i)) || Cifra(c(i)))) ++i;
        return {TipoToken::Nome, t.substr(inizio, i - inizio)};
    }
    if (Cifra(c(i)) || (c(i) == '.' && Cifra(c(i + 1)))) {
        while (Cifra(c(i))) ++i;
        if (c(i) == '.') ++i;
        while (Cifra(c(i))) ++i;
        return {TipoToken::Numero, t.substr(inizio, i - inizio)};
    }
    if (c(i) == '[') {
        const auto chiusa = t.find(']', i);
        if (chiusa == std::string_view::npos) return {TipoToken::Invalido, {}};
        i = chiusa + 1;
        return {TipoToken::NomeTraParentesi, t.substr(inizio + 1, chiusa - inizio - 1)};
    }
    if (c(i) == '\'' || c(i) == '"') {
        const std::size_t fine = FineTesto(t, i);
        if (fine == std::string_view::npos) return {TipoToken::Invalido, {}};
        i = fine;
        return {TipoToken::Testo, t.substr(inizio, i - inizio)};
    }
    if ((c(i) == '<' && (c(i + 1) == '>' || c(i + 1) == '=')) || (c(i) == '>' && c(i + 1) == '=')) {
        i += 2;
        return {TipoToken::Simbolo, t.substr(inizio, 2)};
    }
    if (std::string_view("=<>(),;*-").find(t[i]) != std::string_view::npos) {
        ++i;
        return {TipoToken::Simbolo, t.substr(inizio, 1)};
    }
    return {TipoToken::Invalido, {}};
}

// Splits a text into tokens, ending with an Invalido or a Fine token.
std::vector<Token> Scomponi(std::string_view t) {
    std::vector<Token> token;
    token.reserve(t.size() / 2 + 2);  // at most a word every two characters, and the end
    std::size_t i = 0;
    do {
        token.push_back(ProssimoToken(t, i));
    } while (token.back().tipo != TipoToken::Fine && token.back().tipo != TipoToken::Invalido);
    return token;
}

// Whether the word is the keyword `parola` (in upper case), written in any case.
bool StessaParola(std::string_view testo, std::string_view parola) {
    return std::equal(testo.begin(), testo.end(), parola.begin(), parola.end(),
                      [](char a, char b) { return Maiuscola(a) == b; });
}

bool Riservata(std::string_view parola) {
    static const char* const riservate[] = {"SELECT", "FROM", "WHERE", "ORDER", "BY",   "IN",  "AND",
                                            "OR",     "NOT",  "IS",    "NULL",  "ASC", "DESC"};
    for (const char* r : riservate)
        if (StessaParola(parola, r)) return true;
    return false;
}

Valore Numero(std::string_view cifre, bool negativo) {
    const std::string testo = (negativo ? "-" : "") + std::string(cifre);
    std::int64_t intero = 0;
    const auto fine = testo.data() + testo.size();
    const auto [ptr, ec] = std::from_chars(testo.data(), fine, intero);
    if (ec == std::errc() && ptr == fine) return Valore::Intero(intero);
    return Valore::Reale(ValoreNumerico(testo));  // a decimal point whatever the locale
}

// Bounds that keep reading and evaluating a text within the stack: levels of
// an expression tree (a chain of n tests joined by And has n), and depth of
// parentheses, Not and subqueries.
constexpr int AltezzaMassima = 1000;
constexpr int AnnidamentoMassimo = 200;

// Which part of a text is being read: it decides the error reported.
enum class Contesto { Select, From, Espressione, Ordine, Fine };

class Analizzatore {
public:
    explicit Analizzatore(std::string_view testo) : testo_(testo), token_(Scomponi(testo)) {}

    Selezione Select(bool sottoquery) {
        Selezione selezione;
        contesto_ = Contesto::Select;
        if (!Parola("SELECT")) Fallisci();
        Avanza();
        if (Simbolo("*")) {
            if (sottoquery) Fallisci();
            selezione.campo = "*";
            Avanza();
        } else {
            selezione.campo = Nome();
        }
        if (!Parola("FROM")) Fallisci();
        Avanza();
        contesto_ = Contesto::From;
        selezione.tabella = Nome();
        if (Parola("IN")) {
            Avanza();
            if (Corrente().tipo != TipoToken::Testo) Fallisci();
            selezione.file = ValoreTesto(Corrente());
            Avanza();
        }
        if (Parola("WHERE")) {
            Avanza();
            const Contesto fuori = contesto_;
            contesto_ = Contesto::Espressione;
            selezione.filtro = Condizione();
            contesto_ = fuori;
        }
        if (Parola("ORDER")) {
            contesto_ = Contesto::Ordine;
            Avanza();
            if (!Parola("BY")) Fallisci();
            Avanza();
            selezione.ordine = Ordini();
        }
        if (!sottoquery) {
            contesto_ = Contesto::Fine;
            if (Simbolo(";")) Avanza();
            AttendiFine();
        }
        return selezione;
    }

    std::unique_ptr<Espressione> Criterio() {
        contesto_ = Contesto::Espressione;
        auto espressione = Condizione();
        AttendiFine();
        return espressione;
    }

    std::vector<Ordine> Ordinamento() {
        contesto_ = Contesto::Ordine;
        std::vector<Ordine> ordine;
        if (Corrente().tipo != TipoToken::Fine) ordine = Ordini();
        AttendiFine();
        return ordine;
    }

private:
    const Token& Corrente() const { return token_[posizione_]; }
    void Avanza() {
        if (posizione_ + 1 < token_.size()) ++posizione_;
    }
    bool Parola(const char* parola) const {
        return Corrente().tipo == TipoToken::Nome && StessaParola(Corrente().testo, parola);
    }
    bool Simbolo(const char* simbolo) const {
        return Corrente().tipo == TipoToken::Simbolo && Corrente().testo == simbolo;
    }
    void Attendi(const char* simbolo) {
        if (!Simbolo(simbolo)) Fallisci();
        Avanza();
    }
    void Entra() {
        if (++annidamento_ > AnnidamentoMassimo) Fallisci();
    }
    void AttendiFine() {
        if (Corrente().tipo != TipoToken::Fine) Fallisci();
    }

    [[noreturn]] void Fallisci() const {
        switch (contesto_) {
            case Contesto::Espressione:
                throw Errore(NumeroErrore::SintassiCriterio,
                             "Errore di sintassi nell'espressione '" + Cp1252ToUtf8(testo_) + "'.");
            case Contesto::From:
                throw Errore(NumeroErrore::SintassiSql, "Errore di sintassi nella proposizione FROM.");
            case Contesto::Ordine:
                throw Errore(NumeroErrore::SintassiSql, "Errore di sintassi nella proposizione ORDER BY.");
            case Contesto::Fine:
                throw Errore(NumeroErrore::SintassiSql,
                             "Sono stati trovati caratteri dopo la fine dell'istruzione SQL.");
            case Contesto::Select:
                break;
        }
        throw Errore(NumeroErrore::SintassiSql,
                     "L'istruzione SELECT include una parola riservata o un nome di argomento con errori di "
                     "ortografia o mancante oppure la punteggiatura non \xC3\xA8 corretta.");
    }

    // A table or field name: a word that is not a keyword, or any text in brackets.
    std::string Nome() {
        const Token& t = Corrente();
        if (t.tipo == TipoToken::NomeTraParentesi || (t.tipo == TipoToken::Nome && !Riservata(t.testo))) {
            std::string nome(t.testo);
            Avanza();
            return nome;
        }
        Fallisci();
    }

    std::vector<Ordine> Ordini() {
        std::vector<Ordine> ordine;
        while (true) {
            Ordine o{Nome()};
            if (Parola("ASC") || Parola("DESC")) {
                o.discendente = Parola("DESC");
                Avanza();
            }
            ordine.push_back(std::move(o));
            if (!Simbolo(",")) return ordine;
            Avanza();
        }
    }

    std::unique_ptr<Espressione> Unisci(Espressione::Tipo tipo, std::unique_ptr<Espressione> primo,
                                        std::unique_ptr<Espressione> secondo) {
        auto e = std::make_unique<Espressione>();
        e->tipo = tipo;
        e->altezza = 1 + std::max(primo->altezza, secondo ? secondo->altezza : 0);
        if (e->altezza > AltezzaMassima) Fallisci();
        e->primo = std::move(primo);
        e->secondo = std::move(secondo);
        return e;
    }

    // Or binds loosest, then And, then Not, then the comparisons.
    std::unique_ptr<Espressione> Condizione() {
        auto e = Congiunzione();
        while (Parola("OR")) {
            Avanza();
            e = Unisci(Espressione::Tipo::O, std::move(e), Congiunzione());
        }
        return e;
    }

    std::unique_ptr<Espressione> Congiunzione() {
        auto e = Negazione();
        while (Parola("AND")) {
            Avanza();
            e = Unisci(Espressione::Tipo::E, std::move(e), Negazione());
        }
        return e;
    }

    std::unique_ptr<Espressione> Negazione() {
        if (!Parola("NOT")) return Predicato();
        Avanza();
        Entra();
        auto e = Unisci(Espressione::Tipo::Non, Negazione(), nullptr);
        --annidamento_;
        return e;
    }

    std::unique_ptr<Espressione> Predicato() {
        if (Simbolo("(")) {
            Avanza();
            Entra();
            auto e = Condizione();
            --annidamento_;
            Attendi(")");
            return e;
        }
        auto e = std::make_unique<Espressione>();
        e->sinistro = Operando();
        if (LeggiOperatore(e->operatore)) {
            e->destro = Operando();
            return e;
        }
        if (Parola("IS")) {
            Avanza();
            e->tipo = Espressione::Tipo::Nullo;
            if (Parola("NOT")) {
                e->negata = true;
                Avanza();
            }
            if (!Parola("NULL")) Fallisci();
            Avanza();
            return e;
        }
        if (Parola("NOT")) {
            e->negata = true;
            Avanza();
        }
        if (!Parola("IN")) Fallisci();
        Avanza();
        e->tipo = Espressione::Tipo::In;
        Elenco(*e);
        return e;
    }

    // The parenthesised list of an In test: a subquery or constants.
    void Elenco(Espressione& e) {
        Attendi("(");
        if (Parola("SELECT")) {
            const Contesto fuori = contesto_;
            Entra();
            e.sottoquery = std::make_unique<Selezione>(Select(true));
            --annidamento_;
            contesto_ = fuori;
        } else {
            while (true) {
                Termine t = Operando();
                if (t.campo) Fallisci();
                e.elenco.push_back(std::move(t));
                if (!Simbolo(",")) break;
                Avanza();
            }
        }
        Attendi(")");
    }

    bool LeggiOperatore(Operatore& op) {
        static const std::pair<const char*, Operatore> operatori[] = {
            {"=", Operatore::Uguale},         {"<>", Operatore::Diverso},        {"<", Operatore::Minore},
            {">", Operatore::Maggiore},       {"<=", Operatore::MinoreUguale},   {">=", Operatore::MaggioreUguale}};
        for (const auto& [simbolo, operatore] : operatori) {
            if (Simbolo(simbolo)) {
                op = operatore;
                Avanza();
                return true;
            }
        }
        return false;
    }

    // A field, a text in quotes, a number (with an optional minus) or Null.
    Termine Operando() {
        Termine t;
        const Token& c = Corrente();
        if (c.tipo == TipoToken::Testo) {
            t.costante = Valore::Testo(ValoreTesto(c));
        } else if (c.tipo == TipoToken::Numero) {
            t.costante = Numero(c.testo, false);
        } else if (Simbolo("-")) {
            Avanza();
            if (Corrente().tipo != TipoToken::Numero) Fallisci();
            t.costante = Numero(Corrente().testo, true);
        } else if (Parola("NULL")) {
            t.costante = Valore();
        } else {
            t.campo = true;
            t.nome = Nome();
            return t;
        }
        Avanza();
        return t;
    }

    std::string_view testo_;
    std::vector<Token> token_;
    std::size_t posizione_ = 0;
    int annidamento_ = 0;
    Contesto contesto_ = Contesto::Select;
};

}  // namespace

bool ESelect(std::string_view testo) {
    const auto token = Scomponi(testo);
    return token.front().tipo == TipoToken::Nome && StessaParola(token.front().testo, "SELECT");
}

Selezione AnalizzaSelect(std::string_view testo) { return Analizzatore(testo).Select(false); }

std::unique_ptr<Espressione> AnalizzaCriterio(std::string_view testo) { return Analizzatore(testo).Criterio(); }

std::vector<Ordine> AnalizzaOrdinamento(std::string_view testo) { return Analizzatore(testo).Ordinamento(); }

namespace {

std::vector<::Ordine> OrdineDi(const std::vector<Ordine>& ordine) {
    std::vector<::Ordine> fatto;
    for (const auto& o : ordine) fatto.emplace_back(Campo(o.campo), o.discendente);
    return fatto;
}

::Termine TermineDi(const sql::Termine& termine) {
    if (termine.campo) return Campo(termine.nome);
    return termine.costante;
}

::Selezione ComeSelezione(const sql::Selezione& selezione);

Forma ComeForma(const Espressione& e) {
    Forma::Nodo nodo;
    nodo.sinistro = TermineDi(e.sinistro);
    nodo.negata = e.negata;
    switch (e.tipo) {
        case Espressione::Tipo::E: return ComeForma(*e.primo) && ComeForma(*e.secondo);
        case Espressione::Tipo::O: return ComeForma(*e.primo) || ComeForma(*e.secondo);
        case Espressione::Tipo::Non: return !ComeForma(*e.primo);
        case Espressione::Tipo::Confronto:
            nodo.operatore = static_cast<::Operatore>(e.operatore);
            nodo.destro = TermineDi(e.destro);
            break;
        case Espressione::Tipo::Nullo: nodo.tipo = Forma::Nodo::Tipo::Nullo; break;
        case Espressione::Tipo::In:
            nodo.tipo = Forma::Nodo::Tipo::In;
            for (const auto& t : e.elenco) nodo.elenco.push_back(t.costante);
            if (e.sottoquery) nodo.sottoquery = std::make_shared<const ::Selezione>(ComeSelezione(*e.sottoquery));
            break;
    }
    return Forma(std::make_shared<const Forma::Nodo>(std::move(nodo)));
}

::Selezione ComeSelezione(const sql::Selezione& selezione) {
    ::Selezione fatta{selezione.tabella, {}, {}, OrdineDi(selezione.ordine), selezione.file, {}};
    if (selezione.campo != "*") fatta.campi.emplace_back(selezione.campo);
    if (selezione.filtro) fatta.filtro = ComeForma(*selezione.filtro);
    return fatta;
}

}  // namespace

Forma FormaDelTesto(std::string_view testo) { return ComeForma(*AnalizzaCriterio(testo)); }

::Selezione SelezioneDelTesto(std::string_view testo) { return ComeSelezione(AnalizzaSelect(testo)); }

std::vector<::Ordine> OrdineDelTesto(std::string_view testo) { return OrdineDi(AnalizzaOrdinamento(testo)); }

}  // namespace sql
