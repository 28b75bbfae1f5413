#include "archivio/MemoriaRecord.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr std::size_t kPaginaGrande = std::size_t{2} << 20;
constexpr std::size_t kBloccoMinimo = std::size_t{64} << 10;

// The mapping of `byte` bytes and one huge page more, so that the part
// aligned to huge pages holds them; nothing for a small block, whose records
// take the ordinary heap.
std::size_t DimensioneMappa(std::size_t byte) { return byte < kBloccoMinimo ? 0 : byte + kPaginaGrande; }

void* Mappa(std::size_t dimensione) {
    if (dimensione == 0) return nullptr;
    void* mappa = mmap(nullptr, dimensione, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mappa == MAP_FAILED) throw std::bad_alloc();
    return mappa;
}

// Built with the address checker (the compiler then defines
// __SANITIZE_ADDRESS__), whose leak checker looks for pointers in the heap
// and the program's data but not in its own mappings: the block is shown to
// it, or the long texts of the values lying there, on the heap, would count
// as leaks.
void MostraAlControlloPerdite([[maybe_unused]] void* mappa, [[maybe_unused]] std::size_t dimensione) {
#ifdef __SANITIZE_ADDRESS__
    if (mappa) __lsan_register_root_region(mappa, dimensione);
#endif
}

void NascondiAlControlloPerdite([[maybe_unused]] void* mappa, [[maybe_unused]] std::size_t dimensione) {
#ifdef __SANITIZE_ADDRESS__
    if (mappa) __lsan_unregister_root_region(mappa, dimensione);
#endif
}

// The start of the part of `mappa` aligned to huge pages. The whole huge
// pages the block fills are advised to be laid out so (a hint: a system
// without them gives ordinary pages); the part of the last one it does not
// fill stays in ordinary pages, so that no memory is taken beyond the block.
// The block's pages are then all laid out at once, where the system can,
// instead of one at a time as they are first written.
char* InizioAllineato(void* mappa, std::size_t byte) {
    if (!mappa) return nullptr;
    const auto indirizzo = reinterpret_cast<std::uintptr_t>(mappa);
    const std::uintptr_t allineato = (indirizzo + kPaginaGrande - 1) / kPaginaGrande * kPaginaGrande;
    char* inizio = static_cast<char*>(mappa) + (allineato - indirizzo);
    madvise(inizio, byte / kPaginaGrande * kPaginaGrande, MADV_HUGEPAGE);
    PreparaPagine(inizio, byte);
    return inizio;
}

}  // namespace

void PreparaPagine(void* inizio, std::size_t byte) {
    const auto pagina = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto da = (reinterpret_cast<std::uintptr_t>(inizio) + pagina - 1) / pagina * pagina;
    const auto a = (reinterpret_cast<std::uintptr_t>(inizio) + byte) / pagina * pagina;
    if (a > da) madvise(reinterpret_cast<void*>(da), a - da, MADV_POPULATE_WRITE);
}

MemoriaRecord::MemoriaRecord(std::size_t byte)
    : mappa_(Mappa(DimensioneMappa(byte))),
      dimensioneMappa_(DimensioneMappa(byte)),
      arena_(InizioAllineato(mappa_, byte), mappa_ ? byte : 0, std::pmr::new_delete_resource()) {
    MostraAlControlloPerdite(mappa_, dimensioneMappa_);
}

MemoriaRecord::~MemoriaRecord() {
    arena_.release();
    NascondiAlControlloPerdite(mappa_, dimensioneMappa_);
    if (mappa_) munmap(mappa_, dimensioneMappa_);
}
