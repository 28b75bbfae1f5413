#include "Impostazioni.h"

#include <arpa/inet.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "common/CartellaDati.h"
#include "common/Routine.h"

const char* const NomeFileImpostazioni = "PostaElettronica.txt";

namespace {

// Blanks, tabs and a CR (a file edited on Windows) removed at both ends.
std::string Pulita(const std::string& testo) {
    const auto inizio = testo.find_first_not_of(" \t\r");
    if (inizio == std::string::npos) return {};
    return testo.substr(inizio, testo.find_last_not_of(" \t\r") - inizio + 1);
}

[[noreturn]] void Sbagliato(const std::string& cosa) {
    throw std::runtime_error(std::string("File ") + NomeFileImpostazioni + ": " + cosa);
}

// A CR, a tab or any other control character: inside a value it would reach the
// mail server's commands and the message's headers as they are.
bool HaCaratteriDiControllo(const std::string& testo) {
    return std::any_of(testo.begin(), testo.end(), [](unsigned char c) { return c < 32 || c == 127; });
}

// "chiave = valore" lines; blank lines and lines beginning with "#" skipped.
std::map<std::string, std::string> LeggiVoci(const std::vector<std::string>& righe) {
    std::map<std::string, std::string> voci;
    int numero = 0;
    for (std::string riga : righe) {
        ++numero;
        riga = Pulita(riga);
        if (riga.empty() || riga[0] == '#') continue;
        const auto uguale = riga.find('=');
        if (uguale == std::string::npos)
            Sbagliato("alla riga " + std::to_string(numero) + " manca \"=\" tra chiave e valore.");
        const std::string chiave = Pulita(riga.substr(0, uguale));
        const std::string valore = Pulita(riga.substr(uguale + 1));
        if (HaCaratteriDiControllo(valore))
            Sbagliato("alla riga " + std::to_string(numero) + " il valore di \"" + chiave +
                      "\" contiene caratteri di controllo (un ritorno a capo, una tabulazione): va scritto "
                      "su una riga sola, senza.");
        if (!voci.emplace(chiave, valore).second)
            Sbagliato("la chiave \"" + chiave + "\" compare due volte.");
    }
    return voci;
}

Sicurezza LeggiSicurezza(const std::string& testo) {
    if (testo == "tls") return Sicurezza::Tls;
    if (testo == "starttls" || testo.empty()) return Sicurezza::StartTls;
    if (testo == "nessuna") return Sicurezza::Nessuna;
    Sbagliato("sicurezza \"" + testo + "\" sconosciuta (tls, starttls o nessuna).");
}

long PortaPredefinita(Sicurezza sicurezza) {
    switch (sicurezza) {
        case Sicurezza::Tls: return 465;
        case Sicurezza::StartTls: return 587;
        case Sicurezza::Nessuna: return 25;
    }
    return 0;
}

long LeggiPorta(const std::string& testo, Sicurezza sicurezza) {
    if (testo.empty()) return PortaPredefinita(sicurezza);
    const auto porta = NumeroDelTesto(testo);
    if (!porta || *porta < 1 || *porta > 65535 || *porta != static_cast<long>(*porta))
        Sbagliato("porta \"" + testo + "\" non valida.");
    return static_cast<long>(*porta);
}

// Addresses separated by commas or semicolons.
std::vector<std::string> LeggiIndirizzi(const std::string& testo) {
    std::vector<std::string> indirizzi;
    for (std::size_t inizio = 0; inizio <= testo.size();) {
        const auto virgola = std::min(testo.find_first_of(",;", inizio), testo.size());
        if (auto indirizzo = Pulita(testo.substr(inizio, virgola - inizio)); !indirizzo.empty())
            indirizzi.push_back(std::move(indirizzo));
        inizio = virgola + 1;
    }
    return indirizzi;
}

// True for a server on this machine: "localhost" or a loopback address
// (127.x.x.x, ::1, with or without brackets).
bool ServerLocale(std::string server) {
    if (server.size() > 2 && server.front() == '[' && server.back() == ']')
        server = server.substr(1, server.size() - 2);
    if (Maiuscolo(server) == "LOCALHOST") return true;
    in_addr ipv4{};
    if (inet_pton(AF_INET, server.c_str(), &ipv4) == 1) return (ntohl(ipv4.s_addr) >> 24) == 127;
    in6_addr ipv6{};
    return inet_pton(AF_INET6, server.c_str(), &ipv6) == 1 && IN6_IS_ADDR_LOOPBACK(&ipv6);
}

}  // namespace

std::optional<ImpostazioniPosta> LeggiImpostazioni(const CartellaDati& cartella) {
    const auto testo = cartella.Leggi(NomeFileImpostazioni, kMassimoFileImpostazioni, "il file delle impostazioni di posta");
    if (!testo) return std::nullopt;
    auto voci = LeggiVoci(DividiRighe(*testo));
    const auto voce = [&voci](const std::string& chiave) {
        const auto trovata = voci.extract(chiave);
        return trovata ? trovata.mapped() : std::string();
    };
    ImpostazioniPosta impostazioni;
    impostazioni.server = voce("server");
    impostazioni.sicurezza = LeggiSicurezza(voce("sicurezza"));
    impostazioni.porta = LeggiPorta(voce("porta"), impostazioni.sicurezza);
    impostazioni.utente = voce("utente");
    impostazioni.password = voce("password");
    if (const char* password = std::getenv("BROVINVIO_PASSWORD")) {
        impostazioni.password = password;
        if (HaCaratteriDiControllo(impostazioni.password))
            throw std::runtime_error("La variabile BROVINVIO_PASSWORD contiene caratteri di controllo: va scritta "
                                     "senza ritorni a capo né tabulazioni.");
    }
    impostazioni.certificati = voce("certificati");
    // The mail library would wait for ever on a FIFO named there by whoever writes the shared folder.
    if (struct stat info {}; !impostazioni.certificati.empty() &&
                             (stat(impostazioni.certificati.c_str(), &info) != 0 || !S_ISREG(info.st_mode)))
        Sbagliato("il file dei certificati \"" + impostazioni.certificati + "\" non c'è o non è un file.");
    impostazioni.mittente = voce("mittente");
    impostazioni.destinatari = LeggiIndirizzi(voce("destinatari"));
    if (auto oggetto = voce("oggetto"); !oggetto.empty()) impostazioni.oggetto = std::move(oggetto);
    if (!voci.empty()) Sbagliato("chiave \"" + voci.begin()->first + "\" sconosciuta.");
    if (impostazioni.server.empty()) Sbagliato("manca il server di posta (server = ...).");
    if (impostazioni.mittente.empty()) Sbagliato("manca il mittente (mittente = ...).");
    if (impostazioni.destinatari.empty()) Sbagliato("mancano i destinatari (destinatari = ...).");
    // Without encryption the login and the text cross the network in clear.
    if (impostazioni.sicurezza == Sicurezza::Nessuna && !ServerLocale(impostazioni.server))
        Sbagliato("sicurezza = nessuna vale solo per un server su questo computer (localhost, 127.0.0.1): per \"" +
                  impostazioni.server + "\" scrivere sicurezza = starttls o tls.");
    return impostazioni;
}
