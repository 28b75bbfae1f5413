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

// A file sent with the text: its name and its bytes.
struct Allegato {
    std::string nome;
    std::string contenuto;
};

// The largest file attached: a PDF of the week of a large hotel is under a
// megabyte; mail servers refuse messages of some 20 MiB and more.
constexpr std::size_t kMassimoAllegato = std::size_t{16} << 20;

// The file `percorso` of the data folder (relative to it, "doc/quadro1….pdf")
// to attach, each of its folders and the file reached without a link. Throws
// std::runtime_error with an Italian message for an absolute path, a step
// "..", a file that is missing or larger than kMassimoAllegato; Errore 75 or
// 76 for a link, a special file or a file that cannot be read.
Allegato LeggiAllegato(const CartellaDati& cartella, const std::string& percorso);

struct ImpostazioniPosta;

// The recipients of the settings as the header "To" lists them: "a, b".
std::string ElencoDestinatari(const ImpostazioniPosta& impostazioni);

// The whole e-mail as an SMTP server takes it: headers and the text encoded
// as quoted-printable UTF-8, CR LF line ends; with `allegato`, a message of
// two parts, the text and the file in base64.
std::string ComponiMessaggio(const ImpostazioniPosta& impostazioni, const std::vector<std::string>& righe,
                             const Allegato* allegato = nullptr);
