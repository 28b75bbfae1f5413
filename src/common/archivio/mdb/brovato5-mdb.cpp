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
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
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

// Where the output goes: a copy of the standard output taken at start-up.
// libmdb prints diagnostics and page dumps on damaged files, some of them on
// standard output, which is sent to standard error so they cannot mix in.
std::FILE* uscita = nullptr;

void PrendiUscita() {
    const int copia = dup(STDOUT_FILENO);
    if (copia >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) >= 0) uscita = fdopen(copia, "w");
    if (!uscita) std::exit(kEsitoIlleggibile);
}

// What is still to be written, handed to the output in large blocks.
std::string daScrivere;
constexpr std::size_t kBloccoUscita = std::size_t{1} << 16;

void Svuota() {
    std::fwrite(daScrivere.data(), 1, daScrivere.size(), uscita);
    daScrivere.clear();
}

void Scrivi(std::string_view testo) {
    daScrivere += testo;
    if (daScrivere.size() >= kBloccoUscita) Svuota();
}

// A whole number in decimal.
template <typename Intero>
void ScriviNumero(Intero n) {
    char cifre[24];
    Scrivi(std::string_view(cifre, static_cast<std::size_t>(std::to_chars(cifre, cifre + sizeof cifre, n).ptr - cifre)));
}

// "<len>:<bytes>"
void ScriviBlocco(std::string_view byte) {
    ScriviNumero(byte.size());
    Scrivi(":");
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

// The row-offset table of a data page: each slot holds where its row starts,
// with two flags in the high bits. Access keeps the bytes of a deleted row
// and flags its slot; an update that makes a row too long for its place
// moves the row elsewhere, leaves in the old slot a pointer to it, and flags
// the moved copy as deleted, so that a scan finds it only through the pointer,
// in the row's old place. libmdb's own row walk reads these flags the other
// way round, which is why the rows are walked here.
constexpr int kRigaCancellata = 0x8000;  // deleted, or the moved copy of a row
constexpr int kRigaSpostata = 0x4000;    // holds a pointer to where the row now lives
constexpr int kMascheraPosizioneRiga = 0x1fff;
// A pointer to a moved row: [slot (1 byte)][page (3 bytes)], little endian,
// the page-and-row number libmdb's mdb_find_pg_row takes.
constexpr std::size_t kLunghezzaPuntatore = 4;
constexpr int kBitNumeroRiga = 8;
// Where a data page names the table definition page of its table, in every
// format (libmdb looks there too when it walks a table's pages).
constexpr int kPosizioneProprietario = 4;

// Where a row lies in the page held in libmdb's page buffer.
struct PosizioneRiga {
    int inizio = 0;
    std::size_t dimensione = 0;
};

int RigheDellaPagina(MdbHandle* mdb) { return mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset); }

// Whether the page in the buffer is a data page of the table whose row
// slots all lie within the page.
bool PaginaDati(MdbHandle* mdb, const MdbTableDef* tabella) {
    const long proprietario = mdb_get_int32(mdb->pg_buf, kPosizioneProprietario);
    const long fineSlot = mdb->fmt->row_count_offset + 2 + 2L * RigheDellaPagina(mdb);
    return mdb->pg_buf[0] == MDB_PAGE_DATA && proprietario == static_cast<long>(tabella->entry->table_pg) &&
           fineSlot <= mdb->fmt->pg_size;
}

// Loads the page a moved row's pointer leads to and finds the row there.
// False when it leads nowhere valid: beyond the file, to a page that is not
// a data page of this table, to a slot that does not exist, or to a slot
// that is not a moved copy (a live row, which the walk reads in its own
// place, or another pointer).
bool SeguiPuntatore(MdbTableDef* tabella, std::uint32_t puntatore, PosizioneRiga& riga) {
    MdbHandle* mdb = tabella->entry->mdb;
    const unsigned long pagina = puntatore >> kBitNumeroRiga;
    const int numero = static_cast<int>(puntatore & ((1u << kBitNumeroRiga) - 1));
    if (pagina == 0 || mdb_read_pg(mdb, pagina) != mdb->fmt->pg_size || !PaginaDati(mdb, tabella) ||
        numero >= RigheDellaPagina(mdb) || mdb_find_row(mdb, numero, &riga.inizio, &riga.dimensione) != 0)
        return false;
    if ((riga.inizio & (kRigaCancellata | kRigaSpostata)) != kRigaCancellata) return false;
    riga.inizio &= kMascheraPosizioneRiga;
    return true;
}

