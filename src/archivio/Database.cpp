#include "archivio/Database.h"

#include <algorithm>
#include <map>
#include <optional>

#include "archivio/Archivio.h"
#include "archivio/Ricerca.h"
#include "archivio/Sessione.h"
#include "archivio/TabelleCondivise.h"
#include "archivio/Valutazione.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace {

constexpr int OggettoNonValido = 3420;

// The database files one Database reaches: its own and those named by In
// clauses, all in its folder. Each table is read once, when first asked for,
// and kept for the life of the Database; with tables shared for a job, one
// another Database of the job has read is taken instead.
class Catalogo {
public:
    Catalogo(const CartellaDati& cartella, const std::string& nomeFile, std::shared_ptr<SessioneArchivio> sessione,
             std::shared_ptr<TabelleCondivise> condivise, const std::optional<LetturaAttesa>& attesa,
             const RichiestaArresto* arresto)
        : cartella_(cartella),
          proprio_(TrovaFile(cartella_, nomeFile).nome),
          sessione_(std::move(sessione)),
          condivise_(std::move(condivise)) {
        files_[proprio_].archivio = ApriArchivio(FileArchivio{cartella_, proprio_}, sessione_, attesa, arresto);
    }

    // Table `nome` of the file `nomeFile` (empty: this database's own file),
    // with the columns of `colonne` at least; its reading stopped by `arresto`.
    std::shared_ptr<const Tabella> Leggi(const std::string& nomeFile, const std::string& nome,
                                         const Proiezione& colonne, const RichiestaArresto* arresto) {
        auto& [nomeTrovato, file] = FileDi(nomeFile, arresto);
        auto& letta = file.tabelle[Maiuscolo(nome)];
        if (letta.tabella && letta.colonne.Copre(colonne)) return letta.tabella;
        // Those read before stay: another record set of this database reads them.
        const Proiezione daLeggere = letta.tabella ? letta.colonne.Unione(colonne) : colonne;
        Archivio& archivio = *file.archivio;
        const auto leggi = [&](const Proiezione& lette) { return archivio.LeggiColonne(nome, lette, arresto); };
        letta.tabella = condivise_ ? condivise_->Leggi(FileArchivio{cartella_, nomeTrovato}, nome, daLeggere, leggi)
                                   : std::make_shared<const Tabella>(leggi(daLeggere));
        letta.colonne = daLeggere;
        return letta.tabella;
    }

private:
    struct Letta {
        Proiezione colonne;
        std::shared_ptr<const Tabella> tabella;
    };
    struct File {
        std::unique_ptr<Archivio> archivio;
        std::map<std::string, Letta> tabelle;  // by upper-case name
    };

    // The entry of a file by its name in the folder, its archive opened on first use.
    std::pair<const std::string, File>& FileDi(const std::string& nomeFile, const RichiestaArresto* arresto) {
        const std::string nome = nomeFile.empty() ? proprio_ : TrovaFile(cartella_, nomeFile).nome;
        auto& voce = *files_.try_emplace(nome).first;
        if (!voce.second.archivio)
            voce.second.archivio = ApriArchivio(FileArchivio{cartella_, nome}, sessione_, std::nullopt, arresto);
        return voce;
    }

    CartellaDati cartella_;
    std::string proprio_;
    std::shared_ptr<SessioneArchivio> sessione_;
    std::shared_ptr<TabelleCondivise> condivise_;  // null: tables read for this Database alone
    std::map<std::string, File> files_;  // by name in the folder
};

std::vector<std::uint32_t> Filtra(const Tabella& tabella, const Criterio& filtro, Catalogo& catalogo,
                                  const RichiestaArresto* arresto);

// The fields a Selezione names besides those of its filter: its own, those of
// its order and those of the criteria it is searched with.
std::vector<std::string> CampiDellaSelezione(const Selezione& selezione) {
    std::vector<std::string> nomi;
    for (const auto& campo : selezione.campi) nomi.push_back(campo.Nome());
    for (const auto& ordine : selezione.ordine) nomi.push_back(ordine.campo.Nome());
    for (const auto& forma : selezione.ricerche) CampiNominati(forma, nomi);
    return nomi;
}

// The columns a Selezione reads of its table: those it names, its filter's
// included; all of them when it names no field of its own.
Proiezione ColonneDi(const Selezione& selezione) {
    if (selezione.campi.empty()) return {};
    std::vector<std::string> colonne = CampiDellaSelezione(selezione);
    for (const auto& campo : selezione.facoltativi) colonne.push_back(campo.Nome());
    CampiNominati(selezione.filtro.forma, colonne);
    return Proiezione::Di(colonne);
}

