#include "print/UscitaDiretta.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <regex>
#include <utility>

#include "common/CartellaDati.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "print/FileDiStampa.h"
#include "print/LibreriaCups.h"

namespace {

namespace fs = std::filesystem;
using Tipo = DestinazioneDiretta::Tipo;

// A port: the character device, written as the bytes come.
class UscitaPorta : public UscitaDiretta {
public:
    UscitaPorta(std::string percorso, Descrittore fd) : percorso_(std::move(percorso)), fd_(std::move(fd)) {}

    void Scrivi(std::string_view byte) override {
        while (!byte.empty()) {
            const ssize_t scritti = write(fd_.Fd(), byte.data(), byte.size());
            if (scritti < 0 && errno == EINTR) continue;
            if (scritti <= 0) Fallito();
            byte.remove_prefix(static_cast<std::size_t>(scritti));
        }
    }

    void Chiudi() override {
        if (!fd_.Chiudi()) Fallito();
    }

private:
    [[noreturn]] void Fallito() const {
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "Scrittura non riuscita su '" + percorso_ + "': " + DescrizioneErroreSistema(errno) + ".");
    }

    std::string percorso_;
    Descrittore fd_;
};

// A print file: written whole beside its name and put in place when closed,
// never through a link nor over a FIFO or a device.
class UscitaFile : public UscitaDiretta {
public:
    explicit UscitaFile(const FileDiStampa& file)
        : file_(file.cartella, file.nome, "il file di stampa", Sostituzione::SoloFile) {}

    void Scrivi(std::string_view byte) override { file_.Scrivi(byte); }
    void Chiudi() override { file_.Completa(); }

private:
    FileSostitutivo file_;
};

// Why the print server refused the last request, in Italian, with the
// server's own (English) words after it.
std::string CausaCups() {
    const char* causa = nullptr;
    switch (Cups().LastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
        causa = "la stampante non accetta lavori: controllare che sia abilitata sul server di stampa";
        break;
    case IPP_STATUS_ERROR_NOT_FOUND:
        causa = "la stampante non esiste più sul server di stampa: controllare il nome";
        break;
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
        causa = "il server di stampa non permette a questo utente di stampare: controllare i permessi della stampante";
        break;
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        causa = "la stampante non accetta testo grezzo: controllare il driver della coda";
        break;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_BUSY:
        causa = "il server di stampa non risponde o è occupato: controllare che il servizio di stampa sia avviato";
        break;
    default:
        causa = "il server di stampa ha rifiutato il lavoro: controllare lo stato della stampante";
        break;
    }
    return std::string(causa) + " (" + Cups().LastErrorString() + ")";
}

// A print queue of the print system: the bytes go to it as one raw job
// (the printer receives them as they are) when the output is closed.
class UscitaCoda : public UscitaDiretta {
public:
    explicit UscitaCoda(std::string coda) : coda_(std::move(coda)) {}

    void Scrivi(std::string_view byte) override { dati_ += byte; }

    void Chiudi() override {
        const int lavoro = Cups().CreateJob(CUPS_HTTP_DEFAULT, coda_.c_str(), "Tableau", 0, nullptr);
        if (lavoro == 0) Fallito(CausaCups());
        if (Cups().StartDocument(CUPS_HTTP_DEFAULT, coda_.c_str(), lavoro, "Tableau", CUPS_FORMAT_RAW, 1) !=
                HTTP_STATUS_CONTINUE ||
            Cups().WriteRequestData(CUPS_HTTP_DEFAULT, dati_.data(), dati_.size()) != HTTP_STATUS_CONTINUE ||
            Cups().FinishDocument(CUPS_HTTP_DEFAULT, coda_.c_str()) != IPP_STATUS_OK) {
            // No half-sent job is left waiting in the queue.
            const std::string motivo = CausaCups();
            Cups().CancelJob2(CUPS_HTTP_DEFAULT, coda_.c_str(), lavoro, 0);
            Fallito(motivo);
        }
    }

private:
    [[noreturn]] void Fallito(const std::string& motivo) const {
        throw Errore(NumeroErrore::ErroreStampante, "Stampa non riuscita sulla coda '" + coda_ + "': " + motivo + ".");
    }

    std::string coda_;
    std::string dati_;
};

// What the print server says of a queue name.
enum class Coda { Installata, Assente, ServerMuto };

