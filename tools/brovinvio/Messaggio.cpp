#include "Messaggio.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "Impostazioni.h"
#include "common/Codifica.h"
#include "common/CartellaDati.h"
#include "common/Routine.h"
#include "preview/FileEMail.h"

namespace {

constexpr std::size_t kLunghezzaRigaCodificata = 76;
// A preview page is some 30 KiB, a whole tableau a few hundred: a larger mail
// file is not a tableau, and many mail servers refuse such a message anyway.
constexpr std::uintmax_t kMassimoFileMail = 2 * 1024 * 1024;

std::string Esadecimale(unsigned char c) {
    constexpr char cifre[] = "0123456789ABCDEF";
    return {'=', cifre[c >> 4], cifre[c & 0xF]};
}

// One line of the text as quoted-printable: "=" and bytes outside printable
// ASCII written as =XX, a blank or tab at the end of the line too, and lines
// longer than a mail line allows broken by soft line breaks ("=" at the end).
std::string QuotedPrintable(const std::string& riga) {
    std::string codificata, corrente;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(riga[i]);
        const bool ultimo = i + 1 == riga.size();
        const bool letterale = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !ultimo);
        const std::string pezzo = letterale ? std::string(1, static_cast<char>(c)) : Esadecimale(c);
        if (corrente.size() + pezzo.size() > kLunghezzaRigaCodificata - 1) {
            codificata += corrente + "=\r\n";
            corrente.clear();
        }
        corrente += pezzo;
    }
    return codificata + corrente + "\r\n";
}

// A header text with letters outside ASCII as an encoded word of UTF-8.
std::string IntestazioneUtf8(const std::string& testo) {
    bool ascii = true;
    for (const unsigned char c : testo) ascii = ascii && c >= 32 && c < 127;
    if (ascii) return testo;
    std::string parola = "=?UTF-8?Q?";
    for (const unsigned char c : testo) {
        const bool letterale = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        parola += c == ' ' ? std::string("_") : letterale ? std::string(1, static_cast<char>(c)) : Esadecimale(c);
    }
    return parola + "?=";
}

