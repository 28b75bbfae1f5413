#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "archivio/Archivio.h"
#include "archivio/StatoFile.h"
#include "archivio/Valore.h"

struct SessioneArchivio;

// The tables a session has read, each kept while its file is unchanged, so
// that another build (another week, another range of rooms) does not read
// them again. A table is read by one thread; the others asking for it
// meanwhile wait for that reading. A failed reading is not kept, nor one
// during which the file changed: the table then is not that of the state
// noted before, to which the file might return.
class TabelleConservate {
public:
    // The table `nomeMaiuscolo` of the file `file`, in state `stato`, with the
    // columns of `colonne` at least: the one kept, else what `leggi` gives for
    // the columns to read (those asked for with those of the copy kept).
    // `lette` is set to the columns of the reading given; the file's state
    // after the reading is checked with the fingerprints of `impronte`.
    std::shared_ptr<const Tabella> Leggi(const FileArchivio& file, const StatoFile& stato,
                                         const std::string& nomeMaiuscolo, const Proiezione& colonne,
                                         const std::function<Tabella(const Proiezione&)>& leggi, Proiezione& lette,
                                         UltimeImpronte& impronte);

private:
    struct Lettura;
    using Chiave = std::tuple<std::uint64_t, std::uint64_t, std::string>;

    void Dimentica(const Chiave& chiave, const std::shared_ptr<Lettura>& lettura);

    std::mutex mutex_;
    std::map<Chiave, std::shared_ptr<Lettura>> letture_;
};

// Tables read for one job that opens several databases at once (a tableau
// build), shared between them: a table one Database has read is handed to
// another that asks for it, instead of being read again, as long as its file
// is the same file with the same size and time of last change as when it was
// read. Otherwise it is taken from the tables its session keeps, which reads
// it afresh unless the file is unchanged (see StatoFile.h). Safe for use from
// several threads: a table asked for by several at once is read once.
class TabelleCondivise {
public:
    // For the job of a session of its own.
    TabelleCondivise();
    explicit TabelleCondivise(std::shared_ptr<SessioneArchivio> sessione);
    ~TabelleCondivise();

    const std::shared_ptr<SessioneArchivio>& Sessione() const { return sessione_; }

    // Table `nome` (matched without regard to case) of the file `file`: the
    // copy already read while still valid, else what `leggi` gives.
    std::shared_ptr<const Tabella> Leggi(const FileArchivio& file, const std::string& nome,
                                         const std::function<Tabella()>& leggi);

    // The same for a reading of the columns of `colonne`: a copy read with
    // those columns or more serves. Otherwise `leggi` is given the columns to
    // read: those asked for with those of the copy kept, so that two record
    // sets on one table, asking for different columns, end up sharing a reading.
    std::shared_ptr<const Tabella> Leggi(const FileArchivio& file, const std::string& nome,
                                         const Proiezione& colonne,
                                         const std::function<Tabella(const Proiezione&)>& leggi);

private:
    // What tells a file's contents unchanged within the job: its size and time of last change.
    struct Stato {
        std::int64_t dimensione = 0;
        std::int64_t secondi = 0;
        std::int64_t nanosecondi = 0;
        friend bool operator==(const Stato&, const Stato&) = default;
    };
    struct Lettura {
        Stato stato;
        Proiezione colonne;
        std::shared_ptr<const Tabella> tabella;
    };
    // By the file's identity (device, inode) and the table's upper-case name.
    using Chiave = std::tuple<std::uint64_t, std::uint64_t, std::string>;

    std::shared_ptr<SessioneArchivio> sessione_;
    std::mutex mutex_;
    std::map<Chiave, Lettura> letture_;
};
