#include "Impostazioni.h"

#include <cstdlib>
#include <map>
#include <stdexcept>

#include "common/FileTesto.h"
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

// "chiave = valore" lines; blank lines and lines beginning with "#" skipped.
std::map<std::string, std::string> LeggiVoci(const std::string& percorso) {
    const auto righe = LeggiRighe(percorso);
    if (!righe) Sbagliato("impossibile leggerlo.");
    std::map<std::string, std::string> voci;
    int numero = 0;
    for (std::string riga : *righe) {
        ++numero;
        riga = Pulita(riga);
        if (riga.empty() || riga[0] == '#') continue;
        const auto uguale = riga.find('=');
        if (uguale == std::string::npos)
            Sbagliato("alla riga " + std::to_string(numero) + " manca \"=\" tra chiave e valore.");
        const std::string chiave = Pulita(riga.substr(0, uguale));
        if (!voci.emplace(chiave, Pulita(riga.substr(uguale + 1))).second)
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

// Addresses separated by commas.
std::vector<std::string> LeggiIndirizzi(const std::string& testo) {
    std::vector<std::string> indirizzi;
    for (std::size_t inizio = 0; inizio <= testo.size();) {
        const auto virgola = std::min(testo.find(',', inizio), testo.size());
        if (auto indirizzo = Pulita(testo.substr(inizio, virgola - inizio)); !indirizzo.empty())
            indirizzi.push_back(std::move(indirizzo));
        inizio = virgola + 1;
    }
    return indirizzi;
}

}  // namespace

std::optional<ImpostazioniPosta> LeggiImpostazioni() {
    const auto percorso = FileEsistente(NomeFileImpostazioni);
    if (!percorso) return std::nullopt;
    auto voci = LeggiVoci(*percorso);
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
    if (const char* password = std::getenv("BROVINVIO_PASSWORD")) impostazioni.password = password;
    impostazioni.certificati = voce("certificati");
    impostazioni.mittente = voce("mittente");
    impostazioni.destinatari = LeggiIndirizzi(voce("destinatari"));
    if (auto oggetto = voce("oggetto"); !oggetto.empty()) impostazioni.oggetto = std::move(oggetto);
    if (!voci.empty()) Sbagliato("chiave \"" + voci.begin()->first + "\" sconosciuta.");
    if (impostazioni.server.empty()) Sbagliato("manca il server di posta (server = ...).");
    if (impostazioni.mittente.empty()) Sbagliato("manca il mittente (mittente = ...).");
    if (impostazioni.destinatari.empty()) Sbagliato("mancano i destinatari (destinatari = ...).");
    return impostazioni;
}
