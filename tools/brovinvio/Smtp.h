#pragma once

#include <string>

struct ImpostazioniPosta;

// Sends `messaggio` (headers and text, CR LF line ends) from the sender to
// the recipients of the settings through their SMTP server. Throws
// std::runtime_error with an Italian message when the server cannot be
// reached or refuses the login, the sender, a recipient or the message.
void InviaSmtp(const ImpostazioniPosta& impostazioni, const std::string& messaggio);
