#include "archivio/ArchivioSqlite.h"

#include <sqlite3.h>

#include <algorithm>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace {

// Owns one prepared statement.
class Istruzione {
public:
    Istruzione(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
    }
    ~Istruzione() { sqlite3_finalize(stmt_); }
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;

    bool Valida() const { return stmt_ != nullptr; }
    sqlite3_stmt* operator*() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string Virgolette(const std::string& nome) {
    std::string out = "\"";
    for (char c : nome) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

TipoCampo TipoDichiarato(const std::string& dichiarato) {
    const std::string t = Maiuscolo(dichiarato);
    const auto contiene = [&t](const char* parola) { return t.find(parola) != std::string::npos; };
    if (contiene("BOOL")) return TipoCampo::SiNo;
    if (contiene("BLOB")) return TipoCampo::Binario;
    if (contiene("MONEY") || contiene("CURRENCY")) return TipoCampo::Valuta;
    if (contiene("DATE") || contiene("TIME")) return TipoCampo::Data;
    if (contiene("INT") || contiene("LONG")) return TipoCampo::Intero;
    if (contiene("DOUBLE") || contiene("REAL") || contiene("FLOAT")) return TipoCampo::Reale;
    return TipoCampo::Testo;
}

const char* NomeTipo(TipoCampo tipo) {
    switch (tipo) {
        case TipoCampo::Intero: return "INTEGER";
        case TipoCampo::Valuta: return "MONEY";
        case TipoCampo::Reale: return "DOUBLE";
        case TipoCampo::Data: return "DATETIME";
        case TipoCampo::SiNo: return "BOOLEAN";
        case TipoCampo::Binario: return "BLOB";
        case TipoCampo::Testo: break;
    }
    return "TEXT";
}

std::string TestoColonna(sqlite3_stmt* stmt, int i) {
    const auto* testo = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return testo ? std::string(testo, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))) : std::string();
}

std::string BlobColonna(sqlite3_stmt* stmt, int i) {
    const auto* byte = static_cast<const char*>(sqlite3_column_blob(stmt, i));
    return byte ? std::string(byte, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))) : std::string();
}

// A currency amount in ten-thousandths from a stored value: a text by the
// numeric-value rule, a number as stored, either to the nearest ten-thousandth.
std::int64_t Decimillesimi(sqlite3_stmt* stmt, int i) {
    if (sqlite3_column_type(stmt, i) == SQLITE_TEXT) return Valore::Testo(TestoColonna(stmt, i)).Decimillesimi();
    return Valore::Reale(sqlite3_column_double(stmt, i)).Decimillesimi();
}

Valore LeggiValore(sqlite3_stmt* stmt, int i, TipoCampo tipo) {
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL) return {};
    switch (tipo) {
        case TipoCampo::Intero: return Valore::Intero(sqlite3_column_int64(stmt, i));
        case TipoCampo::Valuta: return Valore::Valuta(Decimillesimi(stmt, i));
        case TipoCampo::Reale: return Valore::Reale(sqlite3_column_double(stmt, i));
        case TipoCampo::Data: return Valore::Data(TestoColonna(stmt, i));
        case TipoCampo::SiNo: return Valore::SiNo(sqlite3_column_int64(stmt, i) != 0);
        case TipoCampo::Binario: return Valore::Binario(BlobColonna(stmt, i));
        case TipoCampo::Testo: break;
    }
    return Valore::Testo(Utf8ToCp1252(TestoColonna(stmt, i)));
}

// A suite's database in this format is a few megabytes; a larger file is no
// database of it, and is not read into memory.
constexpr std::size_t kMassimaDimensione = std::size_t{1} << 30;

