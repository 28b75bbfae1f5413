#include "archivio/ArchivioAccess.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "archivio/ProcessoFiglio.h"
#include "archivio/Sessione.h"
#include "archivio/StatoFile.h"
#include "archivio/UscitaMdb.h"
#include "archivio/mdb/ProtocolloMdb.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/ProgrammiAusiliari.h"
#include "common/Routine.h"

namespace {

constexpr const char* kNomeProgramma = "brovato5-mdb";
// The reader is handed the file open, as its descriptor 3, and opens it by
// this name: the file it reads is the one this program opened, never a link
// or another file put in its place meanwhile.
const std::string kFileDelLettore = "/dev/fd/" + std::to_string(kDescrittoreEreditato);
// Reading the largest files takes a fraction of a second: a reader still
// busy after a minute is stuck on a damaged file.
constexpr std::chrono::milliseconds kLimiteLettura = std::chrono::minutes(1);
// What a reader may write for a file of a given size: a table of Yes/No
// fields and Null values, the densest output, writes a few tens of bytes for
// each byte of the file. A year of guests of a 600-room hotel, a 4 MiB file,
// writes about 5 MiB. A damaged file that makes the reader repeat itself is
// stopped there.
constexpr std::size_t kUscitaPerByteDelFile = 64;
constexpr std::size_t kUscitaMinima = std::size_t{16} << 20;

std::size_t MassimaUscita(const std::optional<StatoFile>& stato) {
    return kUscitaMinima + (stato ? static_cast<std::size_t>(stato->dimensione) * kUscitaPerByteDelFile : 0);
}

// Another workstation may be writing the file while it is read: a reading
// during which the file changed is made again after a pause, for about a
// second, then the file is reported in use.
constexpr std::chrono::milliseconds kPausaFileInScrittura(20);
constexpr std::chrono::milliseconds kAttesaFileInScrittura(1000);

// `cosa`: "trovare" or "avviare".
Errore ProgrammaMancante(const std::string& cosa, const std::string& programma) {
    return Errore(NumeroErrore::IsamNonTrovato, "Impossibile " + cosa +
                                                    " il programma di lettura dei database Access '" +
                                                    programma + "'.");
}

// brovato5-mdb, found where the programs that come with brovato5 are.
std::string TrovaProgrammaLettore() {
    std::string programma = TrovaProgrammaAusiliario(kNomeProgramma);
    if (programma.empty()) throw ProgrammaMancante("trovare", kNomeProgramma);
    return programma;
}

// Holds a reader's place for the life of the object.
class PostoLettore {
public:
    PostoLettore(LettoriAccess& lettori, std::int64_t byte) : lettori_(lettori) { lettori_.Prendi(byte); }
    ~PostoLettore() { lettori_.Lascia(); }
    PostoLettore(const PostoLettore&) = delete;
    PostoLettore& operator=(const PostoLettore&) = delete;

private:
    LettoriAccess& lettori_;
};

// An Access file read through the reader program: one run lists the tables
// when the file is opened (so a file that is no database fails at once),
// unless its session has listed the unchanged file before; one more run
// reads each table asked for. A reading expected at the opening is made by
// the run that lists the tables.
class ArchivioAccess : public Archivio {
public:
    ArchivioAccess(FileArchivio file, std::shared_ptr<SessioneArchivio> sessione, std::string programma,
                   std::chrono::milliseconds limite, const std::optional<LetturaAttesa>& attesa,
                   const RichiestaArresto* arresto)
        : file_(std::move(file)), sessione_(std::move(sessione)), programma_(std::move(programma)), limite_(limite) {
        const auto stato = Stato();
        if (const auto nomi = stato ? sessione_->lettori.Elenco(programma_, *stato) : std::nullopt) {
            nomi_ = *nomi;
            statoNoto_ = stato;
            return;
        }
        if (attesa && ApriConLettura(*attesa, stato, arresto)) return;
        auto [nomi, statoLetto] =
            LeggiFermo({"tabelle", kFileDelLettore}, nullptr, DecodificaElencoTabelle, stato, arresto);
        Aperto(std::move(nomi), statoLetto);
    }

    std::vector<std::string> NomiTabelle() override { return nomi_; }

    Tabella LeggiTabella(const std::string& nome) override { return LeggiColonne(nome, {}, nullptr); }

    // The reader decodes and sends only the columns asked for: a build reads
    // a handful of each table's fields.
    Tabella LeggiColonne(const std::string& nome, const Proiezione& colonne,
                         const RichiestaArresto* arresto) override {
        if (auto letta = LettaAllApertura(nome, colonne)) return std::move(*letta);
        auto [tabella, stato] =
            LeggiFermo(Argomenti("tabella", nome, colonne), &nome, DecodificaTabella, StatoNoto(), arresto);
        const std::lock_guard blocco(mutexStato_);
        statoNoto_ = stato;
        return std::move(tabella);
    }

private:
    // The reader's arguments for `comando` on table `nome` with the columns
    // of `colonne`; with no column named it sends every column, more than asked.
    std::vector<std::string> Argomenti(const char* comando, const std::string& nome, const Proiezione& colonne) const {
        std::vector<std::string> argomenti{comando, kFileDelLettore, Cp1252ToUtf8(nome)};
        if (!colonne.tutte)
            for (const auto& colonna : colonne.nomi) argomenti.push_back(Cp1252ToUtf8(colonna));
        return argomenti;
    }