// Calls `leggi(posizione)` for every live row of the table in the order
// Access returns them, with the page holding the row in libmdb's page
// buffer: deleted rows are skipped, a moved row is read where its pointer
// stands. False when a page or a pointer is damaged (two pointers leading to
// the same copy among them), or `leggi` fails.
template <typename Leggi>
bool PercorriRighe(MdbTableDef* tabella, Leggi leggi) {
    MdbHandle* mdb = tabella->entry->mdb;
    std::unordered_set<std::uint32_t> copieLette;
    mdb_rewind_table(tabella);
    while (mdb_read_next_dpg(tabella)) {
        // The number of the page now in the buffer, kept to come back to it
        // after following a pointer. libmdb's answer is not it: when the
        // table's usage map is of a kind libmdb cannot read, it tries every
        // page in turn and answers the number after the one it found.
        const unsigned long pagina = mdb->cur_pg;
        if (!PaginaDati(mdb, tabella)) return false;
        const int righe = RigheDellaPagina(mdb);
        for (int numero = 0; numero < righe; ++numero) {
            PosizioneRiga riga;
            const int esito = mdb_find_row(mdb, numero, &riga.inizio, &riga.dimensione);
            if (riga.inizio & kRigaCancellata) continue;
            if (esito != 0) return false;
            if (!(riga.inizio & kRigaSpostata)) {
                riga.inizio &= kMascheraPosizioneRiga;
                if (!leggi(riga)) return false;
                continue;
            }
            if (riga.dimensione < kLunghezzaPuntatore) return false;
            const auto puntatore =
                static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, riga.inizio & kMascheraPosizioneRiga));
            if (!copieLette.insert(puntatore).second || !SeguiPuntatore(tabella, puntatore, riga) || !leggi(riga))
                return false;
            // Back to the page being walked.
            if (mdb_read_pg(mdb, pagina) != mdb->fmt->pg_size) return false;
        }
    }
    return true;
}

// The fields of a row; false when the row cannot be taken apart.
bool ScomponiRiga(MdbTableDef* tabella, const PosizioneRiga& riga, std::vector<MdbField>& campi) {
    return riga.dimensione > 0 && mdb_crack_row(tabella, riga.inizio, riga.dimensione, campi.data()) > 0;
}

// A memo value starts in the row with a header: its length in bytes, with
// flags in the high byte telling how it is stored, then (when it is not
// stored in the row itself) the page-and-row number of the long-value row
// holding it.
constexpr int kIntestazioneMemo = 12;
constexpr std::uint32_t kFlagMemo = 0xff000000;
constexpr int kPosizioneRigaMemo = 4;

std::uint32_t IntestazioneMemo(const MdbField& campo) {
    if (campo.siz < kIntestazioneMemo || !campo.value) return 0;
    const auto* byte = static_cast<const unsigned char*>(campo.value);
    return byte[0] | byte[1] << 8 | byte[2] << 16 | std::uint32_t{byte[3]} << 24;
}

// Bytes a memo value holds as stored. libmdb gives an empty text when the
// pages holding it cannot be read.
std::uint32_t LunghezzaMemo(const MdbField& campo) { return IntestazioneMemo(campo) & 0x3fffffff; }

std::uint64_t ByteDelFile(MdbHandle* mdb) {
    // libmdb places the stream before each page it reads: moving it is harmless.
    if (fseeko(mdb->f->stream, 0, SEEK_END) != 0) return 0;
    const off_t fine = ftello(mdb->f->stream);
    return fine > 0 ? static_cast<std::uint64_t>(fine) : 0;
}

