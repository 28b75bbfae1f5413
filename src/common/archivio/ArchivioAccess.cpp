#include "common/archivio/ArchivioAccess.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <semaphore>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/archivio/ProcessoFiglio.h"
#include "common/archivio/StatoFile.h"
#include "common/archivio/UscitaMdb.h"
#include "common/archivio/mdb/ProtocolloMdb.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kNomeProgramma = "brovato5-mdb";
// Reading the largest files takes a fraction of a second: a reader still
// busy after a minute is stuck on a damaged file.
constexpr std::chrono::milliseconds kLimiteLettura = std::chrono::minutes(1);
// Far above the output of any table of the suite (a year of guests of a
// 600-room hotel writes about 5 MiB).
constexpr std::size_t kMassimaUscita = std::size_t{1} << 30;

// `cosa`: "trovare" or "avviare".
Errore ProgrammaMancante(const std::string& cosa, const std::string& programma) {
    return Errore(NumeroErrore::IsamNonTrovato, "Impossibile " + cosa +
                                                    " il programma di lettura dei database Access '" +
                                                    programma + "'.");
}

bool Eseguibile(const fs::path& percorso) {
    std::error_code ec;
    return fs::is_regular_file(percorso, ec) && access(percorso.c_str(), X_OK) == 0;
}

// brovato5-mdb beside the running program (an installation, the build
// folder), else in the build folder (test programs live in subfolders).
std::string TrovaProgrammaLettore() {
    std::error_code ec;
    const fs::path eseguibile = fs::read_symlink("/proc/self/exe", ec);
    for (const fs::path& cartella : {eseguibile.parent_path(), fs::path(BROVATO5_CARTELLA_BUILD)}) {
        if (cartella.empty()) continue;
        const fs::path candidato = cartella / kNomeProgramma;
        if (Eseguibile(candidato)) return candidato.string();
    }
    throw ProgrammaMancante("trovare", kNomeProgramma);
}

// At most as many readers at work as the workstation has cores: a build
// starts the readers of all its tables at once.
std::counting_semaphore<>& PostiLettori() {
    static std::counting_semaphore<> posti(std::max(1u, std::thread::hardware_concurrency()));
    return posti;
}

// Holds a reader's place for the life of the object.
class PostoLettore {
public:
    PostoLettore() { PostiLettori().acquire(); }
    ~PostoLettore() { PostiLettori().release(); }
    PostoLettore(const PostoLettore&) = delete;
    PostoLettore& operator=(const PostoLettore&) = delete;
};

// The names of the tables of the files listed within this program run, by
// reader program and file, kept while the file is unchanged: opening a file
// again needs no reader then.
class ElenchiDelProgramma {
public:
    static ElenchiDelProgramma& Istanza() {
        static ElenchiDelProgramma istanza;
        return istanza;
    }

    std::optional<std::vector<std::string>> Trova(const std::string& programma, const StatoFile& stato) {
        const std::lock_guard blocco(mutex_);
        const auto trovato = elenchi_.find({programma, stato.dispositivo, stato.inode});
        if (trovato == elenchi_.end() || !(trovato->second.first == stato)) return std::nullopt;
        return trovato->second.second;
    }

    void Conserva(const std::string& programma, const StatoFile& stato, const std::vector<std::string>& nomi) {
        const std::lock_guard blocco(mutex_);
        elenchi_[{programma, stato.dispositivo, stato.inode}] = {stato, nomi};
    }

private:
    std::mutex mutex_;
    using Chiave = std::tuple<std::string, std::uint64_t, std::uint64_t>;
    std::map<Chiave, std::pair<StatoFile, std::vector<std::string>>> elenchi_;
};

// An Access file read through the reader program: one run lists the tables
// when the file is opened (so a file that is no database fails at once),
// unless this program run has listed the unchanged file before; one more run
// reads each table asked for.
class ArchivioAccess : public Archivio {
public:
    ArchivioAccess(std::string percorso, std::string programma, std::chrono::milliseconds limite)
        : percorso_(std::move(percorso)), programma_(std::move(programma)), limite_(limite) {
        const auto stato = LeggiStatoFile(percorso_);
        if (const auto nomi = stato ? ElenchiDelProgramma::Istanza().Trova(programma_, *stato) : std::nullopt) {
            nomi_ = *nomi;
            return;
        }
        const auto uscita = Esegui({"tabelle", percorso_}, nullptr);
        try {
            nomi_ = DecodificaElencoTabelle(uscita);
        } catch (const UscitaMdbNonValida&) {
            throw ErroreFormatoNonRiconosciuto(percorso_);
        }
        if (stato) ElenchiDelProgramma::Istanza().Conserva(programma_, *stato, nomi_);
    }

    std::vector<std::string> NomiTabelle() override { return nomi_; }

    Tabella LeggiTabella(const std::string& nome) override { return LeggiColonne(nome, {}); }

    // The reader decodes and sends only the columns asked for: a build reads
    // a handful of each table's fields.
    Tabella LeggiColonne(const std::string& nome, const Proiezione& colonne) override {
        std::vector<std::string> argomenti{"tabella", percorso_, Cp1252ToUtf8(nome)};
        // With no name given the reader sends every column, more than asked.
        if (!colonne.tutte)
            for (const auto& colonna : colonne.nomi) argomenti.push_back(Cp1252ToUtf8(colonna));
        const auto uscita = Esegui(argomenti, &nome);
        try {
            return DecodificaTabella(uscita);
        } catch (const UscitaMdbNonValida&) {
            throw ErroreFormatoNonRiconosciuto(percorso_);
        }
    }

private:
    // Runs the reader and gives its output when it ended well; every other
    // end (crash, time limit, error exit) is an Errore.
    std::string Esegui(const std::vector<std::string>& argomenti, const std::string* tabella) const {
        EsitoProgramma esito;
        try {
            const PostoLettore posto;
            esito = EseguiProgramma(programma_, argomenti, limite_, kMassimaUscita);
        } catch (const std::system_error&) {
            throw ProgrammaMancante("avviare", programma_);
        }
        const bool uscito = esito.fine == EsitoProgramma::Fine::Uscito;
        if (uscito && esito.codice == ProtocolloMdb::kEsitoTabellaMancante && tabella)
            throw ErroreTabellaNonTrovata(*tabella);
        if (!uscito || esito.codice != ProtocolloMdb::kEsitoLetto) throw ErroreFormatoNonRiconosciuto(percorso_);
        return std::move(esito.uscita);
    }

    std::string percorso_;
    std::string programma_;
    std::chrono::milliseconds limite_;
    std::vector<std::string> nomi_;
};

}  // namespace

std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso) {
    return ApriArchivioAccess(percorso, TrovaProgrammaLettore(), kLimiteLettura);
}

std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso, const std::string& programma,
                                             std::chrono::milliseconds limite) {
    std::error_code ec;
    if (!fs::is_regular_file(percorso, ec))
        throw ErroreFileNonTrovato(percorso);
    return std::make_unique<ArchivioAccess>(percorso, programma, limite);
}
