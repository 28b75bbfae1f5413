#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archivio/FileArchivio.h"
#include "archivio/RichiestaArresto.h"
#include "archivio/Valore.h"
#include "common/Errore.h"

// The columns a reading of a table takes: every column, or those named (in
// upper case). A store matches the names without regard to case and leaves
// out a name the table lacks; it may give more columns than asked.
struct Proiezione {
    bool tutte = true;
    std::set<std::string> nomi;

    // Only the columns named by `campi` (written in any case).
    static Proiezione Di(const std::vector<std::string>& campi);
    // Whether a reading with these columns holds every column of `altra`.
    bool Copre(const Proiezione& altra) const;
    // The columns of both.
    Proiezione Unione(const Proiezione& altra) const;
    friend bool operator==(const Proiezione&, const Proiezione&) = default;
};

// One database file of the suite, read only. Implementations: an Access file
// (Jet 3, Jet 4, ACE) read through libmdb in a child process, and an SQLite 3 file.
class Archivio {
public:
    virtual ~Archivio() = default;

    // Names of the user tables.
    virtual std::vector<std::string> NomiTabelle() = 0;

    // The whole table, records in stored order. Table names are matched
    // without regard to case. Throws Errore 3078 when the table is missing,
    // 3343 when the file cannot be read as a database, 3045 when it is being
    // written all the time it is read.
    virtual Tabella LeggiTabella(const std::string& nome) = 0;

    // The table with the columns of `colonne` at least, records in stored
    // order; the same errors. This form reads the whole table. A store that
    // reads through another program stops it when `arresto` is made, and
    // throws LetturaArrestata.
    virtual Tabella LeggiColonne(const std::string& nome, const Proiezione& colonne,
                                 const RichiestaArresto* arresto = nullptr);
};

// A reading of a table its caller will ask for as soon as the file is open.
struct LetturaAttesa {
    std::string tabella;
    Proiezione colonne;
};

struct SessioneArchivio;

// Opens the database `file`, recognising its format by content. A store
// that reads through another program makes the reading `attesa` in the same
// run as the opening, with the readers of `sessione`, stopped by `arresto`
// as LeggiColonne. Throws Errore 3024 or 3051 as ApriFileArchivio, 3343
// (unrecognised format).
std::unique_ptr<Archivio> ApriArchivio(const FileArchivio& file, std::shared_ptr<SessioneArchivio> sessione,
                                       const std::optional<LetturaAttesa>& attesa = std::nullopt,
                                       const RichiestaArresto* arresto = nullptr);
// The same for the file at `percorso`, with a session of its own.
std::unique_ptr<Archivio> ApriArchivio(const std::string& percorso);

// The errors every store gives alike: a file not found (its name or path in
// UTF-8), a file that cannot be read as a database, a file that kept changing
// while it was read, a table (name in Windows-1252) not found.
Errore ErroreFileNonTrovato(const std::string& nome);
Errore ErroreFormatoNonRiconosciuto(const std::string& percorso);
Errore ErroreFileInUso(const std::string& percorso);
Errore ErroreTabellaNonTrovata(const std::string& nome);
