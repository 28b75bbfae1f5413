#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "archivio/Archivio.h"
#include "archivio/StatoFile.h"

struct SessioneArchivio;

// The Access readers of a session: at most `posti` at work at once (as many
// as the workstation has cores), and the names of the tables of the files
// they have listed, each kept while its file is unchanged. A build asks for
// the readings of all its tables at once: those of the larger files go
// first, so that the longest readings do not come last with nothing left to
// run beside them; readings of one size in the order asked. Safe for use
// from several threads.
class LettoriAccess {
public:
    LettoriAccess();
    explicit LettoriAccess(unsigned posti);

    // Waits for a place for a reading of a file of `byte` bytes.
    void Prendi(std::int64_t byte);
    void Lascia();

    // The names of the tables of the file in state `stato` listed by `programma`.
    std::optional<std::vector<std::string>> Elenco(const std::string& programma, const StatoFile& stato) const;
    void ConservaElenco(const std::string& programma, const StatoFile& stato, const std::vector<std::string>& nomi);

private:
    mutable std::mutex mutex_;
    std::condition_variable libero_;
    unsigned liberi_;
    std::uint64_t arrivi_ = 0;
    std::set<std::pair<std::int64_t, std::uint64_t>> attese_;  // larger files first, then by arrival
    using Chiave = std::tuple<std::string, std::uint64_t, std::uint64_t>;  // program, device, inode
    std::map<Chiave, std::pair<StatoFile, std::vector<std::string>>> elenchi_;
};

// Reads an Access file (Jet 3, Jet 4, ACE) through libmdb. libmdb runs in the
// child program brovato5-mdb, so that a damaged file that crashes or hangs it
// ends in Errore 3343 instead of reaching this program. The readers of a
// session take its places; the names of a file's tables are listed once per
// session while the file is unchanged. A
// reading counts only when the file kept still through it: another
// workstation writing it all the time for about a second gives Errore 3045.
// With a reading expected at once, the run that lists the tables reads that
// table too: one run of the reader instead of two.
// `sessione` keeps the readers' places and the lists of tables; the forms
// with a path take a session of their own.
// A reader under way when `arresto` is made is killed: LetturaArrestata.
std::unique_ptr<Archivio> ApriArchivioAccess(const FileArchivio& file, std::shared_ptr<SessioneArchivio> sessione,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt,
                                             const RichiestaArresto* arresto = nullptr);
std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt);

// The same with the reader program and the time limit of each reading given.
// The forms above find brovato5-mdb beside the running program, else in the
// build folder, and allow a minute per reading. Throws Errore 3170 when the
// program cannot be started.
std::unique_ptr<Archivio> ApriArchivioAccess(const FileArchivio& file, std::shared_ptr<SessioneArchivio> sessione,
                                             const std::string& programma, std::chrono::milliseconds limite,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt,
                                             const RichiestaArresto* arresto = nullptr);
std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso, const std::string& programma,
                                             std::chrono::milliseconds limite,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt);