    void Aperto(std::vector<std::string> nomi, const std::optional<StatoFile>& stato) {
        nomi_ = std::move(nomi);
        if (stato) sessione_->lettori.ConservaElenco(programma_, *stato, nomi_);
        statoNoto_ = stato;
    }

    // Lists the tables and reads the table expected in one run. False when
    // that run finds the file unreadable: the tables are then listed alone,
    // as at any opening, so that the opening fails only when the listing does.
    bool ApriConLettura(const LetturaAttesa& attesa, const std::optional<StatoFile>& stato,
                        const RichiestaArresto* arresto) {
        try {
            auto [letti, statoLetto] = LeggiFermo(Argomenti("tabelle", attesa.tabella, attesa.colonne), nullptr,
                                                  DecodificaElencoETabella, stato, arresto);
            Aperto(std::move(letti.nomi), statoLetto);
            if (letti.tabella) lettaAllApertura_ = {attesa, std::move(*letti.tabella)};
            return true;
        } catch (const Errore& e) {
            if (e.Numero() != NumeroErrore::FormatoNonRiconosciuto) throw;
            return false;
        }
    }

    // The table read at the opening, once, when it is `nome` with the columns of `colonne` at least.
    std::optional<Tabella> LettaAllApertura(const std::string& nome, const Proiezione& colonne) {
        const std::lock_guard blocco(mutexStato_);
        if (!lettaAllApertura_ || Maiuscolo(lettaAllApertura_->first.tabella) != Maiuscolo(nome) ||
            !lettaAllApertura_->first.colonne.Copre(colonne))
            return std::nullopt;
        std::optional<Tabella> letta = std::move(lettaAllApertura_->second);
        lettaAllApertura_.reset();
        return letta;
    }

    std::optional<StatoFile> StatoNoto() {
        const std::lock_guard blocco(mutexStato_);
        return statoNoto_;
    }

    // Runs the reader and decodes its output with `decodifica` while the file
    // keeps still: what it gives, with the state of the file it was read from.
    // The file's state is taken before and after each run (`prima`: the state
    // taken last, after the previous run: a file found in that state again
    // after this run kept still through it, and taking the contents'
    // fingerprint once per run is enough). A run during which the file changed, or that failed while
    // it was changing (it changes within a pause after), is made again after
    // that pause; when the file has not kept still through a run within
    // about a second it is in use: Errore 3045. A failure on a still file
    // stands. A run stopped by `arresto` ends it: LetturaArrestata.
    template <typename Decodifica, typename Letto = std::invoke_result_t<Decodifica, std::string_view>>
    std::pair<Letto, std::optional<StatoFile>> LeggiFermo(const std::vector<std::string>& argomenti,
                                                          const std::string* tabella, Decodifica decodifica,
                                                          std::optional<StatoFile> prima,
                                                          const RichiestaArresto* arresto) {
        const auto scadenza = std::chrono::steady_clock::now() + kAttesaFileInScrittura;
        for (;; prima = Stato()) {
            std::variant<UscitaProgramma, Errore> esito = Esegui(argomenti, tabella, prima, arresto);
            const bool fermo = Stato() == prima;
            if (fermo && std::holds_alternative<UscitaProgramma>(esito)) {
                try {
                    return {decodifica(std::get<UscitaProgramma>(esito).Testo()), prima};
                } catch (const UscitaMdbNonValida&) {
                    esito = ErroreFormatoNonRiconosciuto(file_.Percorso());
                }
            }
            std::this_thread::sleep_for(kPausaFileInScrittura);
            if (fermo && Stato() == prima) throw std::get<Errore>(esito);
            if (std::chrono::steady_clock::now() >= scadenza) throw ErroreFileInUso(file_.Percorso());
        }
    }

