#include "quadro/JsonSettimana.h"

#include <charconv>
#include <cstdio>

#include "common/Codifica.h"
#include "common/Routine.h"

namespace {

// Builds the text of one JSON value after the other; a comma goes before
// every member or element but the first of its object or array.
class Scrittore {
public:
    void Apri(char parentesi) {
        Separa();
        testo_ += parentesi;
        primo_ = true;
    }
    void Chiudi(char parentesi) {
        testo_ += parentesi;
        primo_ = false;
    }
    void Chiave(const char* nome) {
        Separa();
        Stringa(nome);
        testo_ += ':';
        primo_ = true;
    }
    void Testo(const std::string& utf8) {
        Separa();
        Stringa(utf8);
    }
    void Intero(std::int64_t n) {
        Separa();
        testo_ += std::to_string(n);
    }
    void Decimale(double x) {
        Separa();
        char cifre[32];
        const auto fine = std::to_chars(cifre, cifre + sizeof cifre, x, std::chars_format::fixed, 2).ptr;
        testo_.append(cifre, fine);
    }
    void Booleano(bool b) {
        Separa();
        testo_ += b ? "true" : "false";
    }
    void Nullo() {
        Separa();
        testo_ += "null";
    }
    // The next member or element begins a line of its own.
    void ACapo() { aCapo_ = true; }
    std::string Risultato() && { return std::move(testo_) + '\n'; }

private:
    void Separa() {
        if (!primo_) testo_ += ',';
        if (aCapo_) testo_ += '\n';
        primo_ = aCapo_ = false;
    }
    void Stringa(const std::string& utf8) {
        testo_ += '"';
        for (const char c : utf8) {
            if (c == '"' || c == '\\') {
                testo_ += '\\';
                testo_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char codice[8];
                std::snprintf(codice, sizeof codice, "\\u%04x", static_cast<unsigned>(c));
                testo_ += codice;
            } else {
                testo_ += c;
            }
        }
        testo_ += '"';
    }

    std::string testo_;
    bool primo_ = true;
    bool aCapo_ = false;
};

void Campo(Scrittore& s, const char* chiave, const std::string& cp1252) {
    s.Chiave(chiave);
    s.Testo(Cp1252ToUtf8(cp1252));
}

void Campo(Scrittore& s, const char* chiave, std::int64_t n) {
    s.Chiave(chiave);
    s.Intero(n);
}

void Totali(Scrittore& s, const TotaliGiorno& t) {
    s.Chiave("totali");
    s.Apri('{');
    Campo(s, "arrivi", t.arrivi);
    Campo(s, "partenze", t.partenze);
    Campo(s, "fermate", t.fermate);
    Campo(s, "occupate", t.occupate);
    Campo(s, "libere", t.libere);
    Campo(s, "fuoriServizio", t.fuoriServizio);
    Campo(s, "persone", t.persone);
    s.Chiave("occupazione");
    s.Decimale(t.occupazione);
    s.Chiudi('}');
}

const char* Momento(MomentoSoggiorno momento) {
    switch (momento) {
    case MomentoSoggiorno::Arrivo:
        return "arrivo";
    case MomentoSoggiorno::Soggiorno:
        return "soggiorno";
    case MomentoSoggiorno::Partenza:
        break;
    }
    return "partenza";
}

void ScriviPartita(Scrittore& s, const Partita& p) {
    s.Apri('{');
    s.Chiave("genere");
    s.Testo(p.genere == GenerePartita::Ospite ? "ospite" : "prenotazione");
    Campo(s, "nome", p.nome);
    Campo(s, "arrivo", p.arrivo);
    Campo(s, "partenza", p.partenza);
    s.Chiave("momento");
    s.Testo(Momento(p.momento));
    Campo(s, "persone", p.persone);
    Campo(s, "agenzia", p.agenzia);
    Campo(s, "pagamento", p.pagamento == ' ' ? std::string() : std::string(1, p.pagamento));
    Campo(s, "importo", p.importo);
    Campo(s, "numero", p.numero);
    Campo(s, "tipoPrenotazione", p.tipoPrenotazione);
    s.Chiave("mostrata");
    s.Booleano(p.mostrata);
    s.Chiudi('}');
}

void ScriviCamera(Scrittore& s, const CameraSettimana& camera) {
    s.Apri('{');
    Campo(s, "numero", camera.numero);
    Campo(s, "tipo", camera.tipo);
    s.Chiave("piano");
    if (camera.piano)
        s.Intero(*camera.piano);
    else
        s.Nullo();
    s.Chiave("fuoriServizio");
    s.Booleano(camera.fuoriServizio);
    s.Chiave("giorni");
    s.Apri('[');
    for (const GiornoCamera& giorno : camera.giorni) {
        s.Apri('{');
        s.Chiave("cellaA");
        s.Testo(CellaInUtf8(giorno.cellaA));
        s.Chiave("cellaB");
        s.Testo(CellaInUtf8(giorno.cellaB));
        s.Chiave("partite");
        s.Apri('[');
        for (const Partita& partita : giorno.partite) ScriviPartita(s, partita);
        s.Chiudi(']');
        s.Chiudi('}');
    }
    s.Chiudi(']');
    s.Chiudi('}');
}

}  // namespace

std::string CellaInUtf8(const std::string& cella) {
    if (cella.size() <= kPostoBarraCella || cella[kPostoBarraCella] != Griglia::Verticale) return Cp1252ToUtf8(cella);
    return Cp1252ToUtf8(cella.substr(0, kPostoBarraCella)) + "\u2502" +
           Cp1252ToUtf8(cella.substr(kPostoBarraCella + 1));
}

std::string JsonSettimana(const Settimana& settimana, const std::string& stampato) {
    const auto totali = TotaliDeiGiorni(settimana);
    Scrittore s;
    s.Apri('{');
    Campo(s, "formato", 1);
    Campo(s, "hotel", settimana.hotel);
    Campo(s, "nomeHotel", settimana.nomeHotel);
    Campo(s, "tableau", settimana.tableau);
    Campo(s, "descrizioneTableau", settimana.descrizioneTableau);
    Campo(s, "primaCamera", settimana.primaCamera);
    Campo(s, "ultimaCamera", settimana.ultimaCamera);
    Campo(s, "aggiornato", settimana.aggiornato);
    if (!stampato.empty()) Campo(s, "stampato", stampato);
    s.Chiave("giorni");
    s.Apri('[');
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const DataSettimana& giorno = settimana.giorni[k];
        s.Apri('{');
        Campo(s, "data", giorno.data);
        Campo(s, "giornoMese", giorno.giornoMese);
        Campo(s, "nome", giorno.nome);
        Campo(s, "nomeGiorno", giorno.nome >= 0 && giorno.nome < 7 ? NomiGiorni[giorno.nome] : std::string());
        Totali(s, totali[k]);
        s.Chiudi('}');
    }
    s.Chiudi(']');
    Totali(s, TotaliDellaSettimana(settimana));
    s.Chiave("camere");
    s.Apri('[');
    for (const CameraSettimana& camera : settimana.camere) {
        s.ACapo();
        ScriviCamera(s, camera);
    }
    s.Chiudi(']');
    s.Chiudi('}');
    return std::move(s).Risultato();
}
