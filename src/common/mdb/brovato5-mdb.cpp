// brovato5-mdb: reads an Access file through libmdb on behalf of brovato5.
//
// libmdb trusts the file it reads: a damaged file may crash it, make it loop
// or make it drop rows without a word. It therefore runs here, in a process
// of its own that the main program starts, watches and may kill; the main
// program checks what it receives (see ProtocolloMdb.h for the output).
// This program opens the file read-only and never writes it.

// glib comes first: mdbtools.h includes it inside extern "C", where glib's
// C++ templates cannot be declared.
#include <glib.h>
#include <mdbtools.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "ProtocolloMdb.h"

namespace {

using namespace ProtocolloMdb;

// Room for one value as text: libmdb cuts longer values, so a value that
// fills it is reported as unreadable rather than passed on cut. Memo fields
// typed in Access hold at most 65535 characters, up to 3 bytes each in UTF-8.
constexpr std::size_t kSpazioValore = 1 << 20;

// Own limits, in case the program that started this one is gone: a damaged
// file must not leave a process looping or eating the workstation's memory.
constexpr unsigned kSecondiMassimi = 120;
constexpr rlim_t kMemoriaMassima = rlim_t{2} << 30;

constexpr const char* kFormatoData = "%Y-%m-%d %H:%M:%S";
constexpr int kMascheraPosizioneRiga = 0x1fff;

// Where the output goes: a copy of the standard output taken at start-up.
// libmdb prints diagnostics and page dumps on damaged files, some of them on
// standard output, which is sent to standard error so they cannot mix in.
std::FILE* uscita = nullptr;

void PrendiUscita() {
    const int copia = dup(STDOUT_FILENO);
    if (copia >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) >= 0) uscita = fdopen(copia, "w");
    if (!uscita) std::exit(kEsitoIlleggibile);
}

void Scrivi(std::string_view testo) { std::fwrite(testo.data(), 1, testo.size(), uscita); }

// "<len>:<bytes>"
void ScriviBlocco(std::string_view byte) {
    std::fprintf(uscita, "%zu:", byte.size());
    Scrivi(byte);
}

char TipoColonna(int tipoMdb) {
    switch (tipoMdb) {
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            return kIntero;
        case MDB_MONEY:
            return kValuta;
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
            return kReale;
        case MDB_DATETIME:
            return kData;
        case MDB_BOOL:
            return kSiNo;
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID:
            return kTesto;
        default:
            return kBinario;
    }
}

struct ChiudiArchivio {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using Archivio = std::unique_ptr<MdbHandle, ChiudiArchivio>;

struct LiberaTabella {
    void operator()(MdbTableDef* tabella) const { mdb_free_tabledef(tabella); }
};
using DefinizioneTabella = std::unique_ptr<MdbTableDef, LiberaTabella>;

// The catalog lists every object of the file, the system table holding it
// included; a damaged file may make libmdb stop reading it early, which would
// pass for missing tables. The catalog is whole when it has as many entries as
// that table has rows.
bool CatalogoCompleto(MdbHandle* mdb) {
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto* voce = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (voce->object_type != MDB_TABLE || std::strcmp(voce->object_name, "MSysObjects") != 0) continue;
        const DefinizioneTabella oggetti(mdb_read_table(voce));
        return oggetti && oggetti->num_rows == mdb->catalog->len;
    }
    return false;
}

// An Access file is made of whole pages. libmdb reads a last page cut short
// as if the missing bytes were there, and the rows on it come out with
// values lost, with no error and the right number of rows.
bool PagineIntere(const char* percorso, const MdbHandle* mdb) {
    struct stat info {};
    return stat(percorso, &info) == 0 && info.st_size > 0 && info.st_size % mdb->fmt->pg_size == 0;
}

// Opens the file read-only and reads its catalog, once: reading it again
// would leave every entry and table definition taken from it dangling.
Archivio Apri(const char* percorso) {
    Archivio mdb(mdb_open(percorso, MDB_NOFLAGS));
    if (mdb && (!PagineIntere(percorso, mdb.get()) || !mdb_read_catalog(mdb.get(), MDB_ANY) ||
                !CatalogoCompleto(mdb.get())))
        mdb.reset();
    return mdb;
}

std::vector<MdbCatalogEntry*> TabelleUtente(MdbHandle* mdb) {
    std::vector<MdbCatalogEntry*> tabelle;
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto* voce = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (mdb_is_user_table(voce)) tabelle.push_back(voce);
    }
    return tabelle;
}

bool StessoNome(const char* a, const char* b) {
    gchar* pa = g_utf8_casefold(a, -1);
    gchar* pb = g_utf8_casefold(b, -1);
    const bool uguali = std::strcmp(pa, pb) == 0;
    g_free(pa);
    g_free(pb);
    return uguali;
}

MdbCatalogEntry* TrovaTabella(MdbHandle* mdb, const char* nome) {
    for (auto* voce : TabelleUtente(mdb))
        if (StessoNome(voce->object_name, nome)) return voce;
    return nullptr;
}

int Concludi() {
    return std::fflush(uscita) == 0 && !std::ferror(uscita) ? kEsitoLetto : kEsitoIlleggibile;
}

int ElencaTabelle(const char* percorso) {
    const Archivio mdb = Apri(percorso);
    if (!mdb) return kEsitoIlleggibile;
    const auto tabelle = TabelleUtente(mdb.get());
    std::fprintf(uscita, "%s\ntabelle %zu\n", kIntestazione, tabelle.size());
    for (const auto* voce : tabelle) {
        ScriviBlocco(voce->object_name);
        Scrivi("\n");
    }
    Scrivi("fine\n");
    return Concludi();
}

