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
#include <cerrno>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "ProtocolloMdb.h"

namespace {

using namespace ProtocolloMdb;

// Own limits, in case the program that started this one is gone: a damaged
// file must not leave a process looping or eating the workstation's memory.
constexpr unsigned kSecondiMassimi = 120;
constexpr rlim_t kMemoriaMassima = rlim_t{2} << 30;

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

MdbColumn* ColonnaMdb(const MdbTableDef* tabella, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(tabella->columns, i));
}

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

int RigheDellaPagina(MdbHandle* mdb, const void* pagina) {
    return mdb_get_int16(const_cast<void*>(pagina), mdb->fmt->row_count_offset);
}
int RigheDellaPagina(MdbHandle* mdb) { return RigheDellaPagina(mdb, mdb->pg_buf); }

// Where the rows of a page may begin: after its header and its row slots.
long FineSlot(MdbHandle* mdb, const void* pagina) {
    return mdb->fmt->row_count_offset + 2 + 2L * RigheDellaPagina(mdb, pagina);
}

// Whether the page in the buffer is a data page of the table whose row
// slots all lie within the page.
bool PaginaDati(MdbHandle* mdb, const MdbTableDef* tabella) {
    const long proprietario = mdb_get_int32(mdb->pg_buf, kPosizioneProprietario);
    return mdb->pg_buf[0] == MDB_PAGE_DATA && proprietario == static_cast<long>(tabella->entry->table_pg) &&
           FineSlot(mdb, mdb->pg_buf) <= mdb->fmt->pg_size;
}

// Whether a row of the page in the buffer, its start masked of the flags,
// lies where rows lie: a row reaching into the header or the slots would
// read them as values.
bool RigaFraLeRighe(MdbHandle* mdb, const PosizioneRiga& riga) {
    return (riga.inizio & kMascheraPosizioneRiga) >= FineSlot(mdb, mdb->pg_buf);
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
        numero >= RigheDellaPagina(mdb) || mdb_find_row(mdb, numero, &riga.inizio, &riga.dimensione) != 0 ||
        !RigaFraLeRighe(mdb, riga))
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
            if (esito != 0 || !RigaFraLeRighe(mdb, riga)) return false;
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

// The rows a walk of the table finds when none is damaged: the live slots
// of its pages, a moved row counted in its old place. Nothing when a page
// is damaged.
std::optional<unsigned long> RigheVive(MdbTableDef* tabella) {
    MdbHandle* mdb = tabella->entry->mdb;
    unsigned long righe = 0;
    mdb_rewind_table(tabella);
    while (mdb_read_next_dpg(tabella)) {
        if (!PaginaDati(mdb, tabella)) return std::nullopt;
        const int slot = mdb->fmt->row_count_offset + 2;
        for (int numero = 0; numero < RigheDellaPagina(mdb); ++numero)
            if (!(mdb_get_int16(mdb->pg_buf, slot + 2 * numero) & kRigaCancellata)) ++righe;
    }
    return righe;
}

// The bytes of a row that hold its values: after the count of its columns,
// before the offsets of its variable-length values and its null mask at the
// end. False when the row is too short to hold even those.
bool AreaDeiValori(MdbTableDef* tabella, const PosizioneRiga& riga, long& inizio, long& fine) {
    MdbHandle* mdb = tabella->entry->mdb;
    // Counts and offsets take one byte in Jet 3 files, two in the later ones.
    const long numero = IS_JET3(mdb) ? 1 : 2;
    const auto leggi = [&](long dove) {
        return numero == 1 ? long{mdb_get_byte(mdb->pg_buf, static_cast<int>(dove))}
                           : long{mdb_get_int16(mdb->pg_buf, static_cast<int>(dove))};
    };
    const long fineRiga = riga.inizio + static_cast<long>(riga.dimensione);
    if (static_cast<long>(riga.dimensione) < numero) return false;
    long coda = (leggi(riga.inizio) + 7) / 8;
    if (tabella->num_var_cols > 0) {
        if (static_cast<long>(riga.dimensione) < 2 * numero + coda) return false;
        // Their count, and an offset for each and one for where the last ends.
        coda += numero * (leggi(fineRiga - coda - numero) + 2);
    }
    inizio = riga.inizio + numero;
    fine = fineRiga - coda;
    return inizio <= fine;
}

