#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

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

// The state of the database file `file`, opened as ApriFileArchivio opens
// it; nothing when it cannot be opened or read.
std::optional<StatoFile> LeggiStatoFile(const FileArchivio& file);

// The same with a fingerprint taken at `dopo` or later: the last one this
// program took of the file serves when it was begun since then and the file
// still shows the same identity, size and times; else it is taken now. For a
// check that follows others closely: whether a file kept still through
// readings whose own checks have fingerprinted it at their end.
std::optional<StatoFile> LeggiStatoFile(const FileArchivio& file, std::chrono::steady_clock::time_point dopo);
