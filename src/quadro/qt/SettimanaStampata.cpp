#include "quadro/qt/SettimanaStampata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/Errore.h"
#include "common/forms/TestoQt.h"
#include "print/DatiMenuStampa.h"
#include "quadro/JsonSettimana.h"
#include "quadro/Variazioni.h"

namespace {

// Reads the members of a JSON object by name, each of the kind expected; a
// member missing or of another kind throws with the object's place.
class Lettore {
public:
    Lettore(const QJsonValue& valore, std::string dove, const std::string& nome) : dove_(std::move(dove)), nome_(nome) {
        if (!valore.isObject()) Sbagliato("");
        oggetto_ = valore.toObject();
    }

    QJsonValue Valore(const char* chiave) const { return oggetto_.value(QLatin1String(chiave)); }
    std::string Testo(const char* chiave) const {
        const QJsonValue v = Valore(chiave);
        if (!v.isString()) Sbagliato(chiave);
        return InCp1252(v.toString());
    }
    std::int64_t Intero(const char* chiave) const {
        const QJsonValue v = Valore(chiave);
        if (!v.isDouble() || v.toDouble() != static_cast<double>(v.toInteger())) Sbagliato(chiave);
        return v.toInteger();
    }
    bool Booleano(const char* chiave) const {
        const QJsonValue v = Valore(chiave);
        if (!v.isBool()) Sbagliato(chiave);
        return v.toBool();
    }
    QJsonArray Elenco(const char* chiave, qsizetype lunghezza = -1) const {
        const QJsonValue v = Valore(chiave);
        if (!v.isArray() || (lunghezza >= 0 && v.toArray().size() != lunghezza)) Sbagliato(chiave);
        return v.toArray();
    }
    // A cell: the box-drawing bar before the amount back to the report's byte.
    std::string Cella(const char* chiave) const {
        QString cella = Valore(chiave).toString();
        if (!Valore(chiave).isString()) Sbagliato(chiave);
        if (cella.size() > static_cast<qsizetype>(kPostoBarraCella) && cella[kPostoBarraCella] == QChar(0x2502))
            cella[kPostoBarraCella] = QChar(0xB3);
        return InCp1252(cella);
    }
    const std::string& Dove() const { return dove_; }

    [[noreturn]] void Sbagliato(const char* chiave) const {
        throw Errore(NumeroErrore::FormatoNonRiconosciuto,
                     "Il tableau stampato '" + nome_ + "' è danneggiato (" + dove_ +
                         (*chiave ? std::string(", ") + chiave : std::string()) +
                         "): le variazioni dall'ultima stampa non si possono mostrare. Alla prossima stampa della "
                         "settimana il file sarà sostituito.");
    }

private:
    std::string dove_;
    const std::string& nome_;
    QJsonObject oggetto_;
};

Partita LeggiPartita(const Lettore& l) {
    Partita p;
    const std::string genere = l.Testo("genere");
    if (genere != "ospite" && genere != "prenotazione") l.Sbagliato("genere");
    p.genere = genere == "ospite" ? GenerePartita::Ospite : GenerePartita::Prenotazione;
    p.nome = l.Testo("nome");
    p.arrivo = l.Testo("arrivo");
    p.partenza = l.Testo("partenza");
    const std::string momento = l.Testo("momento");
    if (momento == "arrivo") p.momento = MomentoSoggiorno::Arrivo;
    else if (momento == "soggiorno") p.momento = MomentoSoggiorno::Soggiorno;
    else if (momento == "partenza") p.momento = MomentoSoggiorno::Partenza;
    else l.Sbagliato("momento");
    p.persone = l.Intero("persone");
    p.agenzia = l.Testo("agenzia");
    const std::string pagamento = l.Testo("pagamento");
    if (pagamento.size() > 1) l.Sbagliato("pagamento");
    p.pagamento = pagamento.empty() ? ' ' : pagamento[0];
    p.importo = l.Intero("importo");
    p.numero = l.Intero("numero");
    p.tipoPrenotazione = l.Testo("tipoPrenotazione");
    p.mostrata = l.Booleano("mostrata");
    return p;
}

CameraSettimana LeggiCamera(const Lettore& l, const std::string& nome) {
    CameraSettimana camera;
    camera.numero = l.Testo("numero");
    camera.tipo = l.Testo("tipo");
    if (!l.Valore("piano").isNull()) camera.piano = l.Intero("piano");
    camera.fuoriServizio = l.Booleano("fuoriServizio");
    const QJsonArray giorni = l.Elenco("giorni", Griglia::Giorni);
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const Lettore g(giorni[k], l.Dove() + " " + camera.numero + " giorno " + std::to_string(k), nome);
        camera.giorni[k].cellaA = g.Cella("cellaA");
        camera.giorni[k].cellaB = g.Cella("cellaB");
        for (const QJsonValue& partita : g.Elenco("partite"))
            camera.giorni[k].partite.push_back(LeggiPartita(Lettore(partita, g.Dove() + ", partita", nome)));
    }
    return camera;
}

}  // namespace

SettimanaStampata SettimanaDaJson(const std::string& json, const std::string& nome) {
    QJsonParseError errore{};
    const QJsonDocument documento =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &errore);
    if (errore.error != QJsonParseError::NoError)
        Lettore(QJsonValue(), "carattere " + std::to_string(errore.offset), nome).Sbagliato("");
    const Lettore radice(documento.object(), "inizio", nome);
    if (!documento.isObject() || radice.Intero("formato") != 1) radice.Sbagliato("formato");
    SettimanaStampata letta;
    Settimana& s = letta.settimana;
    s.hotel = static_cast<std::int16_t>(radice.Intero("hotel"));
    s.nomeHotel = radice.Testo("nomeHotel");
    s.tableau = static_cast<std::int16_t>(radice.Intero("tableau"));
    s.descrizioneTableau = radice.Testo("descrizioneTableau");
    s.primaCamera = radice.Testo("primaCamera");
    s.ultimaCamera = radice.Testo("ultimaCamera");
    s.aggiornato = radice.Testo("aggiornato");
    letta.stampato = radice.Testo("stampato");
    const QJsonArray giorni = radice.Elenco("giorni", Griglia::Giorni);
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const Lettore g(giorni[k], "giorno " + std::to_string(k), nome);
        s.giorni[k].data = g.Testo("data");
        s.giorni[k].giornoMese = g.Testo("giornoMese");
        s.giorni[k].nome = static_cast<int>(g.Intero("nome"));
    }
    for (const QJsonValue& camera : radice.Elenco("camere"))
        s.camere.push_back(LeggiCamera(Lettore(camera, "camera", nome), nome));
    return letta;
}

std::optional<SettimanaStampata> LeggiSettimanaStampata(const Contesto& contesto, const Settimana& settimana) {
    if (contesto.cartella.Genere(kCartellaArchivio) == GenereVoce::Assente) return std::nullopt;
    const std::string nome = NomeSettimanaStampata(contesto.postazione, settimana);
    const auto json = contesto.cartella.Sottocartella(kCartellaArchivio)
                          .Leggi(nome, kMassimoSettimanaStampata, "il tableau stampato");
    if (!json) return std::nullopt;
    return SettimanaDaJson(*json, std::string(kCartellaArchivio) + "/" + nome);
}
