#pragma once

#include <string>
#include <vector>

// The mail file of this workstation in the current folder: "e-mail" + the
// text of PCLocal + ".txt".
std::string NomeFileMail();

// The text to send from the mail file, in UTF-8, one entry per line (the
// line ends dropped). Throws std::runtime_error with an Italian message when
// the file is missing or does not begin with the line "OGGETTO".
std::vector<std::string> LeggiFileMail();

struct ImpostazioniPosta;

// The recipients of the settings as the header "To" lists them: "a, b".
std::string ElencoDestinatari(const ImpostazioniPosta& impostazioni);

// The whole e-mail as an SMTP server takes it: headers and the text encoded
// as quoted-printable UTF-8, CR LF line ends.
std::string ComponiMessaggio(const ImpostazioniPosta& impostazioni, const std::vector<std::string>& righe);
