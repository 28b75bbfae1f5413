#include "preview/FileEMail.h"

#include "common/FileSostitutivo.h"

std::string NomeFileEMail(const std::string& postazione) { return "e-mail" + postazione + ".txt"; }

void ScriviFileEMail(const Contesto& contesto, const std::string& testo) {
    FileSostitutivo file(contesto.cartella, NomeFileEMail(contesto.postazione), "il file della posta elettronica");
    file.ScriviRiga("OGGETTO");
    file.Scrivi(testo);
    file.Scrivi("\r\n");
    file.Completa();
}
