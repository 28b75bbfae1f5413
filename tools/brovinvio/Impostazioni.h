#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/CartellaDati.h"

// How a connection to the mail server is protected.
enum class Sicurezza {
    Tls,       // TLS from the first byte (SMTPS, port 465)
    StartTls,  // plain connection raised to TLS before logging in (port 587)
    Nessuna,   // no encryption: only for a server on the same machine
};

// The mail settings of the data folder (file "PostaElettronica.txt", UTF-8).
struct ImpostazioniPosta {
    std::string server;
    long porta = 0;
    Sicurezza sicurezza = Sicurezza::StartTls;
    std::string utente;    // empty: the server wants no login
    std::string password;  // the variable BROVINVIO_PASSWORD wins over the file
    std::string certificati;  // PEM file of certificate authorities trusted besides the system's
    std::string mittente;
    std::vector<std::string> destinatari;
    std::string oggetto = "Tableau settimanale";
};

extern const char* const NomeFileImpostazioni;

// The largest settings file read: a dozen lines; a larger file is refused unread.
constexpr std::size_t kMassimoFileImpostazioni = 64 * 1024;

// The settings of the file in the data folder `cartella` (name matched
// without regard to case); nothing when there is no such file. Throws
// std::runtime_error with an Italian message for a line, key or value that
// cannot be used, Errore 75 for a file that cannot be read or is too large.
std::optional<ImpostazioniPosta> LeggiImpostazioni(const CartellaDati& cartella);
