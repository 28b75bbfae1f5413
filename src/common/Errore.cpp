#include "common/Errore.h"

Errore::Errore(int numero, std::string descrizione)
    : std::runtime_error("Errore " + std::to_string(numero) + ": " + descrizione),
      numero_(numero),
      descrizione_(std::move(descrizione)) {}

std::string Errore::Testo() const { return what(); }

Errore ErroreFileInesistente(const std::string& nome) {
    return Errore(NumeroErrore::FileInesistente, "File non trovato: '" + nome + "'.");
}
