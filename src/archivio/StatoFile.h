#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "archivio/FileArchivio.h"

// What tells that a file is still the file read before, unchanged: its
// identity (device and inode), its size, its times of last modification and
// of last status change, in nanoseconds, and a fingerprint of its contents.
// A file rewritten in place at the same size with its modification time set
// back still shows a new status change time; on FAT and some network shares
// times are kept to the 2 seconds, and only the contents tell a file
// rewritten within them.
struct StatoFile {
    std::uint64_t dispositivo = 0;
    std::uint64_t inode = 0;
    std::int64_t dimensione = 0;
    std::int64_t modificaSecondi = 0;
    std::int64_t modificaNanosecondi = 0;
    std::int64_t statoSecondi = 0;
    std::int64_t statoNanosecondi = 0;
    std::uint64_t impronta = 0;  // fingerprint of the whole file
    friend bool operator==(const StatoFile&, const StatoFile&) = default;
};

// The last fingerprint taken of each file, by identity, with the state it was
// taken in and when it was begun: a session keeps them (SessioneArchivio), so
// that a check that follows readings closely need not read the file again.
// Safe for use from several threads.
class UltimeImpronte {
public:
    using Orologio = std::chrono::steady_clock;

    // The fingerprint begun at `dopo` or later of the file in state `senzaImpronta` (its fingerprint 0).
    std::optional<StatoFile> Trova(const StatoFile& senzaImpronta, Orologio::time_point dopo) const;
    // Keeps the fingerprint begun at `inizio` unless a later one is kept.
    void Conserva(const StatoFile& stato, Orologio::time_point inizio);

private:
    struct Impronta {
        StatoFile stato;
        Orologio::time_point inizio;
    };
    mutable std::mutex mutex_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, Impronta> impronte_;
};

// The state of the database file `file`, opened as ApriFileArchivio opens
// it, its fingerprint kept in `impronte`; nothing when it cannot be opened or
// read. With `dopo`, a fingerprint of `impronte` begun at `dopo` or later
// serves when the file still shows the same identity, size and times; else
// it is taken now. For a check that follows others closely: whether a file
// kept still through readings whose own checks have fingerprinted it at their end.
std::optional<StatoFile> LeggiStatoFile(const FileArchivio& file, UltimeImpronte& impronte,
                                        std::optional<std::chrono::steady_clock::time_point> dopo = std::nullopt);
// The same, the fingerprint always taken and kept nowhere.
std::optional<StatoFile> LeggiStatoFile(const FileArchivio& file);
