#pragma once

#include <string>

#include "common/Contesto.h"

// The mail file that the external mailer reads: "e-mail" + workstation + ".txt".
std::string NomeFileEMail(const std::string& postazione);

// Writes the mail file anew in the data folder: the line "OGGETTO", then
// `testo` (Windows-1252, lines ending in CR LF) followed by one CR LF. The
// file is complete and closed on return; a failure leaves the previous one.
// Throws Errore 75.
void ScriviFileEMail(const Contesto& contesto, const std::string& testo);
