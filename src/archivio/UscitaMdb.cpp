#include "archivio/UscitaMdb.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "archivio/mdb/ProtocolloMdb.h"
#include "common/Codifica.h"

namespace {

using namespace ProtocolloMdb;

[[noreturn]] void NonValida(const std::string& motivo) { throw UscitaMdbNonValida(motivo); }

// Reads the output from the front, checking each piece as it goes.
class Cursore {
public:
    explicit Cursore(std::string_view testo) : resto_(testo) {}

    bool Segue(std::string_view atteso) const { return resto_.starts_with(atteso); }

    void Atteso(std::string_view atteso) {
        if (!Segue(atteso)) NonValida("atteso \"" + std::string(atteso) + "\"");
        resto_.remove_prefix(atteso.size());
    }

    char Carattere() {
        if (resto_.empty()) NonValida("uscita incompleta");
        const char c = resto_.front();
        resto_.remove_prefix(1);
        return c;
    }

    // A count in decimal digits.
    std::uint64_t Numero() {
        std::uint64_t n = 0;
        const auto [fine, errore] = std::from_chars(resto_.data(), resto_.data() + resto_.size(), n);
        if (errore != std::errc() || fine == resto_.data()) NonValida("numero atteso");
        resto_.remove_prefix(static_cast<std::size_t>(fine - resto_.data()));
        return n;
    }

    // "<len>:<bytes>"
    std::string_view Blocco() {
        const auto lunghezza = Numero();
        Atteso(":");
        if (lunghezza > resto_.size()) NonValida("uscita incompleta");
        const auto blocco = resto_.substr(0, lunghezza);
        resto_.remove_prefix(lunghezza);
        return blocco;
    }

    void Fine() const {
        if (!resto_.empty()) NonValida("dati oltre la fine");
    }

    std::string_view Resto() const { return resto_; }

private:
    std::string_view resto_;
};

TipoCampo TipoDaLettera(char lettera) {
    switch (lettera) {
        case kIntero: return TipoCampo::Intero;
        case kValuta: return TipoCampo::Valuta;
        case kReale: return TipoCampo::Reale;
        case kData: return TipoCampo::Data;
        case kSiNo: return TipoCampo::SiNo;
        case kTesto: return TipoCampo::Testo;
        case kBinario: return TipoCampo::Binario;
        default: NonValida(std::string("tipo sconosciuto ") + lettera);
    }
}

std::int64_t LeggiIntero(std::string_view testo) {
    std::int64_t n = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), n);
    if (errore != std::errc() || testo.empty() || fine != testo.data() + testo.size())
        NonValida("intero non valido");
    return n;
}

// "[-]digits[.d[d[d[d]]]]" as ten-thousandths, exactly.
std::int64_t LeggiDecimillesimi(std::string_view testo) {
    const bool negativo = testo.starts_with('-');
    if (negativo) testo.remove_prefix(1);
    const auto punto = testo.find('.');
    const auto interi = testo.substr(0, punto);
    const auto decimali = punto == std::string_view::npos ? std::string_view() : testo.substr(punto + 1);
    const bool cifre = interi.find_first_not_of("0123456789") == std::string_view::npos &&
                       decimali.find_first_not_of("0123456789") == std::string_view::npos;
    if (!cifre || interi.empty() || decimali.size() > 4 ||
        (punto != std::string_view::npos && decimali.empty()))
        NonValida("importo non valido");

    std::uint64_t parteIntera = 0;
    const auto [fine, errore] = std::from_chars(interi.data(), interi.data() + interi.size(), parteIntera);
    if (errore != std::errc()) NonValida("importo non valido");
    std::uint64_t frazione = 0;
    for (std::size_t i = 0; i < 4; ++i)
        frazione = frazione * 10 + (i < decimali.size() ? static_cast<std::uint64_t>(decimali[i] - '0') : 0);

    // The magnitude may reach 2^63 for a negative amount (Currency's minimum).
    const std::uint64_t limite = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) +
                                 (negativo ? 1 : 0);
    if (parteIntera > (limite - frazione) / 10000) NonValida("importo fuori misura");
    const std::uint64_t grandezza = parteIntera * 10000 + frazione;
    if (!negativo) return static_cast<std::int64_t>(grandezza);
    return grandezza == 0 ? 0 : -static_cast<std::int64_t>(grandezza - 1) - 1;
}

double LeggiReale(std::string_view testo) {
    double x = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), x);
    if (errore != std::errc() || testo.empty() || fine != testo.data() + testo.size())
        NonValida("numero non valido");
    return x;
}

