#include "support/Supporto.h"

#include <sys/mount.h>
#include <sys/wait.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/Errore.h"

namespace fs = std::filesystem;

fs::path CartellaDatiTest() { return fs::path(BROVATO5_DATI_TEST); }

CartellaTemporanea::CartellaTemporanea(bool entra) {
    std::string modello = (fs::temp_directory_path() / "brovato5-XXXXXX").string();
    if (!mkdtemp(modello.data())) throw std::runtime_error("mkdtemp failed");
    percorso_ = modello;
    if (entra) {
        precedente_ = fs::current_path();
        fs::current_path(percorso_);
    }
}

CartellaTemporanea::~CartellaTemporanea() {
    std::error_code ec;
    if (!precedente_.empty()) fs::current_path(precedente_, ec);
    fs::remove_all(percorso_, ec);
}

Contesto CartellaTemporanea::Dati(const std::string& postazione) const {
    return {CartellaDati(percorso_.string()), postazione};
}

Contesto ContestoCorrente() { return {CartellaDati("."), PostazioneDellAmbiente()}; }

FileArchivio FileDelTest(const fs::path& percorso) {
    return {CartellaDati(percorso.parent_path().string()), percorso.filename().string()};
}

void CartellaTemporanea::CopiaDa(const fs::path& origine) const {
    for (const auto& voce : fs::directory_iterator(origine)) {
        if (!voce.is_regular_file()) continue;
        const auto destinazione = percorso_ / voce.path().filename();
        fs::copy_file(voce.path(), destinazione, fs::copy_options::overwrite_existing);
        fs::permissions(destinazione, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    }
}

DiscoPiccolo::DiscoPiccolo(fs::path cartella, std::size_t byte) : cartella_(std::move(cartella)) {
    fs::create_directories(cartella_);
    const std::string opzioni = "size=" + std::to_string(byte);
    if (mount("tmpfs", cartella_.c_str(), "tmpfs", 0, opzioni.c_str()) != 0) {
        problema_ = "impossibile montare un tmpfs su " + cartella_.string() + " (errno " + std::to_string(errno) + ")";
        cartella_.clear();
    }
}

DiscoPiccolo::~DiscoPiccolo() {
    if (!cartella_.empty()) umount2(cartella_.c_str(), MNT_DETACH);
}

VariabileAmbiente::VariabileAmbiente(std::string nome, const char* valore) : nome_(std::move(nome)) {
    if (const char* v = std::getenv(nome_.c_str())) {
        aveva_ = true;
        vecchio_ = v;
    }
    if (valore)
        setenv(nome_.c_str(), valore, 1);
    else
        unsetenv(nome_.c_str());
}

VariabileAmbiente::~VariabileAmbiente() {
    if (aveva_)
        setenv(nome_.c_str(), vecchio_.c_str(), 1);
    else
        unsetenv(nome_.c_str());
}

std::tm Ora(int giorno, int mese, int anno, int ore, int minuti) {
    std::tm ora{};
    ora.tm_mday = giorno;
    ora.tm_mon = mese - 1;
    ora.tm_year = anno - 1900;
    ora.tm_hour = ore;
    ora.tm_min = minuti;
    return ora;
}

std::string LeggiFile(const fs::path& percorso) {
    std::ifstream file(percorso, std::ios::binary);
    std::ostringstream testo;
    testo << file.rdbuf();
    return testo.str();
}

void ScriviFile(const fs::path& percorso, const std::string& byte) {
    std::ofstream(percorso, std::ios::binary | std::ios::trunc) << byte;
}

std::string ReportNumerato(int righe, std::size_t lunghezza) {
    std::string testo;
    for (int i = 1; i <= righe; ++i) {
        std::string riga = std::to_string(i);
        riga.resize(lunghezza - 1, ' ');
        testo += riga + "\xB3\r\n";
    }
    return testo;
}

std::pair<int, std::string> EseguiConErrori(const std::string& comando) {
    // A folder of its own: other runs of the tests may be going on at the same time.
    const CartellaTemporanea appoggio;
    const std::string errori = (appoggio.Percorso() / "stderr.txt").string();
    const int stato = std::system((comando + " >/dev/null 2>" + errori).c_str());
    return {WEXITSTATUS(stato), LeggiFile(errori)};
}

int NumeroErroreDi(const std::function<void()>& azione) {
    try {
        azione();
    } catch (const Errore& e) {
        return e.Numero();
    }
    return 0;
}

LocaleVirgolaDecimale::LocaleVirgolaDecimale() {
    for (const char* nome : {"it_IT.UTF-8", "it_IT.utf8", "it_IT"}) {
        if (std::setlocale(LC_ALL, nome) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            attiva_ = true;
            return;
        }
    }
    std::setlocale(LC_ALL, "C");
}

LocaleVirgolaDecimale::~LocaleVirgolaDecimale() { std::setlocale(LC_ALL, "C"); }