// A memo too long for one long-value row lies in a chain of them, each
// beginning with the page-and-row number of the next (0 ends it). libmdb
// follows the chain until it has the length the header declares: a chain
// that loops makes it read the same page again and again and pass on its
// bytes repeated. False when the chain passes through a row twice or holds
// more bytes than the whole file.
bool CatenaMemoIntegra(MdbHandle* mdb, const MdbField& campo) {
    // With no flag set the value lies in such a chain.
    if (campo.siz < kIntestazioneMemo || (IntestazioneMemo(campo) & kFlagMemo)) return true;
    const std::uint64_t byteFile = ByteDelFile(mdb);
    std::unordered_set<std::uint32_t> visitate;
    std::uint64_t byte = 0;
    auto riga = static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, campo.start + kPosizioneRigaMemo));
    while (riga != 0) {
        if (!visitate.insert(riga).second) return false;
        void* pagina = nullptr;
        int inizio = 0;
        std::size_t dimensione = 0;
        if (mdb_find_pg_row(mdb, static_cast<int>(riga), &pagina, &inizio, &dimensione) != 0) return false;
        // A row too short to hold the pointer ends the chain, for libmdb too.
        if (dimensione < kLunghezzaPuntatore) return true;
        byte += dimensione - kLunghezzaPuntatore;
        if (byte > byteFile) return false;
        riga = static_cast<std::uint32_t>(mdb_get_int32(pagina, inizio));
    }
    return true;
}

struct LiberaTesto {
    void operator()(char* testo) const { g_free(testo); }
};

// Whole numbers and currency amounts are little-endian integers in the row
// (currency in ten-thousandths): their text is written here, exactly, as
// libmdb writes it but without its slow decimal arithmetic for currency.
// False for the other types.
bool TestoIntero(MdbHandle* mdb, int tipo, int inizio, std::string& testo) {
    void* pagina = mdb->pg_buf;
    char cifre[32];
    char* fine = cifre;
    switch (tipo) {
        case MDB_BYTE:
            fine = std::to_chars(cifre, cifre + sizeof cifre, mdb_get_byte(pagina, inizio)).ptr;
            break;
        case MDB_INT:
            fine = std::to_chars(cifre, cifre + sizeof cifre, static_cast<std::int16_t>(mdb_get_int16(pagina, inizio))).ptr;
            break;
        case MDB_LONGINT:
            fine = std::to_chars(cifre, cifre + sizeof cifre, static_cast<std::int32_t>(mdb_get_int32(pagina, inizio))).ptr;
            break;
        case MDB_MONEY: {
            const auto bassa = static_cast<std::uint32_t>(mdb_get_int32(pagina, inizio));
            const auto alta = static_cast<std::uint32_t>(mdb_get_int32(pagina, inizio + 4));
            const auto importo = static_cast<std::int64_t>(std::uint64_t{alta} << 32 | bassa);
            const std::uint64_t grandezza = importo < 0 ? 0 - static_cast<std::uint64_t>(importo) : importo;
            constexpr std::uint64_t kDecimillesimi = 10000;
            if (importo < 0) *fine++ = '-';
            fine = std::to_chars(fine, cifre + sizeof cifre, grandezza / kDecimillesimi).ptr;
            *fine++ = '.';
            for (std::uint64_t resto = grandezza % kDecimillesimi, peso = kDecimillesimi / 10; peso > 0; peso /= 10)
                *fine++ = static_cast<char>('0' + resto / peso % 10);
            break;
        }
        default:
            return false;
    }
    testo.assign(cifre, fine);
    return true;
}

// The text of a field that is not Null, as libmdb converts it; false when
// it cannot be passed on whole.
bool TestoDelCampo(MdbHandle* mdb, const MdbColumn& colonna, const MdbField& campo, std::string& testo) {
    if (TestoIntero(mdb, colonna.col_type, campo.start, testo)) return true;
    if (colonna.col_type == MDB_MEMO && !CatenaMemoIntegra(mdb, campo)) return false;
    const std::unique_ptr<char, LiberaTesto> convertito(
        colonna.col_type == MDB_NUMERIC
            ? mdb_numeric_to_string(mdb, campo.start, colonna.col_scale, colonna.col_prec)
            : mdb_col_to_string(mdb, mdb->pg_buf, campo.start, colonna.col_type, campo.siz));
    if (!convertito) return false;
    testo.assign(convertito.get());
    // libmdb cuts a text at its value space; a memo whose pages cannot be read comes empty.
    if (testo.size() + 1 >= mdb->bind_size) return false;
    return !(colonna.col_type == MDB_MEMO && testo.empty() && LunghezzaMemo(campo) > 2);
}

