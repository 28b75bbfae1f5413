#include "common/ProgrammiAusiliari.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool Eseguibile(const fs::path& percorso) {
    std::error_code ec;
    return fs::is_regular_file(percorso, ec) && access(percorso.c_str(), X_OK) == 0;
}

// True when `percorso` lies inside the folder `cartella`.
bool Dentro(const fs::path& percorso, const fs::path& cartella) {
    return std::mismatch(cartella.begin(), cartella.end(), percorso.begin(), percorso.end()).first == cartella.end();
}

}  // namespace

std::string TrovaProgrammaAusiliario(const std::string& nome) {
    std::error_code ec;
    const fs::path cartellaProgramma = fs::read_symlink("/proc/self/exe", ec).parent_path();
    if (cartellaProgramma.empty()) return {};
    std::vector<fs::path> cartelle = {cartellaProgramma,
                                      (cartellaProgramma / BROVATO5_AUSILIARI_DA_BIN).lexically_normal()};
    const fs::path cartellaBuild(BROVATO5_CARTELLA_BUILD);
    if (Dentro(cartellaProgramma, cartellaBuild)) cartelle.push_back(cartellaBuild);
    for (const fs::path& cartella : cartelle) {
        const fs::path candidato = cartella / nome;
        if (Eseguibile(candidato)) return candidato.string();
    }
    return {};
}
