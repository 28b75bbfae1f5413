#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archivio/Criterio.h"
#include "archivio/RichiestaArresto.h"
#include "archivio/Valore.h"
#include "common/CartellaDati.h"

class Recordset;
class TabelleCondivise;
struct SessioneArchivio;
struct LetturaAttesa;

// A database of the suite opened by bare file name, read only. Answers the
// record sets the program asks for: a Selezione, whose table may lie in
// another file of the folder, its filter reaching others through subqueries.
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
    // The same for a job, told the record set its caller opens first: an
    // Access file reads that record set's table in the same run of its
    // reader that opens the file. A reader under way when `arresto` is made
    // is killed: LetturaArrestata.
    static std::unique_ptr<Database> Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                          std::shared_ptr<TabelleCondivise> condivise, const Selezione& primo,
                                          const RichiestaArresto* arresto = nullptr);
    ~Database();

    // Dynaset of the records the Selezione gives. Only the fields it names
    // are read of the file (all of them when it names none), and each must
    // be a field of the table. Throws Errore 3024, 3078, 3265, 3306, 3061;
    // LetturaArrestata when `arresto` stops a reading of its tables.
    std::unique_ptr<Recordset> OpenRecordset(const Selezione& selezione, const RichiestaArresto* arresto = nullptr);
    // The whole table `tabella`, every field read.
    std::unique_ptr<Recordset> OpenRecordset(const std::string& tabella);

    void Close();

private:
    struct Dati;
    explicit Database(std::unique_ptr<Dati> dati);
    static std::unique_ptr<Database> Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                          std::shared_ptr<SessioneArchivio> sessione,
                                          std::shared_ptr<TabelleCondivise> condivise,
                                          const std::optional<LetturaAttesa>& attesa,
                                          const RichiestaArresto* arresto);
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

    // The first record the criterion finds, or the next one after the
    // current record; NoMatch() tells when there is none, and the current
    // record then stays. Throws Errore 3061, 3265, 3464.
    void FindFirst(const Criterio& criterio);
    void FindNext(const Criterio& criterio);
    bool NoMatch() const { return noMatch_; }

    // Field of the current record. Throws 3265 for an unknown field,
    // 3021 when there is no current record.
    const Valore& operator[](std::string_view campo) const;
    const Valore& operator[](const Campo& campo) const { return (*this)[std::string_view(campo.Nome())]; }
    // Whether the table read has the field (one of a Selezione's facoltativi may be missing).
    bool HaCampo(std::string_view campo) const;
    bool HaCampo(const Campo& campo) const { return HaCampo(std::string_view(campo.Nome())); }

    void MoveFirst();
    void MoveNext();
    bool IsEOF() const;
    std::size_t RecordCount() const;

    // The sort fields taken by the next OpenRecordset.
    void Sort(std::vector<Ordine> ordinamento) { sort_ = std::move(ordinamento); }
    // A new record set with these records in the order of the sort fields.
    std::unique_ptr<Recordset> OpenRecordset() const;

private:
    void Cerca(const Criterio& criterio, std::size_t da);

    std::shared_ptr<const Dati> dati_;
    std::vector<Ordine> sort_;
    std::ptrdiff_t corrente_ = 0;
    bool noMatch_ = false;
};
