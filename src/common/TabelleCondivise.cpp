#include "common/TabelleCondivise.h"

#include <sys/stat.h>

#include "common/Routine.h"

std::shared_ptr<const Tabella> TabelleCondivise::Leggi(const std::string& percorso, const std::string& nome,
                                                       const std::function<Tabella()>& leggi) {
    struct stat info {};
    // A file that cannot be examined is left to the reader, which reports it.
    if (stat(percorso.c_str(), &info) != 0) return std::make_shared<const Tabella>(leggi());
    const Chiave chiave{info.st_dev, info.st_ino, Maiuscolo(nome)};
    const Stato stato{info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
    Lettura& lettura = letture_[chiave];
    if (!lettura.tabella || !(lettura.stato == stato)) lettura = {stato, std::make_shared<const Tabella>(leggi())};
    return lettura.tabella;
}
