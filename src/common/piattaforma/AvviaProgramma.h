#pragma once

#include <string>

// Starts a helper program of the suite (the mailer) by name, without
// arguments and without waiting for it; it runs in the current folder.
class AvviaProgramma {
public:
    virtual ~AvviaProgramma() = default;

    // Starts `nome`: the program of that name beside this one first, then the
    // one found on PATH. Throws Errore 53 when it cannot be found or started.
    virtual void Avvia(const std::string& nome) = 0;
};