Valore ValoreDaTesto(char tipo, std::string_view testo) {
    switch (tipo) {
        case kIntero: return Valore::Intero(LeggiIntero(testo));
        case kValuta: return Valore::Valuta(LeggiDecimillesimi(testo));
        case kReale: return Valore::Reale(LeggiReale(testo));
        case kData:
            if (testo.empty()) NonValida("data vuota");
            return Valore::Data(testo);
        case kSiNo:
            if (testo != "0" && testo != "1") NonValida("valore sì/no non valido");
            return Valore::SiNo(testo == "1");
        case kTesto:
            // Plain ASCII, most texts, is the same in both encodings.
            if (std::ranges::all_of(testo, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
                return Valore::Testo(testo);
            return Valore::Testo(Utf8ToCp1252(testo));
        default: return Valore::Binario(testo);  // kBinario: the column types are checked
    }
}

Valore LeggiValore(Cursore& cursore, char tipo) {
    const char lettera = cursore.Carattere();
    if (lettera == kNull) {
        cursore.Atteso("\n");
        if (tipo == kSiNo) NonValida("sì/no Null");
        return Valore();
    }
    if (lettera != tipo) NonValida("tipo del valore diverso da quello della colonna");
    const auto testo = cursore.Blocco();
    cursore.Atteso("\n");
    return ValoreDaTesto(tipo, testo);
}

std::vector<std::string> LeggiElenco(Cursore& cursore) {
    cursore.Atteso(kIntestazione);
    cursore.Atteso("\ntabelle ");
    const auto quante = cursore.Numero();
    cursore.Atteso("\n");
    std::vector<std::string> nomi;
    for (std::uint64_t i = 0; i < quante; ++i) {
        nomi.push_back(Utf8ToCp1252(cursore.Blocco()));
        cursore.Atteso("\n");
    }
    cursore.Atteso("fine\n");
    return nomi;
}

}  // namespace

std::vector<std::string> DecodificaElencoTabelle(std::string_view uscita) {
    Cursore cursore(uscita);
    auto nomi = LeggiElenco(cursore);
    cursore.Fine();
    return nomi;
}

ElencoETabella DecodificaElencoETabella(std::string_view uscita) {
    Cursore cursore(uscita);
    ElencoETabella letti{LeggiElenco(cursore), std::nullopt};
    if (!cursore.Resto().empty()) letti.tabella = DecodificaTabella(cursore.Resto());
    return letti;
}

Tabella DecodificaTabella(std::string_view uscita) {
    Cursore cursore(uscita);
    cursore.Atteso(kIntestazione);
    cursore.Atteso("\ntabella ");
    Tabella tabella;
    tabella.nome = Utf8ToCp1252(cursore.Blocco());
    cursore.Atteso("\ncolonne ");
    const auto numeroColonne = cursore.Numero();
    cursore.Atteso("\n");
    std::string tipi;
    for (std::uint64_t i = 0; i < numeroColonne; ++i) {
        const char tipo = cursore.Carattere();
        cursore.Atteso(" ");
        const auto nome = cursore.Blocco();
        cursore.Atteso("\n");
        tabella.colonne.push_back({Utf8ToCp1252(nome), TipoDaLettera(tipo)});
        tipi += tipo;
    }
    cursore.Atteso("righe ");
    const auto righeDichiarate = cursore.Numero();
    cursore.Atteso("\n");
    // Room for the records declared, as many as the output
    // can hold (a record's line and a line for each value, two bytes each at
    // least): a damaged count cannot ask for more.
    const std::uint64_t righePossibili =
        std::min<std::uint64_t>(righeDichiarate, uscita.size() / (2 + 2 * tipi.size()));
    tabella.righe.reserve(righePossibili);
    while (cursore.Segue("R\n")) {
        cursore.Atteso("R\n");
        Record record;
        record.reserve(tipi.size());
        for (const char tipo : tipi) record.push_back(LeggiValore(cursore, tipo));
        tabella.righe.push_back(std::move(record));
    }
    cursore.Atteso("fine ");
    const auto righeScritte = cursore.Numero();
    cursore.Atteso("\n");
    cursore.Fine();
    // A damaged file may make libmdb skip rows without a word: the records
    // received must be all the table holds.
    if (righeScritte != tabella.righe.size() || righeDichiarate != tabella.righe.size())
        NonValida("letti " + std::to_string(tabella.righe.size()) + " record su " +
                  std::to_string(righeDichiarate));
    return tabella;
}
