#include "support/Csv.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <tuple>

#include "archivio/ArchivioSqlite.h"
#include "common/Codifica.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

struct Cella {
    std::string testo;
    bool virgolette = false;
};
using RigaCsv = std::vector<Cella>;

[[noreturn]] void Malformato(const std::string& motivo) { throw std::runtime_error("CSV: " + motivo); }

// The quoted cell starting at dati[i] (the opening quote); i moves past the
// closing quote.
std::string CellaTraVirgolette(const std::string& dati, std::size_t& i) {
    std::string testo;
    for (++i;; ++i) {
        if (i >= dati.size()) Malformato("virgolette non chiuse");
        if (dati[i] != '"') {
            testo += dati[i];
        } else if (i + 1 < dati.size() && dati[i + 1] == '"') {
            testo += '"';
            ++i;
        } else {
            ++i;
            return testo;
        }
    }
}

std::vector<RigaCsv> RigheCsv(const std::string& dati) {
    std::vector<RigaCsv> righe;
    RigaCsv riga;
    std::size_t i = 0;
    while (i < dati.size()) {
        Cella cella;
        if (dati[i] == '"') {
            cella.testo = CellaTraVirgolette(dati, i);
            cella.virgolette = true;
        } else {
            const auto fine = dati.find_first_of(",\n", i);
            cella.testo = dati.substr(i, fine - i);
            i = fine == std::string::npos ? dati.size() : fine;
        }
        riga.push_back(std::move(cella));
        if (i >= dati.size() || dati[i] == '\n') {
            righe.push_back(std::move(riga));
            riga.clear();
        } else if (dati[i] != ',') {
            Malformato("testo dopo le virgolette di chiusura");
        }
        ++i;
    }
    return righe;
}

struct Intestazione {
    std::string nome;
    std::string tipo;  // LONG, INT, TEXT, MEMO, MONEY, DOUBLE, DATETIME, BOOLEAN
};

Intestazione LeggiIntestazione(const std::string& cella) {
    const auto duepunti = cella.find(':');
    if (duepunti == std::string::npos) Malformato("intestazione senza tipo: " + cella);
    Intestazione intestazione{cella.substr(0, duepunti), cella.substr(duepunti + 1)};
    if (intestazione.tipo.starts_with("TEXT(")) intestazione.tipo = "TEXT";
    return intestazione;
}

TipoCampo TipoDi(const std::string& tipo) {
    if (tipo == "LONG" || tipo == "INT") return TipoCampo::Intero;
    if (tipo == "MONEY") return TipoCampo::Valuta;
    if (tipo == "DOUBLE") return TipoCampo::Reale;
    if (tipo == "DATETIME") return TipoCampo::Data;
    if (tipo == "BOOLEAN") return TipoCampo::SiNo;
    if (tipo == "TEXT" || tipo == "MEMO") return TipoCampo::Testo;
    Malformato("tipo sconosciuto: " + tipo);
}

template <typename T>
T Numero(const std::string& testo) {
    T n{};
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), n);
    if (errore != std::errc() || testo.empty() || fine != testo.data() + testo.size())
        Malformato("numero non valido: " + testo);
    return n;
}

// "-12.5" -> -125000
std::int64_t Decimillesimi(const std::string& testo) {
    const bool negativo = testo.starts_with('-');
    const std::string assoluto = negativo ? testo.substr(1) : testo;
    const auto punto = assoluto.find('.');
    std::string decimali = punto == std::string::npos ? "" : assoluto.substr(punto + 1);
    if (decimali.size() > 4) Malformato("importo con più di 4 decimali: " + testo);
    decimali.resize(4, '0');
    const auto n = Numero<std::int64_t>(assoluto.substr(0, punto)) * 10000 + Numero<std::int64_t>(decimali);
    return negativo ? -n : n;
}