class ArchivioSqlite : public Archivio {
public:
    // The file is read whole through the descriptor that opened it and
    // queried in memory, read only: SQLite would open the file again by its
    // name, and what stands at that name in a shared folder may have changed.
    explicit ArchivioSqlite(const FileArchivio& file) : percorso_(file.Percorso()) {
        const Descrittore fd = ApriFileArchivio(file);
        const auto contenuto = LeggiDescrittore(fd.Fd(), kMassimaDimensione);
        if (!contenuto) throw Illeggibile();
        const auto dimensione = static_cast<sqlite3_int64>(contenuto->size());
        auto* copia = static_cast<unsigned char*>(sqlite3_malloc64(static_cast<sqlite3_uint64>(dimensione) + 1));
        if (!copia) throw Illeggibile();
        std::copy(contenuto->begin(), contenuto->end(), copia);
        if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_deserialize(db_, "main", copia, dimensione, dimensione,
                                SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) != SQLITE_OK) {
            sqlite3_close(db_);
            throw Illeggibile();
        }
    }
    ~ArchivioSqlite() override { sqlite3_close(db_); }

    std::vector<std::string> NomiTabelle() override {
        Istruzione stmt(db_, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'");
        if (!stmt.Valida()) throw Illeggibile();
        std::vector<std::string> nomi;
        int esito;
        while ((esito = sqlite3_step(*stmt)) == SQLITE_ROW) nomi.push_back(Utf8ToCp1252(TestoColonna(*stmt, 0)));
        if (esito != SQLITE_DONE) throw Illeggibile();
        return nomi;
    }

    Tabella LeggiTabella(const std::string& nome) override { return LeggiColonne(nome, {}, nullptr); }

    // Only the columns asked for are taken from each row. The statement
    // names the table as the file itself spells it, from its own list:
    // nothing the caller wrote becomes part of it. Read in this process, in
    // a moment, it is not stopped.
    Tabella LeggiColonne(const std::string& nome, const Proiezione& colonne, const RichiestaArresto*) override {
        Tabella tabella;
        tabella.nome = NomeEsatto(nome);
        Istruzione stmt(db_, "SELECT * FROM " + Virgolette(Cp1252ToUtf8(tabella.nome)) + " ORDER BY rowid");
        if (!stmt.Valida()) throw Illeggibile();
        std::vector<int> lette;
        for (int i = 0; i < sqlite3_column_count(*stmt); ++i) {
            const std::string colonna = Utf8ToCp1252(sqlite3_column_name(*stmt, i));
            if (!colonne.tutte && !colonne.nomi.count(Maiuscolo(colonna))) continue;
            const char* dichiarato = sqlite3_column_decltype(*stmt, i);
            tabella.colonne.push_back({colonna, TipoDichiarato(dichiarato ? dichiarato : "")});
            lette.push_back(i);
        }
        int esito;
        while ((esito = sqlite3_step(*stmt)) == SQLITE_ROW) {
            Record record;
            record.reserve(lette.size());
            for (std::size_t k = 0; k < lette.size(); ++k)
                record.push_back(LeggiValore(*stmt, lette[k], tabella.colonne[k].tipo));
            tabella.righe.push_back(std::move(record));
        }
        if (esito != SQLITE_DONE) throw Illeggibile();
        return tabella;
    }

private:
    Errore Illeggibile() const {
        return ErroreFormatoNonRiconosciuto(percorso_);
    }

    // The table's name as stored, found without regard to case.
    std::string NomeEsatto(const std::string& nome) {
        for (const auto& candidato : NomiTabelle())
            if (Maiuscolo(candidato) == Maiuscolo(nome)) return candidato;
        throw ErroreTabellaNonTrovata(nome);
    }

    std::string percorso_;
    sqlite3* db_ = nullptr;
};

void Esegui(sqlite3* db, const std::string& sql, const std::string& percorso) {
    char* messaggio = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &messaggio) != SQLITE_OK) {
        const std::string dettaglio = messaggio ? messaggio : "";
        sqlite3_free(messaggio);
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "Impossibile scrivere il database '" + percorso + "': " + dettaglio);
    }
}

void LegaValore(sqlite3_stmt* stmt, int posizione, const Valore& valore) {
    if (valore.IsNull()) {
        sqlite3_bind_null(stmt, posizione);
        return;
    }
    switch (valore.Tipo()) {
        case TipoCampo::Intero:
        case TipoCampo::SiNo:
            sqlite3_bind_int64(stmt, posizione, valore.Intero());
            return;
        case TipoCampo::Valuta:
        case TipoCampo::Reale:
            sqlite3_bind_double(stmt, posizione, valore.Numero());
            return;
        case TipoCampo::Binario: {
            const std::string_view byte = valore.TestoMemorizzato();
            sqlite3_bind_blob(stmt, posizione, byte.data(), static_cast<int>(byte.size()), SQLITE_TRANSIENT);
            return;
        }
        case TipoCampo::Data:
        case TipoCampo::Testo:
            break;
    }
    const std::string testo = valore.Tipo() == TipoCampo::Testo ? Cp1252ToUtf8(valore.Testo()) : valore.Testo();
    sqlite3_bind_text(stmt, posizione, testo.c_str(), static_cast<int>(testo.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::unique_ptr<Archivio> ApriArchivioSqlite(const FileArchivio& file) {
    return std::make_unique<ArchivioSqlite>(file);
}

void ScriviTabellaSqlite(const std::string& percorso, const Tabella& tabella) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(percorso.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile creare il database '" + percorso + "'.");
    }
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> chiudi(db, sqlite3_close);
    const std::string nome = Virgolette(Cp1252ToUtf8(tabella.nome));
    std::string crea = "CREATE TABLE " + nome + " (";
    std::string inserisci = "INSERT INTO " + nome + " VALUES (";
    for (std::size_t i = 0; i < tabella.colonne.size(); ++i) {
        const auto& colonna = tabella.colonne[i];
        crea += (i ? ", " : "") + Virgolette(Cp1252ToUtf8(colonna.nome)) + " " + NomeTipo(colonna.tipo);
        inserisci += i ? ", ?" : "?";
    }
    Esegui(db, "BEGIN", percorso);
    Esegui(db, "DROP TABLE IF EXISTS " + nome, percorso);
    Esegui(db, crea + ")", percorso);
    Istruzione stmt(db, inserisci + ")");
    if (!stmt.Valida())
        throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile scrivere il database '" + percorso + "'.");
    for (const auto& record : tabella.righe) {
        for (std::size_t i = 0; i < record.size(); ++i) LegaValore(*stmt, static_cast<int>(i) + 1, record[i]);
        if (sqlite3_step(*stmt) != SQLITE_DONE)
            throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile scrivere il database '" + percorso + "'.");
        sqlite3_reset(*stmt);
    }
    Esegui(db, "COMMIT", percorso);
}