// A column bound to its own buffer: after each fetched row the buffer holds
// the value as text and `lunghezza` its length in bytes.
struct ColonnaLegata {
    char tipo;
    bool memo = false;
    std::vector<char> spazio;
    int lunghezza = 0;
};

// Bytes a memo value holds as stored, from the header that starts it in the
// row. libmdb gives an empty text when the pages holding it cannot be read.
std::uint32_t LunghezzaMemo(const MdbField& campo) {
    constexpr int kIntestazioneMemo = 12;
    if (campo.siz < kIntestazioneMemo || !campo.value) return 0;
    const auto* byte = static_cast<const unsigned char*>(campo.value);
    const std::uint32_t intestazione = byte[0] | byte[1] << 8 | byte[2] << 16 | std::uint32_t{byte[3]} << 24;
    return intestazione & 0x3fffffff;
}

// Writes the value of a column of the current row; false when it cannot be
// passed on whole.
bool ScriviValore(const ColonnaLegata& colonna, const MdbField& campo) {
    // Yes/No values live in the null mask: they are never Null.
    if (colonna.tipo == kBinario || (campo.is_null && colonna.tipo != kSiNo)) {
        Scrivi("N\n");
        return true;
    }
    const auto lunghezza = static_cast<std::size_t>(colonna.lunghezza);
    if (colonna.lunghezza < 0 || lunghezza + 1 >= colonna.spazio.size()) return false;
    if (colonna.memo && lunghezza == 0 && LunghezzaMemo(campo) > 2) return false;
    std::fputc(colonna.tipo, uscita);
    ScriviBlocco(std::string_view(colonna.spazio.data(), lunghezza));
    Scrivi("\n");
    return true;
}

int LeggiTabella(const char* percorso, const char* nome) {
    const Archivio mdb = Apri(percorso);
    if (!mdb) return kEsitoIlleggibile;
    MdbCatalogEntry* voce = TrovaTabella(mdb.get(), nome);
    if (!voce) return kEsitoTabellaMancante;
    const DefinizioneTabella tabella(mdb_read_table(voce));
    // Without the columns read, fetching returns no rows and no error.
    if (!tabella || !mdb_read_columns(tabella.get())) return kEsitoIlleggibile;
    mdb_set_date_fmt(mdb.get(), kFormatoData);
    // Only now: the catalog was read into buffers of libmdb's default size.
    mdb_set_bind_size(mdb.get(), kSpazioValore);

    const unsigned numeroColonne = tabella->num_cols;
    std::vector<ColonnaLegata> colonne(numeroColonne);
    std::fprintf(uscita, "%s\ntabella ", kIntestazione);
    ScriviBlocco(tabella->name);
    std::fprintf(uscita, "\ncolonne %u\n", numeroColonne);
    for (unsigned i = 0; i < numeroColonne; ++i) {
        auto* colonnaMdb = static_cast<MdbColumn*>(g_ptr_array_index(tabella->columns, i));
        auto& colonna = colonne[i];
        colonna.tipo = TipoColonna(colonnaMdb->col_type);
        colonna.memo = colonnaMdb->col_type == MDB_MEMO;
        if (colonna.tipo != kBinario) {
            colonna.spazio.assign(kSpazioValore, '\0');
            mdb_bind_column(tabella.get(), static_cast<int>(i + 1), colonna.spazio.data(),
                            &colonna.lunghezza);
        }
        std::fprintf(uscita, "%c ", colonna.tipo);
        ScriviBlocco(colonnaMdb->name);
        Scrivi("\n");
    }
    const unsigned long righeDichiarate = tabella->num_rows;
    std::fprintf(uscita, "righe %lu\n", righeDichiarate);

    // libmdb gives a Null and a zero-length text as the same empty buffer:
    // the row is cracked again to read its null mask.
    std::vector<MdbField> campi(numeroColonne);
    unsigned long lette = 0;
    mdb_rewind_table(tabella.get());
    while (mdb_fetch_row(tabella.get())) {
        if (++lette > righeDichiarate) return kEsitoIlleggibile;
        int inizio = 0;
        size_t dimensione = 0;
        if (tabella->cur_row == 0 ||
            mdb_find_row(mdb.get(), static_cast<int>(tabella->cur_row) - 1, &inizio, &dimensione) != 0)
            return kEsitoIlleggibile;
        mdb_crack_row(tabella.get(), inizio & kMascheraPosizioneRiga, dimensione, campi.data());
        Scrivi("R\n");
        for (unsigned i = 0; i < numeroColonne; ++i)
            if (!ScriviValore(colonne[i], campi[i])) return kEsitoIlleggibile;
    }
    std::fprintf(uscita, "fine %lu\n", lette);
    return Concludi();
}

void ImponiLimiti() {
    alarm(kSecondiMassimi);
    const rlimit memoria{kMemoriaMassima, kMemoriaMassima};
    setrlimit(RLIMIT_AS, &memoria);
}

}  // namespace

int main(int argc, char** argv) {
    // Numbers and dates come out of printf and strftime: keep them in the C
    // locale whatever the environment says, and texts in UTF-8.
    std::setlocale(LC_ALL, "C");
    unsetenv("MDBICONV");
    ImponiLimiti();
    PrendiUscita();
    if (argc == 3 && std::strcmp(argv[1], "tabelle") == 0) return ElencaTabelle(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "tabella") == 0) return LeggiTabella(argv[2], argv[3]);
    std::fprintf(stderr, "uso: brovato5-mdb tabelle FILE | tabella FILE NOME\n");
    return kEsitoUsoErrato;
}
