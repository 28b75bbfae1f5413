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

// The folder of the running program; empty when the system does not say.
fs::path CartellaProgrammaInEsecuzione() {
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

}  // namespace

std::string TrovaProgrammaAusiliario(const std::string& nome) {
    const fs::path cartellaProgramma = CartellaProgrammaInEsecuzione();
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

std::string CartellaProgrammi() {
    const fs::path cartella = CartellaProgrammaInEsecuzione();
    if (cartella.empty()) return {};
    const fs::path programmi = (cartella / BROVATO5_BIN_DA_AUSILIARI).lexically_normal();
    if ((programmi / BROVATO5_AUSILIARI_DA_BIN).lexically_normal() == cartella) return programmi.string();
    return cartella.string();
}