std::string DataIntestazione(std::time_t adesso) {
    std::tm locale{};
    localtime_r(&adesso, &locale);
    static const char* const giorni[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const mesi[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char ora[32];
    std::strftime(ora, sizeof ora, "%H:%M:%S %z", &locale);
    return std::string(giorni[locale.tm_wday]) + ", " + std::to_string(locale.tm_mday) + " " +
           mesi[locale.tm_mon] + " " + std::to_string(locale.tm_year + 1900) + " " + ora;
}

std::string Base64(const std::string& byte) {
    constexpr char cifre[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string codificato;
    for (std::size_t i = 0; i < byte.size(); i += 3) {
        std::uint32_t gruppo = static_cast<unsigned char>(byte[i]) << 16;
        if (i + 1 < byte.size()) gruppo |= static_cast<unsigned char>(byte[i + 1]) << 8;
        if (i + 2 < byte.size()) gruppo |= static_cast<unsigned char>(byte[i + 2]);
        codificato += cifre[(gruppo >> 18) & 63];
        codificato += cifre[(gruppo >> 12) & 63];
        codificato += i + 1 < byte.size() ? cifre[(gruppo >> 6) & 63] : '=';
        codificato += i + 2 < byte.size() ? cifre[gruppo & 63] : '=';
        // Lines of 76 characters, as a mail line allows.
        if ((i / 3 + 1) % 19 == 0) codificato += "\r\n";
    }
    if (!codificato.ends_with("\r\n")) codificato += "\r\n";
    return codificato;
}

// The type of a file by its extension.
std::string TipoAllegato(const std::string& nome) {
    const auto punto = nome.rfind('.');
    const std::string estensione = punto == std::string::npos ? "" : Maiuscolo(nome.substr(punto + 1));
    if (estensione == "PDF") return "application/pdf";
    if (estensione == "TXT") return "text/plain; charset=UTF-8";
    return "application/octet-stream";
}

// A file name for the headers: ASCII letters, digits and ".-_", anything else as "_".
std::string NomeAllegato(const std::string& nome) {
    std::string pulito;
    for (const unsigned char c : nome)
        pulito += (std::isalnum(c) && c < 128) || c == '.' || c == '-' || c == '_' ? static_cast<char>(c) : '_';
    return pulito;
}

std::string IdentificativoMessaggio(const std::string& mittente, std::time_t adesso) {
    const auto chiocciola = mittente.rfind('@');
    const std::string dominio = chiocciola == std::string::npos ? "localhost" : mittente.substr(chiocciola + 1);
    return "<" + std::to_string(adesso) + "." + std::to_string(getpid()) + ".brovinvio@" + dominio + ">";
}

}  // namespace

std::string ElencoDestinatari(const ImpostazioniPosta& impostazioni) {
    std::string elenco;
    for (const auto& destinatario : impostazioni.destinatari) elenco += (elenco.empty() ? "" : ", ") + destinatario;
    return elenco;
}

std::vector<std::string> LeggiFileMail(const Contesto& contesto) {
    const std::string nome = NomeFileEMail(contesto.postazione);
    const auto trovato = contesto.cartella.Trova(nome);
    if (!trovato) throw std::runtime_error("Non c'è nessun messaggio da inviare: manca il file " + nome + ".");
    const auto fd = contesto.cartella.ApriInLettura(*trovato, "il messaggio da inviare");
    struct stat info {};
    if (fd && fstat(fd->Fd(), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) > kMassimoFileMail)
        throw std::runtime_error("Il file " + nome + " è troppo grande per un messaggio (" +
                                 std::to_string(info.st_size / 1024) + " KiB, al massimo " +
                                 std::to_string(kMassimoFileMail / 1024) +
                                 " KiB): controllare che contenga il tableau da inviare.");
    const auto testo = contesto.cartella.Leggi(*trovato, kMassimoFileMail, "il messaggio da inviare");
    std::vector<std::string> righe = testo ? DividiRighe(*testo) : std::vector<std::string>();
    for (auto& riga : righe) riga = Cp1252ToUtf8(riga);
    if (righe.empty() || righe.front() != "OGGETTO")
        throw std::runtime_error("Il file " + nome +
                                 " non è un messaggio da inviare: la prima riga deve essere OGGETTO.");
    righe.erase(righe.begin());
    return righe;
}

Allegato LeggiAllegato(const CartellaDati& cartella, const std::string& percorso) {
    std::vector<std::string> passi;
    for (std::size_t inizio = 0; inizio <= percorso.size();) {
        const std::size_t barra = std::min(percorso.find('/', inizio), percorso.size());
        passi.push_back(percorso.substr(inizio, barra - inizio));
        inizio = barra + 1;
    }
    for (const std::string& passo : passi)
        if (passo.empty() || passo == "." || passo == "..")
            throw std::runtime_error("Il file da allegare \"" + percorso +
                                     "\" non è valido: va indicato dentro la cartella dei dati, senza \"..\" e "
                                     "senza \"/\" all'inizio (per esempio doc/quadro1202612071830.pdf).");
    CartellaDati cartellaFile = cartella;
    for (std::size_t i = 0; i + 1 < passi.size(); ++i) cartellaFile = cartellaFile.Sottocartella(passi[i]);
    const auto fd = cartellaFile.ApriInLettura(passi.back(), "il file da allegare");
    if (!fd) throw std::runtime_error("Manca il file da allegare " + percorso + ".");
    struct stat info {};
    if (fstat(fd->Fd(), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) > kMassimoAllegato)
        throw std::runtime_error("Il file da allegare " + percorso + " è troppo grande per un messaggio (" +
                                 std::to_string(info.st_size / 1024) + " KiB, al massimo " +
                                 std::to_string(kMassimoAllegato / 1024) + " KiB).");
    auto contenuto = cartellaFile.Leggi(passi.back(), kMassimoAllegato, "il file da allegare");
    if (!contenuto) throw std::runtime_error("Manca il file da allegare " + percorso + ".");
    return {passi.back(), std::move(*contenuto)};
}

std::string ComponiMessaggio(const ImpostazioniPosta& impostazioni, const std::vector<std::string>& righe,
                             const Allegato* allegato) {
    const std::time_t adesso = std::time(nullptr);
    std::string messaggio = "Date: " + DataIntestazione(adesso) + "\r\n" +
                            "From: " + impostazioni.mittente + "\r\n" +
                            "To: " + ElencoDestinatari(impostazioni) + "\r\n" +
                            "Subject: " + IntestazioneUtf8(impostazioni.oggetto) + "\r\n" +
                            "Message-ID: " + IdentificativoMessaggio(impostazioni.mittente, adesso) + "\r\n" +
                            "MIME-Version: 1.0\r\n";
    const std::string testo = "Content-Type: text/plain; charset=UTF-8\r\n"
                              "Content-Transfer-Encoding: quoted-printable\r\n"
                              "\r\n";
    // A boundary made of characters quoted-printable and base64 never write together.
    const std::string confine = "=_brovinvio_" + std::to_string(adesso) + "_=";
    if (allegato)
        messaggio += "Content-Type: multipart/mixed; boundary=\"" + confine + "\"\r\n\r\n--" + confine + "\r\n";
    messaggio += testo;
    for (const auto& riga : righe) messaggio += QuotedPrintable(riga);
    if (!allegato) return messaggio;
    const std::string nome = NomeAllegato(allegato->nome);
    // The line end before a boundary belongs to the boundary: the text keeps its last one.
    messaggio += "\r\n--" + confine + "\r\n" + "Content-Type: " + TipoAllegato(nome) + "; name=\"" + nome + "\"\r\n" +
                 "Content-Transfer-Encoding: base64\r\n" + "Content-Disposition: attachment; filename=\"" + nome +
                 "\"\r\n\r\n" + Base64(allegato->contenuto) + "--" + confine + "--\r\n";
    return messaggio;
}
