#pragma once

#include <string>
#include <vector>

#include "common/Contesto.h"

// The text to send from the workstation's mail file (NomeFileEMail of the
// preview, in the data folder), in UTF-8, one entry per line (the line ends
// dropped). Throws std::runtime_error with an Italian message when the file
// is missing, larger than 2 MiB or does not begin with the line "OGGETTO",
// Errore 75 when it is a link or a special file or cannot be read.
std::vector<std::string> LeggiFileMail(const Contesto& contesto);

struct ImpostazioniPosta;

// The recipients of the settings as the header "To" lists them: "a, b".
std::string ElencoDestinatari(const ImpostazioniPosta& impostazioni);

// The whole e-mail as an SMTP server takes it: headers and the text encoded
// as quoted-printable UTF-8, CR LF line ends.
std::string ComponiMessaggio(const ImpostazioniPosta& impostazioni, const std::vector<std::string>& righe);
