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
    return schema + impostazioni.server + ":" + std::to_string(impostazioni.porta);
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
        std::string motivo = dettaglio[0] ? dettaglio : curl_easy_strerror(esito);
        if (motivo.ends_with('.')) motivo.pop_back();
        throw std::runtime_error("Invio a " + indirizzo + " non riuscito: " + motivo + ".");
    }
}
