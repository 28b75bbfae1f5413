#include "print/FileDiStampa.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "common/Errore.h"
#include "common/Routine.h"
#include "print/DatiMenuStampa.h"
#include "tableau/FileReport.h"

namespace {

namespace fs = std::filesystem;

// The suite's files in the data folder that a print never writes into: its
// databases and its settings files.
constexpr std::array kFileDellaSuite = {
    "Tableau.mdb",         "AnagraficaHotels.mdb",    "NumeriCamere.mdb",        "TipiCamere.mdb",
    "Scheda_Cliente.mdb",  "AgenzieAbituali.mdb",     "Arrangiamento.mdb",       "Camere_Prenotazione.mdb",
    "Scheda_Prenotazione.mdb", "Stampanti.mdb",       "Contatori.mdb",           "FontStp.txt",
    "SeparatoreXLS.txt",   "PostaElettronica.txt",
};

[[noreturn]] void Rifiuta(const std::string& mostrato, const std::string& motivo) {
    throw Errore(NumeroErrore::FileNonScrivibile, "La stampa non può scrivere nel file '" + mostrato + "': " + motivo +
                                                      ". Scegliere un'altra destinazione o correggere il campo Linea "
                                                      "della tabella Stampanti.");
}

std::optional<IdentitaFile> IdentitaDi(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0) return std::nullopt;
    return IdentitaFile{info.st_dev, info.st_ino};
}

// Whether the regular file `nome` of `cartella` begins as a database does
// (Access, SQLite): a copy of the suite's data kept elsewhere.
bool SembraUnDatabase(const CartellaDati& cartella, const std::string& nome) {
    const auto fd = cartella.ApriInLettura(nome, "il file");
    if (!fd) return false;
    char testa[20] = {};
    const ssize_t letti = pread(fd->Fd(), testa, sizeof testa, 0);
    const std::string inizio(testa, letti > 0 ? static_cast<std::size_t>(letti) : 0);
    return inizio.starts_with("SQLite format 3") ||
           (inizio.size() >= 19 &&
            (inizio.compare(4, 15, "Standard Jet DB") == 0 || inizio.compare(4, 15, "Standard ACE DB") == 0));
}

// The files no print may write into, with the words that say what each is.
struct Protetto {
    IdentitaFile identita;
    std::string cosa;
};

std::vector<Protetto> FileProtetti(const Contesto& contesto) {
    std::vector<Protetto> protetti;
    const auto aggiungi = [&](const CartellaDati& cartella, const std::string& nome, const std::string& cosa) {
        if (const auto identita = cartella.Identita(nome)) protetti.push_back({*identita, cosa});
    };
    for (const std::string nome : kFileDellaSuite) aggiungi(contesto.cartella, nome, "il file della suite " + nome);
    aggiungi(contesto.cartella, NomeFileReport(contesto.postazione), "il report stesso");
    if (contesto.cartella.Genere(kCartellaArchivio) != GenereVoce::Cartella) return protetti;
    const CartellaDati archivio = contesto.cartella.Sottocartella(kCartellaArchivio);
    for (const std::string& nome : archivio.Nomi())
        if (CopiaInArchivio(contesto.postazione, nome))
            aggiungi(archivio, nome, "la copia del report '" + std::string(kCartellaArchivio) + "/" + nome + "'");
    return protetti;
}

}  // namespace

void ControllaFileDiStampa(const Contesto& contesto, const FileDiStampa& file) {
    const auto cartellaDati = IdentitaDi(contesto.cartella.Fd());
    const auto cartellaFile = IdentitaDi(file.cartella.Fd());
    const std::string maiuscolo = Maiuscolo(file.nome);
    if (cartellaDati && cartellaDati == cartellaFile) {
        const std::string report = NomeFileReport(contesto.postazione);
        for (const std::string nome : kFileDellaSuite)
            if (Maiuscolo(nome) == maiuscolo) Rifiuta(file.mostrato, "è il file della suite " + nome);
        if (Maiuscolo(report) == maiuscolo) Rifiuta(file.mostrato, "è il report stesso, che la stampa cancellerebbe");
    }
    const auto esistente = file.cartella.Identita(file.nome);
    if (!esistente) return;
    for (const Protetto& protetto : FileProtetti(contesto))
        if (protetto.identita == *esistente)
            Rifiuta(file.mostrato, "è " + protetto.cosa + " (un altro nome dello stesso file), che la stampa cancellerebbe");
    if (SembraUnDatabase(file.cartella, file.nome)) Rifiuta(file.mostrato, "è un database, che la stampa cancellerebbe");
}

FileDiStampa RisolviFileDiStampa(const Contesto& contesto, const std::string& percorso, bool dellUtente) {
    const fs::path p = fs::path(percorso).lexically_normal();
    const std::string nome = p.filename().string();
    if (nome.empty() || nome == "." || nome == "..") Rifiuta(percorso, "non è il nome di un file");
    std::optional<CartellaDati> cartella;
    if (p.is_absolute()) {
        if (!dellUtente) Rifiuta(percorso, "è fuori dalla cartella dei dati");
        cartella = CartellaDati::ApriSePossibile(p.parent_path().string());
        if (!cartella)
            throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile aprire la destinazione di stampa '" + percorso +
                                                              "': " + DescrizioneErroreSistema(errno) + ".");
    } else {
        cartella = contesto.cartella;
        for (const auto& parte : p.parent_path()) {
            if (parte == "..") Rifiuta(percorso, "esce dalla cartella dei dati");
            cartella = cartella->Sottocartella(parte.string());
        }
    }
    FileDiStampa file{*cartella, nome, p.string()};
    ControllaFileDiStampa(contesto, file);
    return file;
}
