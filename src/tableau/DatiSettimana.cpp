#include "tableau/DatiSettimana.h"

#include <cmath>
#include <optional>

#include "common/Database.h"
#include "common/Routine.h"

namespace {

// Whole-number key of a numeric field; none for a Null or a fraction, which
// equal no whole number of a criterion.
std::optional<std::int64_t> ChiaveIntera(const Valore& campo) {
    if (campo.IsNull()) return std::nullopt;
    const double x = campo.Numero();
    if (x != std::floor(x)) return std::nullopt;
    return static_cast<std::int64_t>(x);
}

// Key of a text field for searches without regard to case.
std::optional<std::string> ChiaveTesto(const Valore& campo) {
    if (campo.IsNull()) return std::nullopt;
    return Maiuscolo(campo.Testo());
}

// Every record of a record set, in its order, read by `leggi`.
template <typename T, typename Lettore>
std::vector<T> LeggiTutti(Recordset& rs, Lettore leggi) {
    std::vector<T> righe;
    if (rs.RecordCount() == 0) return righe;
    righe.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) righe.push_back(leggi(rs));
    return righe;
}

template <typename T, typename Chiave, typename Campo>
void Indicizza(std::unordered_map<Chiave, std::vector<T>>& indice, const std::vector<T>& righe, Campo campo,
               std::optional<Chiave> (*chiave)(const Valore&)) {
    for (const auto& riga : righe)
        if (const auto k = chiave(riga.*campo)) indice[*k].push_back(riga);
}

template <typename T>
const std::vector<T>& Gruppo(const std::unordered_map<std::string, std::vector<T>>& indice, std::string_view testo) {
    static const std::vector<T> vuoto;
    const auto it = indice.find(Maiuscolo(testo));
    return it == indice.end() ? vuoto : it->second;
}

template <typename T>
const std::vector<T>& Gruppo(const std::unordered_map<std::int64_t, std::vector<T>>& indice, std::int64_t n) {
    static const std::vector<T> vuoto;
    const auto it = indice.find(n);
    return it == indice.end() ? vuoto : it->second;
}

bool TipoOccupaCamera(const Valore& tipo) {
    return TestoUguale(tipo, "C") || TestoUguale(tipo, "O") || TestoUguale(tipo, "D");
}

Camera LeggiCamera(const Recordset& rs) {
    return {rs["NumeroHotel"], rs["NumeroTableau"], rs["NumeroCamera"], rs["TipoCamera"]};
}

Ospite LeggiOspite(const Recordset& rs) {
    return {rs["NumeroHotel"],      rs["NumeroCamera"],     rs["Partito"],     rs["DataArrivo"],
            rs["DataPartenza"],     rs["NumeroComponente"], rs["NomeCliente"], rs["NumeroProgressivo"],
            rs["TipoPagamento"],    rs["CodiceAgenzia"]};
}

Addebito LeggiAddebito(const Recordset& rs) {
    return {rs["NumeroHotel"], rs["CodiceCliente"], rs["NumeroConto"],
            rs["DataInizio"],  rs["DataFine"],      rs["ImportoTotale"]};
}

Agenzia LeggiAgenzia(const Recordset& rs) { return {rs["NumeroHotel"], rs["Codice"], rs["RagioneSociale"]}; }

CameraPrenotata LeggiCameraPrenotata(const Recordset& rs) {
    return {rs["NumeroHotel"],   rs["NumeroCamera"], rs["NumeroPrenotazione"], rs["TipoPrenotazione"],
            rs["NumeroPersone"], rs["DataArrivo"],   rs["DataPartenza"],       rs["Prezzo"]};
}

Testata LeggiTestata(const Recordset& rs) {
    return {rs["NumeroHotel"], rs["NumeroPrenotazione"], rs["NomeCliente"],
            rs["Pagamento"],   rs["TipoPrenotazione"],   rs["Agenzia"]};
}

}  // namespace

