#include "Messaggio.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "Impostazioni.h"
#include "common/Codifica.h"
#include "common/CartellaDati.h"
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

std::string ComponiMessaggio(const ImpostazioniPosta& impostazioni, const std::vector<std::string>& righe) {
    const std::time_t adesso = std::time(nullptr);
    std::string messaggio = "Date: " + DataIntestazione(adesso) + "\r\n" +
                            "From: " + impostazioni.mittente + "\r\n" +
                            "To: " + ElencoDestinatari(impostazioni) + "\r\n" +
                            "Subject: " + IntestazioneUtf8(impostazioni.oggetto) + "\r\n" +
                            "Message-ID: " + IdentificativoMessaggio(impostazioni.mittente, adesso) + "\r\n" +
                            "MIME-Version: 1.0\r\n"
                            "Content-Type: text/plain; charset=UTF-8\r\n"
                            "Content-Transfer-Encoding: quoted-printable\r\n"
                            "\r\n";
    for (const auto& riga : righe) messaggio += QuotedPrintable(riga);
    return messaggio;
}
