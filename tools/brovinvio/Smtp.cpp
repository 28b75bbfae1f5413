#include "Smtp.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "Impostazioni.h"

namespace {

constexpr long kSecondiConnessione = 30;
constexpr long kSecondiInvio = 120;

// The part of the message not yet handed to libcurl.
struct DaInviare {
    const std::string& testo;
    std::size_t inviati = 0;
};

std::size_t Leggi(char* destinazione, std::size_t dimensione, std::size_t quanti, void* dati) {
    auto& daInviare = *static_cast<DaInviare*>(dati);
    const std::size_t n = std::min(dimensione * quanti, daInviare.testo.size() - daInviare.inviati);
    std::memcpy(destinazione, daInviare.testo.data() + daInviare.inviati, n);
    daInviare.inviati += n;
    return n;
}

std::string Indirizzo(const ImpostazioniPosta& impostazioni) {
    const std::string schema = impostazioni.sicurezza == Sicurezza::Tls ? "smtps://" : "smtp://";
    // An IPv6 address goes between brackets, apart from the port.
    const bool ipv6 = impostazioni.server.find(':') != std::string::npos && !impostazioni.server.starts_with('[');
    const std::string server = ipv6 ? "[" + impostazioni.server + "]" : impostazioni.server;
    return schema + server + ":" + std::to_string(impostazioni.porta);
}

// Why the sending failed, in words that say which setting to check.
std::string Motivo(CURLcode esito, const std::string& dettaglio, const ImpostazioniPosta& impostazioni) {
    const std::string server = "\"" + impostazioni.server + "\"";
    const std::string porta = std::to_string(impostazioni.porta);
    switch (esito) {
    case CURLE_URL_MALFORMAT:
        return "il nome del server di posta " + server + " non è valido: controllare server.";
    case CURLE_COULDNT_RESOLVE_HOST:
        return "il server di posta " + server + " non si trova: controllare il nome del server e la connessione "
               "alla rete.";
    case CURLE_COULDNT_CONNECT:
        return "il server di posta " + server + " non risponde sulla porta " + porta +
               ": controllare server e porta, e che la rete funzioni.";
    case CURLE_OPERATION_TIMEDOUT:
        return "il server di posta " + server + " non ha risposto in tempo (porta " + porta +
               "): controllare server, porta e la connessione alla rete.";
    case CURLE_USE_SSL_FAILED:
        return "il server di posta non offre la cifratura STARTTLS sulla porta " + porta +
               ": controllare porta e sicurezza (sicurezza = tls per la porta 465).";
    case CURLE_SSL_CONNECT_ERROR:
        return "la connessione cifrata con il server di posta non si è stabilita: controllare che porta e "
               "sicurezza vadano insieme (tls: porta 465, starttls: porta 587).";
    case CURLE_PEER_FAILED_VERIFICATION:
        if (dettaglio.find("host name") != std::string::npos)
            return "il certificato del server di posta è intestato a un altro nome: controllare che server sia "
                   "scritto come nel certificato.";
        return "il certificato del server di posta non è fidato: controllare il file dei certificati "
               "(certificati = ...) con l'autorità che lo firma.";
    case CURLE_SSL_CACERT_BADFILE:
        return "il file dei certificati \"" + impostazioni.certificati + "\" non si legge: controllare certificati.";
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
        return "il server di posta ha rifiutato l'accesso: controllare utente e password.";
    case CURLE_SEND_ERROR:
        if (dettaglio.starts_with("MAIL"))
            return "il server di posta ha rifiutato il mittente \"" + impostazioni.mittente +
                   "\": controllare mittente (di solito l'indirizzo dell'utente del server).";
        if (dettaglio.starts_with("RCPT"))
            return "il server di posta ha rifiutato un destinatario: controllare gli indirizzi di destinatari.";
        if (dettaglio.starts_with("DATA"))
            return "il server di posta ha rifiutato il messaggio.";
        [[fallthrough]];
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        return "la connessione con il server di posta si è interrotta: controllare la rete e riprovare.";
    case CURLE_WEIRD_SERVER_REPLY:
        return "sulla porta " + porta + " di " + server + " non risponde un server di posta: controllare porta "
               "e sicurezza.";
    default:
        return "errore di invio numero " + std::to_string(esito) + ".";
    }
}

using Curl = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using ListaCurl = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

ListaCurl ListaDestinatari(const ImpostazioniPosta& impostazioni) {
    ListaCurl lista(nullptr, curl_slist_free_all);
    for (const auto& destinatario : impostazioni.destinatari) {
        curl_slist* estesa = curl_slist_append(lista.get(), ("<" + destinatario + ">").c_str());
        if (!estesa) throw std::bad_alloc();
        lista.release();
        lista.reset(estesa);
    }
    return lista;
}

}  // namespace

void InviaSmtp(const ImpostazioniPosta& impostazioni, const std::string& messaggio) {
    Curl curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) throw std::runtime_error("Impossibile preparare l'invio della posta (libcurl).");
    const std::string indirizzo = Indirizzo(impostazioni);
    const std::string mittente = "<" + impostazioni.mittente + ">";
    const ListaCurl destinatari = ListaDestinatari(impostazioni);
    DaInviare daInviare{messaggio};
    char dettaglio[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, indirizzo.c_str());
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(impostazioni.sicurezza == Sicurezza::Nessuna ? CURLUSESSL_NONE : CURLUSESSL_ALL));
    // The server's certificate is always checked; a company server signed by
    // its own authority is trusted through the file of "certificati".
    if (!impostazioni.certificati.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, impostazioni.certificati.c_str());
    if (!impostazioni.utente.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, impostazioni.utente.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, impostazioni.password.c_str());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, mittente.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, destinatari.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, Leggi);
    curl_easy_setopt(c, CURLOPT_READDATA, &daInviare);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, dettaglio);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kSecondiConnessione);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, kSecondiInvio);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    const CURLcode esito = curl_easy_perform(c);
    if (esito != CURLE_OK) {
        // libcurl's own words follow, for whoever looks after the mail server.
        std::string tecnico = curl_easy_strerror(esito);
        if (dettaglio[0] && tecnico != dettaglio) tecnico += std::string(": ") + dettaglio;
        const std::string motivo = Motivo(esito, dettaglio, impostazioni);
        throw std::runtime_error("Invio non riuscito: " + motivo + " [" + tecnico + "]");
    }
}