std::string Letterale(std::string_view testo) {
    std::string out = "'";
    for (const char c : testo) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

bool TestoUguale(const Valore& campo, std::string_view testo) {
    return !campo.IsNull() && Maiuscolo(campo.Testo()) == Maiuscolo(testo);
}

bool TestoNonDopo(const Valore& campo, std::string_view testo) {
    return !campo.IsNull() && Maiuscolo(campo.Testo()) <= Maiuscolo(testo);
}

bool TestoDopo(const Valore& campo, std::string_view testo) {
    return !campo.IsNull() && Maiuscolo(campo.Testo()) > Maiuscolo(testo);
}

bool NumeroUguale(const Valore& campo, std::int64_t n) {
    return !campo.IsNull() && campo.Numero() == static_cast<double>(n);
}

DatiSettimana DatiSettimana::Leggi(const std::string& primo, const std::string& ultimo) {
    const std::string periodo =
        " Where DataArrivo <= " + Letterale(ultimo) + " and DataPartenza > " + Letterale(primo);
    DatiSettimana dati;

    {
        auto db = Database::Apri("NumeriCamere.mdb");
        auto rs = db->OpenRecordset(
            "Select * From NumeriCamere Where TipoCamera In (Select Sigla From TipiCamere In 'TipiCamere.mdb' "
            "Where Tipologia = 'C') Order by NumeroCamera;");
        rs->Sort("[NumeroCamera]");
        auto ordinate = rs->OpenRecordset();
        dati.camere_ = LeggiTutti<Camera>(*ordinate, LeggiCamera);
        db->Close();
    }
    {
        auto db = Database::Apri("Scheda_Cliente.mdb");
        auto rs = db->OpenRecordset("Select * From Scheda_Cliente" + periodo);
        Indicizza(dati.ospitiPerCamera_, LeggiTutti<Ospite>(*rs, LeggiOspite), &Ospite::numeroCamera, ChiaveTesto);
        db->Close();
    }
    {
        auto db = Database::Apri("AgenzieAbituali.mdb");
        auto rs = db->OpenRecordset("AgenzieAbituali");
        Indicizza(dati.agenziePerCodice_, LeggiTutti<Agenzia>(*rs, LeggiAgenzia), &Agenzia::codice, ChiaveIntera);
        db->Close();
    }
    {
        auto db = Database::Apri("Arrangiamento.mdb");
        auto rs = db->OpenRecordset("Arrangiamento");
        Indicizza(dati.addebitiPerCliente_, LeggiTutti<Addebito>(*rs, LeggiAddebito), &Addebito::codiceCliente,
                  ChiaveIntera);
        db->Close();
    }
    {
        auto db = Database::Apri("Camere_Prenotazione.mdb");
        auto rs = db->OpenRecordset("Select * From Camere_Prenotazione" + periodo);
        const auto prenotate = LeggiTutti<CameraPrenotata>(*rs, LeggiCameraPrenotata);
        Indicizza(dati.prenotatePerCamera_, prenotate, &CameraPrenotata::numeroCamera, ChiaveTesto);
        Indicizza(dati.prenotatePerNumero_, prenotate, &CameraPrenotata::numeroPrenotazione, ChiaveIntera);
        db->Close();
    }
    {
        // The headers of the bookings with a room in the week. The week's
        // booked rooms are at hand: filtering here spares reading them again
        // in a subquery.
        auto db = Database::Apri("Scheda_Prenotazione.mdb");
        auto rs = db->OpenRecordset("Scheda_Prenotazione");
        for (auto& testata : LeggiTutti<Testata>(*rs, LeggiTestata)) {
            const auto numero = ChiaveIntera(testata.numeroPrenotazione);
            if (numero && dati.prenotatePerNumero_.count(*numero))
                dati.testatePerNumero_[*numero].push_back(std::move(testata));
        }
        db->Close();
    }
    return dati;
}

std::vector<const Ospite*> DatiSettimana::Ospiti(std::string_view camera, std::string_view giorno) const {
    std::vector<const Ospite*> trovati;
    for (const auto& o : Gruppo(ospitiPerCamera_, camera))
        if (TestoUguale(o.partito, "N") && TestoNonDopo(o.dataArrivo, giorno) && TestoDopo(o.dataPartenza, giorno))
            trovati.push_back(&o);
    return trovati;
}

std::vector<const Addebito*> DatiSettimana::Addebiti(std::int64_t hotel, std::int64_t cliente,
                                                     std::string_view giorno) const {
    std::vector<const Addebito*> trovati;
    for (const auto& a : Gruppo(addebitiPerCliente_, cliente))
        if (NumeroUguale(a.numeroHotel, hotel) && NumeroUguale(a.numeroConto, 1) &&
            TestoNonDopo(a.dataInizio, giorno) && TestoDopo(a.dataFine, giorno))
            trovati.push_back(&a);
    return trovati;
}

const Agenzia* DatiSettimana::TrovaAgenzia(std::int64_t hotel, std::int64_t codice) const {
    for (const auto& a : Gruppo(agenziePerCodice_, codice))
        if (NumeroUguale(a.numeroHotel, hotel)) return &a;
    return nullptr;
}

std::vector<const CameraPrenotata*> DatiSettimana::Prenotazioni(std::int64_t hotel, std::string_view camera) const {
    std::vector<const CameraPrenotata*> trovate;
    for (const auto& p : Gruppo(prenotatePerCamera_, camera))
        if (NumeroUguale(p.numeroHotel, hotel) && TipoOccupaCamera(p.tipoPrenotazione)) trovate.push_back(&p);
    return trovate;
}

const Testata* DatiSettimana::TrovaTestata(std::int64_t hotel, std::int64_t numero) const {
    for (const auto& t : Gruppo(testatePerNumero_, numero))
        if (NumeroUguale(t.numeroHotel, hotel)) return &t;
    return nullptr;
}

const CameraPrenotata* DatiSettimana::TrovaCameraPrenotata(std::int64_t hotel, std::int64_t numero,
                                                           std::string_view camera) const {
    for (const auto& p : Gruppo(prenotatePerNumero_, numero))
        if (NumeroUguale(p.numeroHotel, hotel) && TestoUguale(p.numeroCamera, camera)) return &p;
    return nullptr;
}
