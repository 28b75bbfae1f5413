#pragma once

#include <cstddef>
#include <memory_resource>

// One block of memory, taken at once, in which the records of a table read
// from a store lie one after another, freed whole with the table. A build
// lays out hundreds of thousands of values: the block's pages are laid out
// when it is taken, in huge pages where it fills them, so that filling it
// does not stop at a page fault every 4 KiB. The records of a small table,
// and those beyond what the block was sized for, take the ordinary heap.
class MemoriaRecord {
public:
    // A block of `byte` bytes. Throws std::bad_alloc when the system has none.
    explicit MemoriaRecord(std::size_t byte);
    ~MemoriaRecord();
    MemoriaRecord(const MemoriaRecord&) = delete;
    MemoriaRecord& operator=(const MemoriaRecord&) = delete;

    std::pmr::memory_resource* Risorsa() { return &arena_; }

private:
    void* mappa_ = nullptr;
    std::size_t dimensioneMappa_ = 0;
    std::pmr::monotonic_buffer_resource arena_;
};

// Lays out at once the whole pages of the memory from `inizio` for `byte`
// bytes (memory this program holds, about to be written), where the system
// can: one request instead of a page fault every 4 KiB.
void PreparaPagine(void* inizio, std::size_t byte);
