#include "preview/FileEMail.h"

#include "common/FileSostitutivo.h"
#include "tableau/CreaTableau.h"

std::string NomeFileEMail() { return "e-mail" + Postazione() + ".txt"; }

void ScriviFileEMail(const std::string& testo) {
    FileSostitutivo file(NomeFileEMail(), "il file della posta elettronica");
    file.ScriviRiga("OGGETTO");
    file.Scrivi(testo);
    file.Scrivi("\r\n");
    file.Completa();
}