Valore ValoreDi(const Cella& cella, const std::string& tipo) {
    if (!cella.virgolette && cella.testo == "\\N") return Valore();
    const auto& t = cella.testo;
    if (tipo == "LONG" || tipo == "INT") return Valore::Intero(Numero<std::int64_t>(t));
    if (tipo == "MONEY") return Valore::Valuta(Decimillesimi(t));
    if (tipo == "DOUBLE") return Valore::Reale(Numero<double>(t));
    if (tipo == "DATETIME") return Valore::Data(t.size() == 10 ? t + " 00:00:00" : t);
    if (tipo == "BOOLEAN") {
        if (t != "0" && t != "1") Malformato("valore sì/no non valido: " + t);
        return Valore::SiNo(t == "1");
    }
    return Valore::Testo(Utf8ToCp1252(t));
}

}  // namespace

Tabella LeggiCsv(const fs::path& percorso) {
    if (!fs::is_regular_file(percorso)) Malformato("file mancante: " + percorso.string());
    const auto righe = RigheCsv(LeggiFile(percorso));
    if (righe.empty()) Malformato("file vuoto: " + percorso.string());

    Tabella tabella;
    tabella.nome = percorso.stem().string();
    std::vector<std::string> tipi;
    for (const auto& cella : righe.front()) {
        const auto intestazione = LeggiIntestazione(cella.testo);
        tabella.colonne.push_back({Utf8ToCp1252(intestazione.nome), TipoDi(intestazione.tipo)});
        tipi.push_back(intestazione.tipo);
    }
    for (std::size_t r = 1; r < righe.size(); ++r) {
        if (righe[r].size() != tipi.size())
            Malformato(percorso.filename().string() + ": la riga " + std::to_string(r + 1) +
                       " ha un numero di celle diverso dall'intestazione");
        Record record;
        for (std::size_t c = 0; c < tipi.size(); ++c) record.push_back(ValoreDi(righe[r][c], tipi[c]));
        tabella.righe.push_back(std::move(record));
    }
    return tabella;
}

std::vector<SorgenteCsv> SorgentiCsvDemo(const std::string& insieme) {
    std::vector<SorgenteCsv> sorgenti;
    for (const auto& cartella : fs::directory_iterator(CartellaDatiTest() / insieme / "csv")) {
        if (!cartella.is_directory()) continue;
        for (const auto& file : fs::directory_iterator(cartella.path()))
            if (file.path().extension() == ".csv")
                sorgenti.push_back({cartella.path().filename().string(), file.path().stem().string(), file.path()});
    }
    std::sort(sorgenti.begin(), sorgenti.end(), [](const SorgenteCsv& a, const SorgenteCsv& b) {
        return std::tie(a.database, a.tabella) < std::tie(b.database, b.tabella);
    });
    return sorgenti;
}

void PrintTo(const Valore& valore, std::ostream* os) {
    if (valore.IsNull()) {
        *os << "Null";
        return;
    }
    static const char* const kTipi[] = {"Intero", "Valuta", "Reale", "Testo", "Data", "SiNo"};
    *os << kTipi[static_cast<int>(valore.Tipo())] << "(\"" << Cp1252ToUtf8(valore.Testo()) << "\")";
}

void CreaCopiaSqliteDemo(const std::filesystem::path& cartella, const std::string& insieme) {
    for (const auto& sorgente : SorgentiCsvDemo(insieme))
        ScriviTabellaSqlite((cartella / (sorgente.database + ".mdb")).string(), LeggiCsv(sorgente.percorso));
}

void PreparaStampaDemo(const CartellaTemporanea& cartella,
                       const std::vector<std::pair<std::int64_t, std::int64_t>>& righe) {
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
    Tabella contatori{"Contatori", {{"NumeroHotel", TipoCampo::Intero}, {"LungPagNoComp", TipoCampo::Intero}}, {}};
    for (const auto& [hotel, linee] : righe) contatori.righe.push_back({Valore::Intero(hotel), Valore::Intero(linee)});
    fs::remove("Contatori.mdb");
    ScriviTabellaSqlite("Contatori.mdb", contatori);
}
