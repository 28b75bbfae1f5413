#include "print/ImpostazioniStampa.h"

#include <cmath>

#include "archivio/Database.h"
#include "common/Ambiente.h"
#include "common/CartellaDati.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "print/MotoreStampa.h"
#include "print/TabelleStampa.h"

namespace {

constexpr const char* FontPredefinito = "Courier New";
constexpr std::size_t LarghezzaGruppo = 3;

// A value taken as a 16-bit integer, as the suite's settings store them.
std::int16_t Intero16(const Valore& valore, const std::string& campo) {
    const std::int64_t n = valore.Intero();
    if (n < INT16_MIN || n > INT16_MAX)
        throw Errore(NumeroErrore::Overflow,
                     "Valore fuori intervallo nel campo " + campo + ": " + valore.Testo() + ".");
    return static_cast<std::int16_t>(n);
}

// Group i (1..12) of a settings text: three characters read as a number; a
// group beyond the end of the text is 0.
double Gruppo(const std::string& testo, int i) {
    const std::size_t inizio = LarghezzaGruppo * (i - 1);
    return inizio < testo.size() ? ValoreNumerico(std::string_view(testo).substr(inizio, LarghezzaGruppo)) : 0;
}

// First line of "FontStp.txt", trimmed; the default font when the file is
// missing or its first line is blank.
std::string FontCorpo(const CartellaDati& cartella) {
    const auto testo = cartella.Leggi("FontStp.txt", kMassimoFileImpostazioni, "il file del carattere di stampa");
    const auto righe = testo ? DividiRighe(*testo) : std::vector<std::string>();
    const std::string font = righe.empty() ? "" : Taglia(righe.front());
    return font.empty() ? FontPredefinito : font;
}

std::int16_t LunghezzaPagina(const CartellaDati& cartella, std::int16_t hotel, bool compressa) {
    auto db = Database::Apri(cartella, "Contatori.mdb");
    auto contatori = db->OpenRecordset(TabellaContatori(compressa));
    contatori->FindFirst(CriterioContatori(hotel));
    std::int16_t lunghezza = 60;
    if (!contatori->NoMatch()) {
        const Campo& campo = compressa ? campo::LungPagComp : campo::LungPagNoComp;
        lunghezza = Intero16((*contatori)[campo], campo.Nome());
    }
    db->Close();
    return lunghezza;
}

// Print type, tables, sheet length and top margin from the SetStampa record.
void LeggiSetStampa(Recordset& setStampa, bool compressa, ImpostazioniStampa& impostazioni) {
    setStampa.FindFirst(CriterioSetStampa(impostazioni.tipoStampa));
    if (setStampa.NoMatch()) return;
    const std::string compresso = setStampa[campo::Compresso].Testo();
    const std::string grassetto = setStampa[campo::Grassetto].Testo();
    for (int i = 1; i <= 12; ++i) {
        impostazioni.compresso[i] = Gruppo(compresso, i);
        impostazioni.grassetto[i] = static_cast<std::int16_t>(std::nearbyint(Gruppo(grassetto, i)));
    }
    impostazioni.lunghezzaFoglio = impostazioni.grassetto[compressa ? 7 : 8];
    impostazioni.margineSuperiore = impostazioni.grassetto[6];
}

// The environment variable named by the record's "Destinazione" when it has
// a value (the user's own: `dellUtente` is set), else the record's "Linea".
std::string DestinazioneDelRecord(Recordset& stampanti, bool& dellUtente) {
    const auto variabile = LeggiAmbiente(stampanti[campo::Destinazione].Testo());
    dellUtente = variabile && !variabile->empty();
    return dellUtente ? *variabile : stampanti[campo::Linea].Testo();
}

// A destination the Stampanti table has no record for: nothing can be
// printed. The error lists the destinations the table holds.
Errore ErroreDestinazioneSconosciuta(const std::string& destinazione, Recordset& stampanti) {
    std::string note;
    if (stampanti.RecordCount() > 0) {
        for (stampanti.MoveFirst(); !stampanti.IsEOF(); stampanti.MoveNext()) {
            const std::string nota = stampanti[campo::Destinazione].Testo();
            if (!nota.empty()) note += (note.empty() ? "'" : ", '") + Cp1252ToUtf8(nota) + "'";
        }
    }
    return Errore(NumeroErrore::NessunRecordCorrente,
                  "La destinazione di stampa '" + Cp1252ToUtf8(destinazione) +
                      "' non è nella tabella Stampanti: non è stato stampato nulla. " +
                      (note.empty() ? std::string("La tabella non ha destinazioni.")
                                    : "Destinazioni disponibili: " + note + "."));
}

}  // namespace

std::string ImpostazioniStampa::SequenzaControllo(bool compressa) const {
    const int primo = compressa ? 1 : 7;
    std::string sequenza;
    for (int i = primo; i < primo + 5; ++i) {
        const double codice = std::nearbyint(compresso[i]);
        if (codice < 0 || codice > 255)
            throw Errore(NumeroErrore::ArgomentoNonValido,
                         "Codice di controllo " + TestoIntero(static_cast<std::int64_t>(codice)) +
                             " non valido nel gruppo " + std::to_string(i) +
                             " del campo Compresso di SetStampa (tipo di stampa " + TestoIntero(tipoStampa) +
                             "): deve essere tra 0 e 255.");
        sequenza += static_cast<char>(static_cast<unsigned char>(codice));
    }
    return sequenza;
}

ImpostazioniStampa LeggiImpostazioni(const CartellaDati& cartella, const SceltaStampa& scelta, std::int16_t hotel) {
    ImpostazioniStampa impostazioni;
    impostazioni.fontCorpo = FontCorpo(cartella);
    impostazioni.lunghezzaPagina = LunghezzaPagina(cartella, hotel, scelta.compressa);

    auto db = Database::Apri(cartella, "Stampanti.mdb");
    auto stampanti = db->OpenRecordset(TabellaDestinazioni());
    auto setStampa = db->OpenRecordset(TabellaSetStampa());
    stampanti->FindFirst(CriterioDestinazione(scelta.destinazione));
    if (stampanti->NoMatch()) throw ErroreDestinazioneSconosciuta(scelta.destinazione, *stampanti);
    impostazioni.tipoStampa = Intero16((*stampanti)[campo::TipoStampa], campo::TipoStampa.Nome());
    LeggiSetStampa(*setStampa, scelta.compressa, impostazioni);
    impostazioni.destinazione = DestinazioneDelRecord(*stampanti, impostazioni.destinazioneDellUtente);
    db->Close();
    if (!Taglia(scelta.stampante).empty()) {
        impostazioni.destinazione = scelta.stampante;
        impostazioni.destinazioneDellUtente = true;
    }
    return impostazioni;
}

std::string CodiceAssistenza(const CartellaDati& cartella) {
    auto db = Database::Apri(cartella, "AnagraficaHotels.mdb");
    auto hotels = db->OpenRecordset(TabellaAssistenza());
    hotels->FindFirst(CriterioHotel(1));
    std::string codice = hotels->NoMatch() ? "" : (*hotels)[campo::CodiceAssistenza].Testo();
    db->Close();
    return codice;
}