// An integer field (Integer or Long) of the row: 0 when Null, as libmdb takes it.
long InteroDelCampo(MdbHandle* mdb, const MdbColumn& colonna, const MdbField& campo) {
    if (campo.is_null) return 0;
    if (colonna.col_type == MDB_INT) return static_cast<std::int16_t>(mdb_get_int16(mdb->pg_buf, campo.start));
    return static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, campo.start));
}

// A table definition with its columns read, from a catalog entry.
DefinizioneTabella LeggiDefinizione(MdbCatalogEntry* voce) {
    DefinizioneTabella tabella(mdb_read_table(voce));
    if (tabella && !mdb_read_columns(tabella.get())) tabella.reset();
    return tabella;
}

MdbColumn* ColonnaMdb(const MdbTableDef* tabella, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(tabella->columns, i));
}

// The file's objects as its catalog table lists them, read with the same
// walk as every other table: libmdb's own catalog shows deleted objects and
// may lose moved entries.
class Catalogo {
public:
    explicit Catalogo(MdbHandle* mdb) : mdb_(mdb) {}

    // False when the catalog table cannot be read whole.
    bool Leggi() {
        MdbCatalogEntry* oggetti = mdb_get_catalogentry_by_name(mdb_, "MSysObjects");
        if (!oggetti) return false;
        const DefinizioneTabella tabella = LeggiDefinizione(oggetti);
        if (!tabella) return false;
        const int id = ColonnaDi(*tabella, "Id"), nome = ColonnaDi(*tabella, "Name"),
                  tipo = ColonnaDi(*tabella, "Type"), attributi = ColonnaDi(*tabella, "Flags");
        if (id < 0 || nome < 0 || tipo < 0 || attributi < 0) return false;
        std::vector<MdbField> campi(tabella->num_cols);
        const auto intero = [&](int colonna) {
            return InteroDelCampo(mdb_, *ColonnaMdb(tabella.get(), static_cast<unsigned>(colonna)), campi[colonna]);
        };
        std::string testo;
        unsigned long lette = 0;
        const bool letto = PercorriRighe(tabella.get(), [&](const PosizioneRiga& riga) {
            if (++lette > tabella->num_rows || !ScomponiRiga(tabella.get(), riga, campi)) return false;
            const MdbField& campoNome = campi[nome];
            testo.clear();
            if (!campoNome.is_null && !TestoDelCampo(mdb_, *ColonnaMdb(tabella.get(), static_cast<unsigned>(nome)),
                                                     campoNome, testo))
                return false;
            if (testo.size() > MDB_MAX_OBJ_NAME) return false;
            MdbCatalogEntry voce{};
            voce.mdb = mdb_;
            testo.copy(voce.object_name, testo.size());
            voce.object_type = static_cast<int>(intero(tipo) & kMascheraTipo);
            voce.table_pg = static_cast<unsigned long>(intero(id)) & kMascheraPagina;
            voce.flags = static_cast<int>(intero(attributi));
            voci_.push_back(voce);
            return true;
        });
        return letto && lette == tabella->num_rows;
    }

    std::vector<MdbCatalogEntry*> TabelleUtente() {
        std::vector<MdbCatalogEntry*> tabelle;
        for (auto& voce : voci_)
            if (mdb_is_user_table(&voce)) tabelle.push_back(&voce);
        return tabelle;
    }

private:
    // As libmdb reads an entry: the type in the low bits, the definition page in the low bytes of the id.
    static constexpr long kMascheraTipo = 0x7f;
    static constexpr unsigned long kMascheraPagina = 0x00ffffff;

    static int ColonnaDi(const MdbTableDef& tabella, const char* nome) {
        for (unsigned i = 0; i < tabella.num_cols; ++i)
            if (std::strcmp(ColonnaMdb(&tabella, i)->name, nome) == 0) return static_cast<int>(i);
        return -1;
    }

    MdbHandle* mdb_;
    std::vector<MdbCatalogEntry> voci_;
};

// The file's bytes, mapped read-only for the life of the reader: libmdb
// reads its pages from memory, where from the file it would seek, examine
// the file and read for each page.
struct FileMappato {
    void* byte = nullptr;
    std::size_t dimensione = 0;
};

