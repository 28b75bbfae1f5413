#include "common/Ambiente.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "common/Routine.h"

extern char** environ;

std::optional<std::string> LeggiAmbiente(std::string_view nome) {
    const std::string cercato = Maiuscolo(nome);
    std::optional<std::string> valore;
    for (char** voce = environ; voce && *voce; ++voce) {
        const std::string_view testo(*voce);
        const auto uguale = testo.find('=');
        if (uguale == std::string_view::npos || Maiuscolo(testo.substr(0, uguale)) != cercato) continue;
        valore = std::string(testo.substr(uguale + 1));
        if (testo.substr(0, uguale) == nome) break;
    }
    return valore;
}

void PreparaCartellaRuntime() {
    const char* attuale = std::getenv("XDG_RUNTIME_DIR");
    if (attuale && *attuale) return;
    const char* temporanea = std::getenv("TMPDIR");
    const uid_t utente = geteuid();
    const passwd* voce = getpwuid(utente);
    const std::string cartella = std::string(temporanea && *temporanea ? temporanea : "/tmp") + "/runtime-" +
                                 (voce ? std::string(voce->pw_name) : std::to_string(utente));
    mkdir(cartella.c_str(), 0700);
    struct stat info {};
    // Not a link, and the user's own: nobody else may read or plant files in it.
    if (lstat(cartella.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != utente) return;
    if ((info.st_mode & 07777) != 0700 && chmod(cartella.c_str(), 0700) != 0) return;
    setenv("XDG_RUNTIME_DIR", cartella.c_str(), 1);
}
