#include "common/archivio/StatoFile.h"

#include <sys/stat.h>

std::optional<StatoFile> LeggiStatoFile(const std::string& percorso) {
    struct stat info {};
    if (stat(percorso.c_str(), &info) != 0) return std::nullopt;
    return StatoFile{info.st_dev,          info.st_ino,         info.st_size,        info.st_mtim.tv_sec,
                     info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
}