FileMappato Mappa(const char* percorso) {
    const int fd = open(percorso, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    FileMappato file;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0) {
        const auto dimensione = static_cast<std::size_t>(info.st_size);
        void* byte = mmap(nullptr, dimensione, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (byte != MAP_FAILED) file = {byte, dimensione};
    }
    close(fd);
    return file;
}

// An Access file is made of whole pages. libmdb reads a last page cut short
// as if the missing bytes were there, and the rows on it come out with
// values lost, with no error and the right number of rows.
bool PagineIntere(const FileMappato& file, const MdbHandle* mdb) { return file.dimensione % mdb->fmt->pg_size == 0; }

// An open file with its catalog read.
struct ArchivioAperto {
    Archivio mdb;
    std::unique_ptr<Catalogo> catalogo;
};

// Opens the file read-only and reads its catalog. libmdb's catalog, read
// once, only serves to find the catalog table: reading it again would leave
// every entry and table definition taken from it dangling.
ArchivioAperto Apri(const char* percorso) {
    const FileMappato file = Mappa(percorso);
    if (!file.byte) return {};
    ArchivioAperto aperto{Archivio(mdb_open_buffer(file.byte, file.dimensione, MDB_NOFLAGS)), nullptr};
    MdbHandle* mdb = aperto.mdb.get();
    if (!mdb || !PagineIntere(file, mdb) || !mdb_read_catalog(mdb, MDB_TABLE)) return {};
    aperto.catalogo = std::make_unique<Catalogo>(mdb);
    if (!aperto.catalogo->Leggi()) return {};
    return aperto;
}

bool StessoNome(const char* a, const char* b) {
    gchar* pa = g_utf8_casefold(a, -1);
    gchar* pb = g_utf8_casefold(b, -1);
    const bool uguali = std::strcmp(pa, pb) == 0;
    g_free(pa);
    g_free(pb);
    return uguali;
}

MdbCatalogEntry* TrovaTabella(Catalogo& catalogo, const char* nome) {
    for (auto* voce : catalogo.TabelleUtente())
        if (StessoNome(voce->object_name, nome)) return voce;
    return nullptr;
}

int Concludi() {
    Svuota();
    return std::fflush(uscita) == 0 && !std::ferror(uscita) ? kEsitoLetto : kEsitoIlleggibile;
}

void ScriviElenco(const ArchivioAperto& archivio) {
    const auto tabelle = archivio.catalogo->TabelleUtente();
    Scrivi(kIntestazione);
    Scrivi("\ntabelle ");
    ScriviNumero(tabelle.size());
    Scrivi("\n");
    for (const auto* voce : tabelle) {
        ScriviBlocco(voce->object_name);
        Scrivi("\n");
    }
    Scrivi("fine\n");
}

// Writes the value of a field of the current row; false when it cannot be
// passed on whole.
bool ScriviValore(MdbHandle* mdb, const MdbColumn& colonnaMdb, char tipo, const MdbField& campo, std::string& testo) {
    // Yes/No values live in the null mask, set for No: they are never Null.
    if (tipo == kSiNo) {
        Scrivi(campo.is_null ? "B1:0\n" : "B1:1\n");
        return true;
    }
    if (tipo == kBinario || campo.is_null) {
        Scrivi("N\n");
        return true;
    }
    if (!TestoDelCampo(mdb, colonnaMdb, campo, testo)) return false;
    Scrivi(std::string_view(&tipo, 1));
    ScriviBlocco(testo);
    Scrivi("\n");
    return true;
}

// The positions of the columns to read: those named in `scelte` (case
// ignored), in the table's order; every column when none is named. A name
// the table lacks is left out, as the program that asks finds out itself.
std::vector<unsigned> ColonneScelte(const MdbTableDef* tabella, const std::vector<const char*>& scelte) {
    std::vector<unsigned> colonne;
    for (unsigned i = 0; i < tabella->num_cols; ++i) {
        const char* nome = ColonnaMdb(tabella, i)->name;
        if (scelte.empty() ||
            std::any_of(scelte.begin(), scelte.end(), [&](const char* scelta) { return StessoNome(nome, scelta); }))
            colonne.push_back(i);
    }
    return colonne;
}

// Writes the table `nome` of the open file with the columns of `scelte`;
// the exit code of the reading.
int ScriviTabella(const ArchivioAperto& archivio, const char* nome, const std::vector<const char*>& scelte) {
    MdbHandle* mdb = archivio.mdb.get();
    MdbCatalogEntry* voce = TrovaTabella(*archivio.catalogo, nome);
    if (!voce) return kEsitoTabellaMancante;
    const DefinizioneTabella tabella = LeggiDefinizione(voce);
    if (!tabella) return kEsitoIlleggibile;
    mdb_set_date_fmt(mdb, kFormatoData);
    // Room for one value as text: libmdb cuts longer values.
    mdb_set_bind_size(mdb, kSpazioValore);

    const std::vector<unsigned> colonne = ColonneScelte(tabella.get(), scelte);
    std::string tipi;
    Scrivi(kIntestazione);
    Scrivi("\ntabella ");
    ScriviBlocco(tabella->name);
    Scrivi("\ncolonne ");
    ScriviNumero(colonne.size());
    Scrivi("\n");
    for (const unsigned i : colonne) {
        const MdbColumn* colonna = ColonnaMdb(tabella.get(), i);
        tipi += TipoColonna(colonna->col_type);
        Scrivi(std::string_view(&tipi.back(), 1));
        Scrivi(" ");
        ScriviBlocco(colonna->name);
        Scrivi("\n");
    }
    const unsigned long righeDichiarate = tabella->num_rows;
    Scrivi("righe ");
    ScriviNumero(righeDichiarate);
    Scrivi("\n");

    std::vector<MdbField> campi(tabella->num_cols);
    std::string testo;
    unsigned long lette = 0;
    const bool letta = PercorriRighe(tabella.get(), [&](const PosizioneRiga& riga) {
        if (++lette > righeDichiarate || !ScomponiRiga(tabella.get(), riga, campi)) return false;
        Scrivi("R\n");
        for (std::size_t k = 0; k < colonne.size(); ++k)
            if (!ScriviValore(mdb, *ColonnaMdb(tabella.get(), colonne[k]), tipi[k], campi[colonne[k]], testo))
                return false;
        return true;
    });
    if (!letta) return kEsitoIlleggibile;
    Scrivi("fine ");
    ScriviNumero(lette);
    Scrivi("\n");
    return Concludi();
}

void ImponiLimiti() {
    alarm(kSecondiMassimi);
    // Built with AddressSanitizer (the compiler then defines
    // __SANITIZE_ADDRESS__), the program has reserved terabytes of address
    // space for the checker's shadow memory before main: any limit on the
    // address space would leave it no memory at all. The time limit stays.
#ifndef __SANITIZE_ADDRESS__
    const rlimit memoria{kMemoriaMassima, kMemoriaMassima};
    setrlimit(RLIMIT_AS, &memoria);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // Numbers and dates come out of printf and strftime: keep them in the C
    // locale whatever the environment says, and texts in UTF-8.
    std::setlocale(LC_ALL, "C");
    unsetenv("MDBICONV");
    ImponiLimiti();
    PrendiUscita();
    const bool elenco = argc >= 3 && std::strcmp(argv[1], "tabelle") == 0;
    const bool tabella = argc >= 4 && std::strcmp(argv[1], "tabella") == 0;
    if (!elenco && !tabella) {
        std::fprintf(stderr, "uso: brovato5-mdb tabelle FILE [NOME [COLONNA...]] | tabella FILE NOME [COLONNA...]\n");
        return kEsitoUsoErrato;
    }
    const ArchivioAperto archivio = Apri(argv[2]);
    if (!archivio.mdb) return kEsitoIlleggibile;
    const std::vector<const char*> scelte(argv + std::min(argc, 4), argv + argc);
    if (tabella) return ScriviTabella(archivio, argv[3], scelte);
    ScriviElenco(archivio);
    if (argc == 3) return Concludi();
    // The table asked for after the names, from the same opening; a table
    // the file lacks is left for the program that asks to find out itself.
    const int esito = ScriviTabella(archivio, argv[3], scelte);
    return esito == kEsitoTabellaMancante ? Concludi() : esito;
}