// The fields of a row; false when the row cannot be taken apart or a value
// lies outside the bytes that hold the row's values: libmdb would read it
// from the slots, the null mask or another row.
bool ScomponiRiga(MdbTableDef* tabella, const PosizioneRiga& riga, std::vector<MdbField>& campi) {
    long inizio = 0, fine = 0;
    if (riga.dimensione == 0 || !AreaDeiValori(tabella, riga, inizio, fine) ||
        mdb_crack_row(tabella, riga.inizio, riga.dimensione, campi.data()) <= 0)
        return false;
    for (unsigned i = 0; i < tabella->num_cols; ++i) {
        const MdbField& campo = campi[i];
        // Yes/No values live in the null mask.
        if (campo.is_null || ColonnaMdb(tabella, i)->col_type == MDB_BOOL) continue;
        if (campo.siz < 0 || campo.start < inizio || campo.start + long{campo.siz} > fine) return false;
    }
    return true;
}

// A long value (a memo, an OLE object) begins in the row with a header: its
// length in bytes, with flags in the high bits telling where it lies, then
// the page-and-row number of the long-value row holding it when it does not
// follow the header in the row.
constexpr int kIntestazioneValoreLungo = MDB_MEMO_OVERHEAD;
constexpr std::uint32_t kNellaRiga = 0x80000000;  // after the header
constexpr std::uint32_t kInUnaRiga = 0x40000000;  // the whole of one long-value row
constexpr std::uint32_t kMascheraLunghezza = 0x3fffffff;
constexpr int kPosizioneRigaLunga = 4;

// The long values of one reading of a table, gathered from their rows.
// Access gives each long-value row to one value: a row reached twice is a
// damaged file (a chain that loops, values of many records made to share
// one row, which would pass on its bytes over and over).
class ValoriLunghi {
public:
    explicit ValoriLunghi(MdbHandle* mdb) : mdb_(mdb) {}

    // The bytes of the long value of `campo`, of the row in the page buffer;
    // false when they are not all where its header says, as many as it says.
    bool Leggi(const MdbField& campo, std::string& byte) {
        if (campo.siz < kIntestazioneValoreLungo) return false;
        const auto intestazione = static_cast<std::uint32_t>(mdb_get_int32(campo.value, 0));
        const std::uint32_t lunghezza = intestazione & kMascheraLunghezza;
        auto puntatore = static_cast<std::uint32_t>(mdb_get_int32(campo.value, kPosizioneRigaLunga));
        std::string_view riga;
        switch (intestazione & ~kMascheraLunghezza) {
            case kNellaRiga:
                byte.assign(static_cast<const char*>(campo.value) + kIntestazioneValoreLungo,
                            static_cast<std::size_t>(campo.siz - kIntestazioneValoreLungo));
                return byte.size() == lunghezza;
            case kInUnaRiga:
                if (!Riga(puntatore, riga)) return false;
                byte.assign(riga);
                return byte.size() == lunghezza;
            case 0:
                // A chain of rows, each beginning with the page-and-row number
                // of the next, until the value's length is reached: a chain
                // that ends before lost a link.
                byte.clear();
                while (byte.size() < lunghezza) {
                    if (!Riga(puntatore, riga) || riga.size() < kLunghezzaPuntatore) return false;
                    puntatore = static_cast<std::uint32_t>(mdb_get_int32(const_cast<char*>(riga.data()), 0));
                    riga.remove_prefix(kLunghezzaPuntatore);
                    byte.append(riga.substr(0, lunghezza - byte.size()));
                }
                return true;
            default:
                return false;
        }
    }

private:
    // The long-value row of `puntatore`, read into libmdb's second page
    // buffer; false when it is not a live row of a long-value page or was
    // reached before.
    bool Riga(std::uint32_t puntatore, std::string_view& byte) {
        const unsigned long pagina = puntatore >> kBitNumeroRiga;
        const int numero = static_cast<int>(puntatore & ((1u << kBitNumeroRiga) - 1));
        if (pagina == 0 || !righeLette_.insert(puntatore).second ||
            mdb_read_alt_pg(mdb_, pagina) != mdb_->fmt->pg_size)
            return false;
        unsigned char* byteRighe = mdb_->alt_pg_buf;
        const int slot = mdb_->fmt->row_count_offset + 2;
        if (byteRighe[0] != MDB_PAGE_DATA || std::memcmp(byteRighe + kPosizioneProprietario, "LVAL", 4) != 0 ||
            numero >= RigheDellaPagina(mdb_, byteRighe) || FineSlot(mdb_, byteRighe) > mdb_->fmt->pg_size)
            return false;
        const int inizio = mdb_get_int16(byteRighe, slot + 2 * numero);
        const int fine = numero == 0 ? mdb_->fmt->pg_size
                                     : mdb_get_int16(byteRighe, slot + 2 * (numero - 1)) & kMascheraPosizioneRiga;
        if ((inizio & (kRigaCancellata | kRigaSpostata)) || inizio < FineSlot(mdb_, byteRighe) || inizio > fine)
            return false;
        byte = {reinterpret_cast<const char*>(byteRighe) + inizio, static_cast<std::size_t>(fine - inizio)};
        return true;
    }

