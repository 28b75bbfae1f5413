#include "common/FileTesto.h"

#include <filesystem>
#include <fstream>

#include "common/archivio/Archivio.h"
#include "common/Errore.h"

std::optional<std::string> FileEsistente(const std::string& percorso) {
    const std::filesystem::path p(percorso);
    try {
        return TrovaFile(p.has_parent_path() ? p.parent_path().string() : ".", p.filename().string());
    } catch (const Errore&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::string>> LeggiRighe(const std::string& percorso) {
    std::ifstream file(percorso, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::string> righe;
    for (std::string riga; std::getline(file, riga);) {
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        righe.push_back(std::move(riga));
    }
    return righe;
}
