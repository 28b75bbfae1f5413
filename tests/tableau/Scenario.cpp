#include "tableau/Scenario.h"

#include <stdexcept>

#include "archivio/ArchivioSqlite.h"
#include "common/Codifica.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"
#include "tableau/FileReport.h"

namespace {

Valore Num(std::int64_t n) { return Valore::Intero(n); }
Valore Txt(const std::string& utf8) { return Valore::Testo(Utf8ToCp1252(utf8)); }

Tabella Nuova(const std::string& nome, std::vector<Colonna> colonne) {
    Tabella t;
    t.nome = nome;
    t.colonne = std::move(colonne);
    return t;
}

constexpr auto I = TipoCampo::Intero;
constexpr auto T = TipoCampo::Testo;
constexpr auto M = TipoCampo::Valuta;

// The database file of each table.
std::string FileDi(const std::string& tabella) { return tabella + ".mdb"; }

}  // namespace

Scenario::Scenario(std::filesystem::path cartella) : cartella_(std::move(cartella)) {
    // Columns in an order of their own, with an extra one: fields are found by name.
    tabelle_.push_back(Nuova("TipiCamere", {{"Descrizione", T}, {"Sigla", T}, {"Tipologia", T}}));
    tabelle_.push_back(Nuova("NumeriCamere",
                             {{"NumeroCamera", T}, {"Piano", I}, {"NumeroHotel", I}, {"TipoCamera", T},
                              {"NumeroTableau", I}}));
    tabelle_.push_back(Nuova("Scheda_Cliente",
                             {{"NumeroHotel", I}, {"NumeroProgressivo", I}, {"NumeroComponente", I},
                              {"NomeCliente", T}, {"NumeroCamera", T}, {"DataArrivo", T}, {"DataPartenza", T},
                              {"Partito", T}, {"TipoPagamento", T}, {"Note", T}, {"CodiceAgenzia", I}}));
    tabelle_.push_back(Nuova("Arrangiamento", {{"NumeroHotel", I}, {"CodiceCliente", I}, {"NumeroConto", I},
                                               {"DataInizio", T}, {"DataFine", T}, {"ImportoTotale", M}}));
    tabelle_.push_back(Nuova("AgenzieAbituali", {{"NumeroHotel", I}, {"Codice", I}, {"RagioneSociale", T}}));
    tabelle_.push_back(Nuova("Camere_Prenotazione",
                             {{"NumeroHotel", I}, {"NumeroPrenotazione", I}, {"NumeroCamera", T},
                              {"TipoPrenotazione", T}, {"NumeroPersone", I}, {"DataArrivo", T},
                              {"DataPartenza", T}, {"Prezzo", M}}));
    tabelle_.push_back(Nuova("Scheda_Prenotazione",
                             {{"NumeroHotel", I}, {"NumeroPrenotazione", I}, {"NomeCliente", T}, {"Pagamento", T},
                              {"TipoPrenotazione", T}, {"Agenzia", T}}));
    for (const char* sigla : {"DBL", "SGL", "TRP"}) TipoCamera(sigla, "C");
    TipoCamera("BOX", "G");
}

Tabella& Scenario::TabellaDi(const std::string& nome) {
    for (auto& t : tabelle_)
        if (t.nome == nome) return t;
    throw std::logic_error("no table " + nome);
}

void Scenario::TipoCamera(const std::string& sigla, const std::string& tipologia) {
    TabellaDi("TipiCamere").righe.push_back({Txt("Tipo " + sigla), Txt(sigla), Txt(tipologia)});
}

void Scenario::Camera(const std::string& numero, const std::string& tipo, std::int64_t tableau, std::int64_t hotel) {
    TabellaDi("NumeriCamere").righe.push_back({Txt(numero), Num(1), Num(hotel), Txt(tipo), Num(tableau)});
}

void Scenario::Aggiungi(const Ospite& o) {
    TabellaDi("Scheda_Cliente").righe.push_back({Num(o.hotel), Num(o.progressivo), Num(o.componente), Txt(o.nome),
                                                  Txt(o.camera), Txt(o.arrivo), Txt(o.partenza), Txt(o.partito),
                                                  o.pagamento, Txt("nota"), Num(o.agenzia)});
}

void Scenario::Aggiungi(const Prenotata& p) {
    TabellaDi("Camere_Prenotazione").righe.push_back({Num(p.hotel), Num(p.numero), Txt(p.camera), Txt(p.tipo),
                                                       Num(p.persone), Txt(p.arrivo), Txt(p.partenza), p.prezzo});
}

void Scenario::Aggiungi(const Testata& t) {
    TabellaDi("Scheda_Prenotazione").righe.push_back({Num(t.hotel), Num(t.numero), Txt(t.nome), t.pagamento,
                                                       Txt(t.tipo), Txt(t.agenzia)});
}

void Scenario::Addebito(std::int64_t cliente, const std::string& dal, const std::string& al, const Valore& importo,
                        std::int64_t conto, std::int64_t hotel) {
    TabellaDi("Arrangiamento").righe.push_back({Num(hotel), Num(cliente), Num(conto), Txt(dal), Txt(al), importo});
}

void Scenario::Agenzia(std::int64_t codice, const std::string& nome, std::int64_t hotel) {
    TabellaDi("AgenzieAbituali").righe.push_back({Num(hotel), Num(codice), Txt(nome)});
}

void Scenario::Scrivi() const {
    for (const auto& t : tabelle_) ScriviTabellaSqlite((cartella_ / FileDi(t.nome)).string(), t);
}

std::vector<std::string> Scenario::Tableau(const std::string& data, const std::string& prima,
                                           const std::string& ultima, std::int16_t tableau) const {
    Scrivi();
    UltimaCostruzione costruzione;
    CreaTableau(costruzione, {CartellaDati(cartella_.string()), "1"}, 1, tableau, prima, ultima, data);
    return RigheReport(LeggiFile(cartella_ / NomeFileReport("1")));
}

Valore Euro(const std::string& importo) {
    return Valore::Valuta(Valore::Testo(importo).Decimillesimi());
}

std::string Cella(const std::string& riga, int giorno) { return riga.substr(18 * giorno + 6, 17); }

std::vector<std::string> RigheReport(const std::string& contenuto) {
    std::vector<std::string> righe;
    std::size_t inizio = 0;
    while (inizio < contenuto.size()) {
        const auto fine = contenuto.find("\r\n", inizio);
        if (fine == std::string::npos) throw std::runtime_error("last line without CR LF");
        righe.push_back(contenuto.substr(inizio, fine - inizio));
        inizio = fine + 2;
    }
    return righe;
}