    MdbHandle* mdb_;
    std::unordered_set<std::uint32_t> righeLette_;
};

// Whether a text as the file stores it is whole. From Jet 4 on, texts are
// UCS-2, two bytes a character, or, when they begin with FF FE, in runs of
// one byte a character and runs of two, each 00 switching between them: a
// run of two bytes a character cut to an odd length would lose its last
// byte, which libmdb drops without a word.
bool TestoCompleto(MdbHandle* mdb, std::string_view byte) {
    if (IS_JET3(mdb)) return true;
    if (!byte.starts_with("\xFF\xFE")) return byte.size() % 2 == 0;
    bool unByte = true;
    for (std::size_t i = 2; i < byte.size();) {
        if (byte[i] == '\0') {
            unByte = !unByte;
            ++i;
        } else if (unByte) {
            ++i;
        } else if (i + 1 < byte.size()) {
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

// A text as the file stores it, in UTF-8 as libmdb converts it; false when
// it is not whole.
bool TestoConvertito(MdbHandle* mdb, std::string_view byte, std::string& testo) {
    if (!TestoCompleto(mdb, byte)) return false;
    // Up to three bytes of UTF-8 for each byte stored.
    testo.resize(3 * byte.size() + 1);
    const int lunghezza = mdb_unicode2ascii(mdb, byte.data(), byte.size(), testo.data(), testo.size());
    testo.resize(static_cast<std::size_t>(std::max(lunghezza, 0)));
    return true;
}

// A date and time as Access keeps it: the days from 30/12/1899 and, in the
// fraction, the time of day; before that day the days count back from it
// and the time still forward from midnight (-1.25 is 29/12/1899 at 6:00).
// As "yyyy-mm-dd hh:mm:ss" to the nearest second; false outside the years
// Access allows, 100 to 9999.
bool TestoData(double valore, std::string& testo) {
    using namespace std::chrono;
    constexpr double kGiorniOltreIlLimite = 1e7;
    if (!std::isfinite(valore) || std::fabs(valore) > kGiorniOltreIlLimite) return false;
    const double giorni = std::trunc(valore);
    const auto istante = sys_days(year(1899) / December / 30) + days(static_cast<long>(giorni)) +
                         seconds(std::llround(std::fabs(valore - giorni) * 86400.0));
    const auto giorno = floor<days>(istante);
    const year_month_day data(giorno);
    const hh_mm_ss ora(istante - giorno);
    if (data.year() < year(100) || data.year() > year(9999)) return false;
    char cifre[32];
    const int scritti = std::snprintf(cifre, sizeof cifre, "%04d-%02u-%02u %02ld:%02ld:%02ld", int(data.year()),
                                      unsigned(data.month()), unsigned(data.day()), long(ora.hours().count()),
                                      long(ora.minutes().count()), long(ora.seconds().count()));
    testo.assign(cifre, static_cast<std::size_t>(scritti));
    return true;
}

struct LiberaTesto {
    void operator()(char* testo) const { g_free(testo); }
};

// Whole numbers and currency amounts are little-endian integers in the row
// (currency in ten-thousandths): their text is written here, exactly, as
// libmdb writes it but without its slow decimal arithmetic for currency.
// `tipo`: Byte, Integer, Long or Currency.
void TestoIntero(MdbHandle* mdb, int tipo, int inizio, std::string& testo) {
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
        default: {
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
    }
    testo.assign(cifre, fine);
}

// The values of the fields of one reading of a table, as text.
class LettoreCampi {
public:
    explicit LettoreCampi(MdbHandle* mdb) : mdb_(mdb), lunghi_(mdb) {}

    // The text of a field that is not Null, of the row in the page buffer:
    // numbers and dates written out, texts in UTF-8, binary data and OLE
    // objects as their bytes; false when it cannot be passed on whole.
    bool Testo(const MdbColumn& colonna, const MdbField& campo, std::string& testo) {
        const std::string_view byte(static_cast<const char*>(campo.value), static_cast<std::size_t>(campo.siz));
        switch (colonna.col_type) {
            case MDB_BYTE:
            case MDB_INT:
            case MDB_LONGINT:
            case MDB_MONEY:
                TestoIntero(mdb_, colonna.col_type, campo.start, testo);
                return true;
            case MDB_DATETIME:
                return TestoData(mdb_get_double(mdb_->pg_buf, campo.start), testo);
            case MDB_TEXT:
                return TestoConvertito(mdb_, byte, testo);
            case MDB_MEMO:
                return lunghi_.Leggi(campo, byte_) && TestoConvertito(mdb_, byte_, testo);
            case MDB_OLE:
                return lunghi_.Leggi(campo, testo);
            case MDB_FLOAT:
            case MDB_DOUBLE:
            case MDB_NUMERIC:
            case MDB_REPID:
                return TestoDiLibmdb(colonna, campo, testo);
            default:
                testo.assign(byte);
                return true;
        }
    }

private:
    // Numbers with a fraction and replication ids, as libmdb writes them.
    bool TestoDiLibmdb(const MdbColumn& colonna, const MdbField& campo, std::string& testo) {
        const std::unique_ptr<char, LiberaTesto> convertito(
            colonna.col_type == MDB_NUMERIC
                ? mdb_numeric_to_string(mdb_, campo.start, colonna.col_scale, colonna.col_prec)
                : mdb_col_to_string(mdb_, mdb_->pg_buf, campo.start, colonna.col_type, campo.siz));
        if (!convertito) return false;
        testo.assign(convertito.get());
        return true;
    }

    MdbHandle* mdb_;
    ValoriLunghi lunghi_;
    std::string byte_;  // a memo's bytes as stored
};

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
        LettoreCampi lettore(mdb_);
        std::string testo;
        unsigned long lette = 0;
        const bool letto = PercorriRighe(tabella.get(), [&](const PosizioneRiga& riga) {
            if (++lette > tabella->num_rows || !ScomponiRiga(tabella.get(), riga, campi)) return false;
            const MdbField& campoNome = campi[nome];
            testo.clear();
            if (!campoNome.is_null &&
                !lettore.Testo(*ColonnaMdb(tabella.get(), static_cast<unsigned>(nome)), campoNome, testo))
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

// Throws std::bad_alloc when there is not the memory to map it.
FileMappato Mappa(const char* percorso) {
    const int fd = open(percorso, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    FileMappato file;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0) {
        const auto dimensione = static_cast<std::size_t>(info.st_size);
        void* byte = mmap(nullptr, dimensione, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (byte != MAP_FAILED) file = {byte, dimensione};
        if (byte == MAP_FAILED && errno == ENOMEM) {
            close(fd);
            throw std::bad_alloc();
        }
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
bool ScriviValore(LettoreCampi& lettore, const MdbColumn& colonnaMdb, char tipo, const MdbField& campo,
                  std::string& testo) {
    // Yes/No values live in the null mask, set for No: they are never Null.
    if (tipo == kSiNo) {
        Scrivi(campo.is_null ? "B1:0\n" : "B1:1\n");
        return true;
    }
    if (campo.is_null) {
        Scrivi("N\n");
        return true;
    }
    if (!lettore.Testo(colonnaMdb, campo, testo)) return false;
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
    MdbCatalogEntry* voce = TrovaTabella(*archivio.catalogo, nome);
    if (!voce) return kEsitoTabellaMancante;
    const DefinizioneTabella tabella = LeggiDefinizione(voce);
    // The row count the table's definition declares must be the rows its
    // pages hold before it is passed on: the program that asks takes room
    // for that many records.
    if (!tabella || RigheVive(tabella.get()) != tabella->num_rows) return kEsitoIlleggibile;

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
    LettoreCampi lettore(archivio.mdb.get());
    std::string testo;
    unsigned long lette = 0;
    const bool letta = PercorriRighe(tabella.get(), [&](const PosizioneRiga& riga) {
        if (++lette > righeDichiarate || !ScomponiRiga(tabella.get(), riga, campi)) return false;
        Scrivi("R\n");
        for (std::size_t k = 0; k < colonne.size(); ++k)
            if (!ScriviValore(lettore, *ColonnaMdb(tabella.get(), colonne[k]), tipi[k], campi[colonne[k]], testo))
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

// Reads what the command line asks for; the exit code.
int Leggi(int argc, char** argv) {
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

}  // namespace

int main(int argc, char** argv) {
    // Numbers come out of printf: keep them in the C locale whatever the
    // environment says, and texts in UTF-8.
    std::setlocale(LC_ALL, "C");
    unsetenv("MDBICONV");
    ImponiLimiti();
    PrendiUscita();
    try {
        return Leggi(argc, argv);
    } catch (const std::bad_alloc&) {
        return kEsitoMemoriaInsufficiente;
    }
}
