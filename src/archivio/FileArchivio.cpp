#include "archivio/FileArchivio.h"

#include <filesystem>

#include "archivio/Archivio.h"
#include "common/Codifica.h"
#include "common/Errore.h"

namespace fs = std::filesystem;

FileArchivio TrovaFile(const CartellaDati& cartella, const std::string& nomeFile) {
    if (auto nome = cartella.Trova(nomeFile)) return {cartella, std::move(*nome)};
    throw Errore(NumeroErrore::FileNonTrovato, "Impossibile trovare il file '" + Cp1252ToUtf8(nomeFile) +
                                                   "' nella cartella dei dati '" + cartella.Percorso() + "'.");
}

FileArchivio FileDelPercorso(const std::string& percorso) {
    const fs::path p(percorso);
    return TrovaFile(CartellaDati(p.has_parent_path() ? p.parent_path().string() : "."), p.filename().string());
}

Descrittore ApriFileArchivio(const FileArchivio& file) {
    auto fd = file.cartella.ApriInLettura(file.nome, "il database", NumeroErrore::FileNonApribile);
    if (!fd) throw ErroreFileNonTrovato(file.Percorso());
    return std::move(*fd);
}