// Errore 3265 unless every field the Selezione names besides its filter
// (checked as it is applied) is a field of the table read for it.
void ControllaCampi(const Tabella& tabella, const Selezione& selezione) {
    for (const auto& nome : CampiDellaSelezione(selezione)) Colonna(tabella, nome);
}

// The values of a subquery's one field, in the table's order.
std::vector<Valore> ValoriSottoquery(const Selezione& selezione, Catalogo& catalogo,
                                     const RichiestaArresto* arresto) {
    if (selezione.campi.size() != 1)
        throw Errore(NumeroErrore::SottoqueryConPiuCampi,
                     "La sottoquery sulla tabella '" + Cp1252ToUtf8(selezione.tabella) +
                         "' deve dare i valori di un solo campo.");
    const auto tabella = catalogo.Leggi(selezione.file, selezione.tabella, ColonneDi(selezione), arresto);
    const auto colonna = static_cast<std::size_t>(Colonna(*tabella, selezione.campi.front().Nome()));
    std::vector<Valore> valori;
    for (std::uint32_t riga : Filtra(*tabella, selezione.filtro, catalogo, arresto))
        valori.push_back(tabella->righe[riga][colonna]);
    return valori;
}

EseguiSottoquery Esecutore(Catalogo& catalogo, const RichiestaArresto* arresto = nullptr) {
    return [&catalogo, arresto](const Selezione& selezione) { return ValoriSottoquery(selezione, catalogo, arresto); };
}

// Positions of the records for which the filter is true (all without one).
std::vector<std::uint32_t> Filtra(const Tabella& tabella, const Criterio& filtro, Catalogo& catalogo,
                                  const RichiestaArresto* arresto) {
    const std::size_t n = tabella.righe.size();
    std::vector<std::uint32_t> righe;
    ControllaValori(filtro.forma, filtro.valori);
    if (filtro.forma.Vuota()) {
        for (std::size_t i = 0; i < n; ++i) righe.push_back(static_cast<std::uint32_t>(i));
        return righe;
    }
    const EspressioneLegata espressione = Lega(filtro.forma, tabella, Esecutore(catalogo, arresto));
    for (std::size_t i = 0; i < n; ++i)
        if (Valuta(espressione, tabella.righe[i], filtro.valori) == Logico::Vero)
            righe.push_back(static_cast<std::uint32_t>(i));
    return righe;
}

// The reading of its own file the record set `selezione` makes first;
// nothing when its table lies in another file.
std::optional<LetturaAttesa> LetturaDellaSelezione(const Selezione& selezione) {
    if (!selezione.file.empty()) return std::nullopt;
    return LetturaAttesa{selezione.tabella, ColonneDi(selezione)};
}

}  // namespace

// The records of one record set: positions in a table read by the Database,
// in the record set's order, with the searches on them.
struct Recordset::Dati {
    Dati(std::shared_ptr<Catalogo> catalogo_, std::shared_ptr<const Tabella> tabella_,
         std::vector<std::uint32_t> righe_)
        : catalogo(std::move(catalogo_)),
          tabella(std::move(tabella_)),
          righe(std::move(righe_)),
          ricerca(*tabella, righe, Esecutore(*catalogo)) {}

    const Record& Riga(std::size_t posizione) const { return tabella->righe[righe[posizione]]; }

    std::shared_ptr<Catalogo> catalogo;  // kept for the subqueries of search criteria
    std::shared_ptr<const Tabella> tabella;
    std::vector<std::uint32_t> righe;
    mutable Ricerca ricerca;
};

struct Database::Dati {
    std::shared_ptr<Catalogo> catalogo;  // null once closed
};

Database::Database(std::unique_ptr<Dati> dati) : dati_(std::move(dati)) {}

Database::~Database() = default;

std::unique_ptr<Database> Database::Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                        std::shared_ptr<SessioneArchivio> sessione) {
    if (!sessione) sessione = std::make_shared<SessioneArchivio>();
    return Apri(cartella, nomeFile, std::move(sessione), nullptr, std::nullopt, nullptr);
}

std::unique_ptr<Database> Database::Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                        std::shared_ptr<TabelleCondivise> condivise) {
    if (!condivise) return Apri(cartella, nomeFile);
    auto sessione = condivise->Sessione();
    return Apri(cartella, nomeFile, std::move(sessione), std::move(condivise), std::nullopt, nullptr);
}