    // Runs the reader on the file in state `stato`, handed to it open: its
    // output when it ended well, else the error its end means. Throws Errore
    // 3170 when it cannot be started, 3024 or 3051 when the file cannot be
    // opened, Errore 7 when there is not the memory to start it or to take
    // what it wrote; LetturaArrestata when `arresto` stopped it.
    std::variant<UscitaProgramma, Errore> Esegui(const std::vector<std::string>& argomenti, const std::string* tabella,
                                                 const std::optional<StatoFile>& stato,
                                                 const RichiestaArresto* arresto) const {
        EsitoProgramma esito;
        const Descrittore fd = ApriFileArchivio(file_);
        try {
            const PostoLettore posto(sessione_->lettori, stato ? stato->dimensione : 0);
            esito = EseguiProgramma(programma_, argomenti, limite_, MassimaUscita(stato), fd.Fd(),
                                    arresto ? arresto->Fd() : -1);
        } catch (const std::system_error& e) {
            if (e.code() == std::errc::not_enough_memory || e.code() == std::errc::resource_unavailable_try_again)
                throw MemoriaPerLeggere();
            throw ProgrammaMancante("avviare", programma_);
        }
        if (esito.fine == EsitoProgramma::Fine::Arrestato) throw LetturaArrestata();
        const bool uscito = esito.fine == EsitoProgramma::Fine::Uscito;
        if (uscito && esito.codice == ProtocolloMdb::kEsitoTabellaMancante && tabella)
            return ErroreTabellaNonTrovata(*tabella);
        if (uscito && esito.codice == ProtocolloMdb::kEsitoMemoriaInsufficiente) return MemoriaPerLeggere();
        if (!uscito || esito.codice != ProtocolloMdb::kEsitoLetto) return ErroreFormatoNonRiconosciuto(file_.Percorso());
        return std::move(esito.uscita);
    }

    // The file's state now, its fingerprint kept for the session.
    std::optional<StatoFile> Stato() { return LeggiStatoFile(file_, sessione_->impronte); }

    Errore MemoriaPerLeggere() const {
        return ErroreMemoriaInsufficiente("leggere il database '" + file_.Percorso() + "'");
    }

    FileArchivio file_;
    std::shared_ptr<SessioneArchivio> sessione_;
    std::string programma_;
    std::chrono::milliseconds limite_;
    std::vector<std::string> nomi_;
    // The state of the file when the last run ended, the next run's state before.
    std::optional<StatoFile> statoNoto_;
    std::optional<std::pair<LetturaAttesa, Tabella>> lettaAllApertura_;
    std::mutex mutexStato_;  // tables of one file may be read from several threads
};

}  // namespace

LettoriAccess::LettoriAccess() : LettoriAccess(std::max(1u, std::thread::hardware_concurrency())) {}

LettoriAccess::LettoriAccess(unsigned posti) : liberi_(std::max(1u, posti)) {}

void LettoriAccess::Prendi(std::int64_t byte) {
    std::unique_lock blocco(mutex_);
    const auto turno = attese_.insert({-byte, ++arrivi_}).first;
    libero_.wait(blocco, [&] { return liberi_ > 0 && attese_.begin() == turno; });
    attese_.erase(turno);
    --liberi_;
    // The next in line may find a place too.
    libero_.notify_all();
}

void LettoriAccess::Lascia() {
    {
        const std::lock_guard blocco(mutex_);
        ++liberi_;
    }
    libero_.notify_all();
}

std::optional<std::vector<std::string>> LettoriAccess::Elenco(const std::string& programma,
                                                              const StatoFile& stato) const {
    const std::lock_guard blocco(mutex_);
    const auto trovato = elenchi_.find({programma, stato.dispositivo, stato.inode});
    if (trovato == elenchi_.end() || !(trovato->second.first == stato)) return std::nullopt;
    return trovato->second.second;
}

void LettoriAccess::ConservaElenco(const std::string& programma, const StatoFile& stato,
                                   const std::vector<std::string>& nomi) {
    const std::lock_guard blocco(mutex_);
    elenchi_[{programma, stato.dispositivo, stato.inode}] = {stato, nomi};
}

std::unique_ptr<Archivio> ApriArchivioAccess(const FileArchivio& file, std::shared_ptr<SessioneArchivio> sessione,
                                             const std::optional<LetturaAttesa>& attesa,
                                             const RichiestaArresto* arresto) {
    return ApriArchivioAccess(file, std::move(sessione), TrovaProgrammaLettore(), kLimiteLettura, attesa, arresto);
}

std::unique_ptr<Archivio> ApriArchivioAccess(const FileArchivio& file, std::shared_ptr<SessioneArchivio> sessione,
                                             const std::string& programma, std::chrono::milliseconds limite,
                                             const std::optional<LetturaAttesa>& attesa,
                                             const RichiestaArresto* arresto) {
    // Opened once before the reader runs: a missing file or one that cannot
    // be opened is told as such, not as a file the reader cannot read.
    ApriFileArchivio(file);
    return std::make_unique<ArchivioAccess>(file, std::move(sessione), programma, limite, attesa, arresto);
}

std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso, const std::string& programma,
                                             std::chrono::milliseconds limite,
                                             const std::optional<LetturaAttesa>& attesa) {
    return ApriArchivioAccess(FileDelPercorso(percorso), std::make_shared<SessioneArchivio>(), programma, limite,
                              attesa);
}

std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso, const std::optional<LetturaAttesa>& attesa) {
    return ApriArchivioAccess(FileDelPercorso(percorso), std::make_shared<SessioneArchivio>(), attesa);
}
