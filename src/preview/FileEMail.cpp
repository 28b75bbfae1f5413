#include "preview/FileEMail.h"

#include <fstream>

#include "common/Errore.h"
#include "tableau/CreaTableau.h"

std::string NomeFileEMail() { return "e-mail" + Postazione() + ".txt"; }

void ScriviFileEMail(const std::string& testo) {
    const std::string nome = NomeFileEMail();
    std::ofstream file(nome, std::ios::binary | std::ios::trunc);
    file << "OGGETTO\r\n" << testo << "\r\n";
    file.close();
    if (!file) throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile scrivere il file '" + nome + "'.");
}
