#include "common/Errore.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

Errore::Errore(int numero, std::string descrizione)
    : std::runtime_error("Errore " + std::to_string(numero) + ": " + descrizione),
      numero_(numero),
      descrizione_(std::move(descrizione)) {}

std::string Errore::Testo() const { return what(); }

Errore ErroreFileInesistente(const std::string& nome) {
    return Errore(NumeroErrore::FileInesistente, "File non trovato: '" + nome + "'.");
}

Errore ErroreMemoriaInsufficiente(const std::string& operazione) {
    return Errore(NumeroErrore::MemoriaInsufficiente,
                  "Memoria insufficiente per " + operazione + ": chiudere qualche programma e riprovare.");
}

std::string DescrizioneErroreSistema(int numero) {
    switch (numero) {
    case ENOENT:
        return "il file o la cartella non esiste, controllare il nome e il percorso";
    case ENOTDIR:
        return "una parte del percorso non è una cartella, controllare il percorso";
    case EACCES:
    case EPERM:
        return "permesso negato, controllare i permessi del file e della cartella per questo utente";
    case ENOSPC:
    case EDQUOT:
        return "disco pieno, liberare spazio sul disco";
    case EROFS:
        return "il disco è in sola lettura, usare una cartella in cui si possa scrivere";
    case EISDIR:
        return "è una cartella e non un file, controllare il nome";
    case EEXIST:
        return "esiste già un file o una cartella con questo nome";
    case ENOTEMPTY:
        return "la cartella non è vuota";
    case EBUSY:
    case ETXTBSY:
        return "il file o il dispositivo è in uso da un altro programma, riprovare più tardi";
    case ENXIO:
    case ENODEV:
        return "il dispositivo non risponde, controllare che sia collegato e acceso";
    case EIO:
        return "errore di lettura o scrittura sul disco o sul dispositivo, controllarne lo stato";
    case ENAMETOOLONG:
        return "il nome del file è troppo lungo";
    case ELOOP:
        return "il percorso contiene un giro di collegamenti simbolici";
    case EMFILE:
    case ENFILE:
        return "troppi file aperti, chiudere qualche programma e riprovare";
    case ENOMEM:
        return "memoria insufficiente, chiudere qualche programma e riprovare";
    case EAGAIN:
        // What a new thread or process meets when the memory it needs is not there.
        return "memoria insufficiente o troppi programmi in esecuzione, chiudere qualche programma e riprovare";
    case EFBIG:
        return "il file è troppo grande";
    case EXDEV:
        return "il file non si può spostare su un altro disco";
    default:
        return "errore di sistema numero " + std::to_string(numero);
    }
}

std::string TestoErrore(const std::exception& errore) {
    if (dynamic_cast<const std::bad_alloc*>(&errore))
        return Errore(NumeroErrore::MemoriaInsufficiente,
                      "Operazione non riuscita: " + DescrizioneErroreSistema(ENOMEM) + ".")
            .Testo();
    const auto* sistema = dynamic_cast<const std::system_error*>(&errore);
    if (!sistema) return errore.what();
    // The system's numbering of errors is errno's; any other category keeps its number only.
    const std::error_condition condizione = sistema->code().default_error_condition();
    const bool generico = condizione.category() == std::generic_category();
    const std::string causa = generico ? DescrizioneErroreSistema(condizione.value())
                                       : "errore di sistema numero " + std::to_string(condizione.value());
    const bool memoria = generico && (condizione.value() == ENOMEM || condizione.value() == EAGAIN);
    std::string dove;
    const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&errore);
    if (file && !file->path1().empty()) dove = " su '" + file->path1().string() + "'";
    return Errore(memoria ? NumeroErrore::MemoriaInsufficiente : NumeroErrore::FileNonScrivibile,
                  "Operazione non riuscita" + dove + ": " + causa + ".")
        .Testo();
}
