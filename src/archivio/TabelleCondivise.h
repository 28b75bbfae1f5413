#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "archivio/Archivio.h"
#include "archivio/Valore.h"

// Tables read for one job that opens several databases at once (a tableau
// build), shared between them: a table one Database has read is handed to
// another that asks for it, instead of being read again, as long as its file
// is the same file with the same size and time of last change as when it was
// read. Otherwise it is taken from the tables kept for the program run, which
// reads it afresh unless the file is unchanged (see StatoFile.h). Safe for
// use from several threads: a table asked for by several at once is read once.
class TabelleCondivise {
public:
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

    std::mutex mutex_;
    std::map<Chiave, Lettura> letture_;
};
