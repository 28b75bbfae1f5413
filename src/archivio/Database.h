#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archivio/Valore.h"
#include "common/CartellaDati.h"

class Recordset;
class TabelleCondivise;
struct SessioneArchivio;
struct LetturaAttesa;

// A text as a literal of an SQL text or a criterion: in apostrophes, its
// apostrophes doubled, so a room number such as 12'B is searched as it is.
std::string Letterale(std::string_view testo);

// A database of the suite opened by bare file name, read only. Answers the
// record sets the program asks for: a whole table by name, or one of the
// program's SQL texts (Select * From T [In 'Other.mdb'] [Where ...] [Order by ...],
// with X In (Select F From T In 'Other.mdb' Where ...) subqueries).
class Database {
public:
    // Opens `nomeFile` in the folder `cartella`, its name matched without
    // regard to case, the files' listings and states kept for `sessione`
    // (null: a session of this Database's own).
    static std::unique_ptr<Database> Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                          std::shared_ptr<SessioneArchivio> sessione = nullptr);
    // The same for a job: the Databases opened with the same `condivise`
    // share the tables they read, and keep them for its session.
    static std::unique_ptr<Database> Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                          std::shared_ptr<TabelleCondivise> condivise);
    // The same in the folder at the path `cartella`, opened for it.
    static std::unique_ptr<Database> Apri(const std::string& nomeFile, const std::string& cartella = ".");
    // The same for a job, told the record set its caller opens first (`sorgente` and
    // `campi` as OpenRecordset takes them): an Access file reads that record
    // set's table in the same run of its reader that opens the file.
    static std::unique_ptr<Database> Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                          std::shared_ptr<TabelleCondivise> condivise, const std::string& sorgente,
                                          const std::vector<std::string>& campi);
    ~Database();

    // Dynaset on a table name or an SQL text. Throws Errore 3078, 3265, 3000, 3075.
    std::unique_ptr<Recordset> OpenRecordset(const std::string& sorgente);
    // The same, reading of the table only the fields `campi` (those the
    // caller reads from the records and names in its search criteria) and
    // those the query itself names: the others of the file are not read, and
    // asking for one of them may throw Errore 3265.
    std::unique_ptr<Recordset> OpenRecordset(const std::string& sorgente, const std::vector<std::string>& campi);

    void Close();

private:
    struct Dati;
    explicit Database(std::unique_ptr<Dati> dati);
    static std::unique_ptr<Database> Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                          std::shared_ptr<SessioneArchivio> sessione,
                                          std::shared_ptr<TabelleCondivise> condivise,
                                          const std::optional<LetturaAttesa>& attesa);
    std::unique_ptr<Recordset> ApriRecordset(const std::string& sorgente,
                                             const std::optional<std::vector<std::string>>& campi);
    std::unique_ptr<Dati> dati_;
};

// Records of a table or query, with a current record. Searches keep the
// engine's semantics: texts compare without regard to case, Null equals
// nothing, after a failed FindNext the record found last stays current.
class Recordset {
public:
    struct Dati;
    explicit Recordset(std::shared_ptr<const Dati> dati);
    ~Recordset();

    void FindFirst(const std::string& criterio);
    void FindNext(const std::string& criterio);
    bool NoMatch() const { return noMatch_; }

    // Field of the current record. Throws 3265 for an unknown field,
    // 3021 when there is no current record.
    const Valore& operator[](std::string_view campo) const;

    void MoveFirst();
    void MoveNext();
    bool IsEOF() const;
    std::size_t RecordCount() const;

    // Sort text ("[NumeroCamera]", "A, B DESC"), taken by the next OpenRecordset.
    void Sort(const std::string& ordinamento) { sort_ = ordinamento; }
    // A new record set with these records in the order of the sort text.
    std::unique_ptr<Recordset> OpenRecordset() const;

private:
    void Cerca(const std::string& criterio, std::size_t da);

    std::shared_ptr<const Dati> dati_;
    std::string sort_;
    std::ptrdiff_t corrente_ = 0;
    bool noMatch_ = false;
};