Coda CercaCoda(const std::string& nome) {
    char uri[HTTP_MAX_URI];
    Cups().AssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     nome.c_str());
    ipp_t* richiesta = Cups().NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    Cups().AddString(richiesta, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    Cups().AddString(richiesta, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    Cups().Delete(Cups().DoRequest(CUPS_HTTP_DEFAULT, richiesta, "/"));
    const ipp_status_t stato = Cups().LastError();
    if (stato <= IPP_STATUS_OK_CONFLICTING) return Coda::Installata;
    return stato == IPP_STATUS_ERROR_NOT_FOUND ? Coda::Assente : Coda::ServerMuto;
}

const std::regex& Porta() {
    static const std::regex porta("(LPT([1-3])|PRN):?", std::regex::icase);
    return porta;
}

bool HaEstensione(const std::string& nome) { return fs::path(nome).extension().string().size() > 1; }

// A name that can only be a print queue, and the server has none of that name or does not answer.
[[noreturn]] void ErroreCoda(const std::string& nome, Coda esito) {
    const std::string server = Cups().Server();
    if (esito == Coda::Assente)
        throw Errore(NumeroErrore::ErroreStampante,
                     "La stampante '" + nome + "' non esiste sul server di stampa '" + server +
                         "': controllare il nome (campo Linea della tabella Stampanti, o \"Stampante\" nel menu), "
                         "oppure indicare una porta (LPT1, LPT2, LPT3, PRN) o un file (nome con estensione o "
                         "percorso).");
    throw Errore(NumeroErrore::ErroreStampante,
                 "Il server di stampa '" + server + "' non risponde: la stampante '" + nome +
                     "' non si può raggiungere. Controllare che il servizio di stampa (CUPS) sia avviato e "
                     "raggiungibile da questo computer.");
}

// The character device at `percorso`, opened for writing without waiting
// and without becoming the program's terminal; nothing when there is none
// (errno says why, ENODEV for an entry that is no character device).
std::optional<Descrittore> ApriDispositivo(const std::string& percorso) {
    Descrittore fd(open(percorso.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return std::nullopt;
    struct stat stato {};
    if (fstat(fd.Fd(), &stato) != 0 || !S_ISCHR(stato.st_mode)) {
        errno = ENODEV;
        return std::nullopt;
    }
    // Written as a printer takes it: waiting while the printer is busy.
    const int modo = fcntl(fd.Fd(), F_GETFL);
    if (modo >= 0) fcntl(fd.Fd(), F_SETFL, modo & ~O_NONBLOCK);
    return fd;
}

// The character device of a port, opened for writing; never created.
Descrittore ApriPorta(const DestinazioneDiretta& porta) {
    struct stat stato {};
    if (stat(porta.percorso.c_str(), &stato) != 0 || !S_ISCHR(stato.st_mode))
        throw Errore(NumeroErrore::DispositivoNonDisponibile,
                     "La porta '" + porta.nome + "' (" + porta.percorso +
                         ") non c'è su questo computer: controllare che la porta della stampante sia installata, "
                         "oppure scegliere un'altra destinazione.");
    auto fd = ApriDispositivo(porta.percorso);
    if (!fd)
        throw Errore(NumeroErrore::DispositivoNonDisponibile,
                     "Impossibile aprire la porta '" + porta.nome + "' (" + porta.percorso +
                         "): controllare che la stampante sia accesa e che l'utente possa scrivere sulla porta "
                         "(gruppo lp).");
    return std::move(*fd);
}

}  // namespace

std::string FileDestinazione(const std::string& destinazione) {
    const std::string nome = Cp1252ToUtf8(Taglia(destinazione));
    if (nome.find('\\') != std::string::npos || nome.find("..") != std::string::npos)
        throw Errore(NumeroErrore::ArgomentoNonValido,
                     "Destinazione di stampa non valida: '" + nome + "' (non può contenere \"\\\" o \"..\").");
    std::smatch trovata;
    if (std::regex_match(nome, trovata, Porta()))
        return "/dev/lp" + std::to_string(trovata[2].matched ? std::stoi(trovata[2]) - 1 : 0);
    if (nome.starts_with('/')) return nome;
    return "./" + nome;
}

bool PortaOFile(const std::string& destinazione) {
    const std::string nome = Cp1252ToUtf8(Taglia(destinazione));
    return std::regex_match(nome, Porta()) || nome.find('/') != std::string::npos || HaEstensione(nome);
}

DestinazioneDiretta RisolviDestinazione(const std::string& destinazione) {
    const std::string nome = Cp1252ToUtf8(Taglia(destinazione));
    const std::string percorso = FileDestinazione(destinazione);
    if (nome.empty())
        throw Errore(NumeroErrore::ErroreStampante,
                     "La destinazione di stampa non dice dove stampare: compilare il campo Linea della tabella "
                     "Stampanti, oppure scegliere una stampante nel menu.");
    if (nome.find('/') != std::string::npos) return {Tipo::File, nome, percorso};
    const Coda esito = CercaCoda(nome);
    if (esito == Coda::Installata) return {Tipo::Coda, nome, nome};
    if (std::regex_match(nome, Porta())) return {Tipo::Porta, nome, percorso};
    if (!HaEstensione(nome)) ErroreCoda(nome, esito);
    return {Tipo::File, nome, percorso};
}

std::unique_ptr<UscitaDiretta> ApriUscitaDiretta(const Contesto& contesto, const DestinazioneDiretta& destinazione,
                                                 bool dellUtente) {
    switch (destinazione.tipo) {
    case Tipo::Coda:
        return std::make_unique<UscitaCoda>(destinazione.percorso);
    case Tipo::Porta:
        return std::make_unique<UscitaPorta>(destinazione.percorso, ApriPorta(destinazione));
    case Tipo::File:
        break;
    }
    // An existing character device named by its path is a port too (/dev/usb/lp0).
    if (destinazione.percorso.starts_with('/'))
        if (auto dispositivo = ApriDispositivo(destinazione.percorso))
            return std::make_unique<UscitaPorta>(destinazione.percorso, std::move(*dispositivo));
    return std::make_unique<UscitaFile>(RisolviFileDiStampa(contesto, destinazione.percorso, dellUtente));
}