std::unique_ptr<Database> Database::Apri(const std::string& nomeFile, const std::string& cartella) {
    return Apri(CartellaDati(cartella), nomeFile);
}

std::unique_ptr<Database> Database::Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                        std::shared_ptr<TabelleCondivise> condivise, const Selezione& primo,
                                        const RichiestaArresto* arresto) {
    auto sessione = condivise->Sessione();
    return Apri(cartella, nomeFile, std::move(sessione), std::move(condivise), LetturaDellaSelezione(primo),
                arresto);
}

std::unique_ptr<Database> Database::Apri(const CartellaDati& cartella, const std::string& nomeFile,
                                        std::shared_ptr<SessioneArchivio> sessione,
                                        std::shared_ptr<TabelleCondivise> condivise,
                                        const std::optional<LetturaAttesa>& attesa,
                                        const RichiestaArresto* arresto) {
    auto dati = std::make_unique<Dati>();
    dati->catalogo =
        std::make_shared<Catalogo>(cartella, nomeFile, std::move(sessione), std::move(condivise), attesa, arresto);
    return std::unique_ptr<Database>(new Database(std::move(dati)));
}

std::unique_ptr<Recordset> Database::OpenRecordset(const std::string& tabella) {
    return OpenRecordset(Selezione{.tabella = tabella});
}

std::unique_ptr<Recordset> Database::OpenRecordset(const Selezione& selezione, const RichiestaArresto* arresto) {
    if (!dati_->catalogo) throw Errore(OggettoNonValido, "Oggetto non valido o non pi\xC3\xB9 impostato.");
    const auto& catalogo = dati_->catalogo;
    auto tabella = catalogo->Leggi(selezione.file, selezione.tabella, ColonneDi(selezione), arresto);
    ControllaCampi(*tabella, selezione);
    std::vector<std::uint32_t> righe = Filtra(*tabella, selezione.filtro, *catalogo, arresto);
    Ordina(righe, *tabella, selezione.ordine);
    return std::make_unique<Recordset>(
        std::make_shared<const Recordset::Dati>(catalogo, std::move(tabella), std::move(righe)));
}

void Database::Close() { dati_->catalogo.reset(); }

Recordset::Recordset(std::shared_ptr<const Dati> dati) : dati_(std::move(dati)) {}

Recordset::~Recordset() = default;

void Recordset::FindFirst(const Criterio& criterio) { Cerca(criterio, 0); }

void Recordset::FindNext(const Criterio& criterio) { Cerca(criterio, static_cast<std::size_t>(corrente_) + 1); }

// On a match the record found becomes current; otherwise the current record stays.
void Recordset::Cerca(const Criterio& criterio, std::size_t da) {
    const auto trovato = dati_->ricerca.Trova(criterio, da);
    noMatch_ = !trovato;
    if (trovato) corrente_ = static_cast<std::ptrdiff_t>(*trovato);
}

const Valore& Recordset::operator[](std::string_view campo) const {
    const auto colonna = static_cast<std::size_t>(Colonna(*dati_->tabella, campo));
    if (IsEOF()) throw Errore(NumeroErrore::NessunRecordCorrente, "Nessun record corrente.");
    return dati_->Riga(static_cast<std::size_t>(corrente_))[colonna];
}

bool Recordset::HaCampo(std::string_view campo) const { return dati_->tabella->IndiceColonna(campo) >= 0; }

void Recordset::MoveFirst() {
    if (RecordCount() == 0) throw Errore(NumeroErrore::NessunRecordCorrente, "Nessun record corrente.");
    corrente_ = 0;
}

void Recordset::MoveNext() {
    if (IsEOF()) throw Errore(NumeroErrore::NessunRecordCorrente, "Nessun record corrente.");
    ++corrente_;
}

bool Recordset::IsEOF() const { return static_cast<std::size_t>(corrente_) >= RecordCount(); }

std::size_t Recordset::RecordCount() const { return dati_->righe.size(); }

std::unique_ptr<Recordset> Recordset::OpenRecordset() const {
    std::vector<std::uint32_t> righe = dati_->righe;
    Ordina(righe, *dati_->tabella, sort_);
    return std::make_unique<Recordset>(
        std::make_shared<const Dati>(dati_->catalogo, dati_->tabella, std::move(righe)));
}
