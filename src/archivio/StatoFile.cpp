#include "archivio/StatoFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <xxhash.h>

#include <array>
#include <cerrno>
#include <memory>
#include <span>
#include <utility>

#include "common/Errore.h"

namespace {

// Fills `blocco` from the file as far as it goes; the bytes read, nothing on an error.
std::optional<std::size_t> Riempi(int fd, std::span<unsigned char> blocco) {
    std::size_t pieno = 0;
    while (pieno < blocco.size()) {
        const ssize_t letti = read(fd, blocco.data() + pieno, blocco.size() - pieno);
        if (letti < 0 && errno == EINTR) continue;
        if (letti < 0) return std::nullopt;
        if (letti == 0) break;
        pieno += static_cast<std::size_t>(letti);
    }
    return pieno;
}

// A 64-bit fingerprint of the file's bytes (XXH3), fast (a 10 MB file in a
// few milliseconds, reading included) and not cryptographic: it tells a
// changed file from the one read before, not a file made on purpose to look
// the same.
std::optional<std::uint64_t> ImprontaDelFile(int fd) {
    // On the stack and left as it is: a fingerprint is taken a few times for
    // each file of a build, and memory asked of the system anew each time
    // would be cleared and mapped page by page.
    std::array<unsigned char, std::size_t{1} << 16> blocco;
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> impronta(XXH3_createState(), XXH3_freeState);
    if (!impronta || XXH3_64bits_reset(impronta.get()) != XXH_OK) return std::nullopt;
    for (;;) {
        const auto letti = Riempi(fd, blocco);
        if (!letti) return std::nullopt;
        XXH3_64bits_update(impronta.get(), blocco.data(), *letti);
        if (*letti < blocco.size()) return XXH3_64bits_digest(impronta.get());
    }
}

using Orologio = UltimeImpronte::Orologio;

StatoFile StatoSenzaImpronta(const struct stat& info) {
    return StatoFile{info.st_dev,          info.st_ino,         info.st_size,        info.st_mtim.tv_sec,
                     info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec, 0};
}

// The state of the file open at `fd`, its fingerprint taken unless one of
// `impronte` begun at `dopo` or later serves (none: always taken).
std::optional<StatoFile> StatoDi(int fd, UltimeImpronte& impronte, std::optional<Orologio::time_point> dopo) {
    const auto inizio = Orologio::now();
    struct stat info {};
    if (fstat(fd, &info) != 0) return std::nullopt;
    StatoFile stato = StatoSenzaImpronta(info);
    if (dopo)
        if (auto presa = impronte.Trova(stato, *dopo)) return presa;
    const auto impronta = ImprontaDelFile(fd);
    if (!impronta) return std::nullopt;
    stato.impronta = *impronta;
    impronte.Conserva(stato, inizio);
    return stato;
}

}  // namespace

std::optional<StatoFile> UltimeImpronte::Trova(const StatoFile& senzaImpronta, Orologio::time_point dopo) const {
    const std::lock_guard blocco(mutex_);
    const auto trovata = impronte_.find({senzaImpronta.dispositivo, senzaImpronta.inode});
    if (trovata == impronte_.end() || trovata->second.inizio < dopo) return std::nullopt;
    StatoFile presa = trovata->second.stato;
    presa.impronta = 0;
    if (presa != senzaImpronta) return std::nullopt;
    return trovata->second.stato;
}

void UltimeImpronte::Conserva(const StatoFile& stato, Orologio::time_point inizio) {
    const std::lock_guard blocco(mutex_);
    auto& voce = impronte_[{stato.dispositivo, stato.inode}];
    if (voce.inizio <= inizio) voce = {stato, inizio};
}

std::optional<StatoFile> LeggiStatoFile(const FileArchivio& file, UltimeImpronte& impronte,
                                        std::optional<Orologio::time_point> dopo) {
    try {
        const Descrittore fd = ApriFileArchivio(file);
        return StatoDi(fd.Fd(), impronte, dopo);
    } catch (const Errore&) {
        return std::nullopt;
    }
}

std::optional<StatoFile> LeggiStatoFile(const FileArchivio& file) {
    UltimeImpronte nessuna;
    return LeggiStatoFile(file, nessuna);
}
