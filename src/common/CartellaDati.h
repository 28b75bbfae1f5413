#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// An open file descriptor, closed with the object.
class Descrittore {
public:
    Descrittore() = default;
    explicit Descrittore(int fd) : fd_(fd) {}
    ~Descrittore();
    Descrittore(Descrittore&& altro) noexcept;
    Descrittore& operator=(Descrittore&& altro) noexcept;
    Descrittore(const Descrittore&) = delete;
    Descrittore& operator=(const Descrittore&) = delete;

    int Fd() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes it now; false when the system reports an error (errno), the
    // descriptor closed all the same.
    bool Chiudi();

private:
    int fd_ = -1;
};

// Which file an entry is: its device and inode.
struct IdentitaFile {
    dev_t dispositivo = 0;
    ino_t inode = 0;
    friend bool operator==(const IdentitaFile&, const IdentitaFile&) = default;
};

// What an entry of a folder is, seen without following a link.
enum class GenereVoce { Assente, File, Cartella, Collegamento, Fifo, Dispositivo, Altro };

// The Italian words for an entry that is not the regular file expected: "un
// collegamento simbolico", "una FIFO"...
std::string DescrizioneGenere(GenereVoce genere);

// A folder opened once: what lies in it is found, read and written relative
// to its descriptor, never through a symbolic link and never waiting on a
// FIFO. The data folder is shared with the suite's other users, who may put
// anything under any name there: a link to a file of this user's, a FIFO, a
// huge file. The folder itself is the one the user named (links on her path
// to it are her own). Copies share the descriptor.
class CartellaDati {
public:
    // Opens the folder at `percorso` (UTF-8). Throws Errore 76 naming it and the cause.
    explicit CartellaDati(const std::string& percorso);
    // The same; nothing when it cannot be opened, errno saying why.
    static std::optional<CartellaDati> ApriSePossibile(const std::string& percorso);

    int Fd() const { return fd_->Fd(); }
    // The path it was opened by, made absolute, for messages and for the
    // programs that are handed a file of it by name.
    const std::string& Percorso() const { return percorso_; }
    // `nome` in this folder, as a path: Percorso() + "/" + nome (a name of
    // its folders, "doc/x", too); an absolute path stays as it is.
    std::string PercorsoDi(const std::string& nome) const;

    // The name of the entry called `nome` without regard to case, its exact
    // spelling first (a folder copied from Windows may hold TABLEAU.MDB).
    // Nothing when there is none; Errore 75 when the folder cannot be read.
    std::optional<std::string> Trova(const std::string& nome) const;
    // The names of its entries, "." and ".." left out. Errore 75 when the
    // folder cannot be read.
    std::vector<std::string> Nomi() const;
    // What the entry `nome` (found as Trova finds it) is, not following a link.
    GenereVoce Genere(const std::string& nome) const;
    // Which file the entry `nome` is, when it is a regular file.
    std::optional<IdentitaFile> Identita(const std::string& nome) const;

    // The subfolder `nome`, reached without a link; with `crea` made first
    // when missing. Throws Errore 76 when it is missing, is a link or no
    // folder, or cannot be opened, saying which and why.
    CartellaDati Sottocartella(const std::string& nome, bool crea = false) const;

    // Opens the regular file `nome` (found as Trova finds it) for reading.
    // Nothing when there is none. Throws Errore 75 when the entry is a link,
    // a FIFO, a device or a folder, or cannot be opened (`numeroErrore` for
    // another number); `cosa` names it in the message ("il report").
    std::optional<Descrittore> ApriInLettura(const std::string& nome, const std::string& cosa,
                                             int numeroErrore = 75) const;
    // The whole of the regular file `nome`, opened as ApriInLettura opens it,
    // at most `massimo` bytes: a larger file is Errore 75, and is not read.
    std::optional<std::string> Leggi(const std::string& nome, std::size_t massimo, const std::string& cosa) const;

private:
    CartellaDati(Descrittore fd, std::string percorso);

    std::shared_ptr<const Descrittore> fd_;
    std::string percorso_;
};

// Reads all of the open file `fd`, at most `massimo` bytes; nothing when it
// holds more or cannot be read (errno tells why).
std::optional<std::string> LeggiDescrittore(int fd, std::size_t massimo);

// The lines of `testo`: each ends at LF, a CR before it dropped; a last line
// without line end counts too.
std::vector<std::string> DividiRighe(const std::string& testo);
