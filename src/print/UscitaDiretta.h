#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/Contesto.h"

// Where the direct path of a print run writes its bytes, unchanged.
class UscitaDiretta {
public:
    virtual ~UscitaDiretta() = default;
    virtual void Scrivi(std::string_view byte) = 0;
    // Delivers what was written. Throws Errore when it cannot.
    virtual void Chiudi() = 0;
};

// The file a destination name that is not a print queue stands for:
// "LPT1".."LPT3" and "PRN" (with or without ":", any case) the parallel ports
// /dev/lp0../dev/lp2, an absolute path itself, any other name a file in the
// current folder. Throws Errore 5 for a name holding "\" or "..".
std::string FileDestinazione(const std::string& destinazione);

// True for a name that stands for a port or a file whatever the print system
// holds (Windows-1252, blanks around it ignored): a port name of
// FileDestinazione, a name with a folder ("/") or one with an extension
// ("stampa_ufficio.prn").
bool PortaOFile(const std::string& destinazione);

// A destination of the direct path, resolved.
struct DestinazioneDiretta {
    enum class Tipo { Coda, Porta, File };
    Tipo tipo = Tipo::File;
    std::string nome;        // the name as given (UTF-8, trimmed)
    std::string percorso;    // the queue name, or the path of the port or file (UTF-8)
};

// Resolves a destination name (Windows-1252, blanks around it ignored). A name
// with a folder is a file. Any other name is first looked up on the print
// server: an installed queue takes the bytes. A name that is no queue there,
// or that cannot be looked up because the server does not answer, is a port
// or a file when PortaOFile says so; otherwise it can only be a queue and
// Errore 482 says whether the queue does not exist or the server does not
// answer (naming it). Throws Errore 5 as FileDestinazione.
DestinazioneDiretta RisolviDestinazione(const std::string& destinazione);

// Opens a resolved destination: a queue takes the bytes as one raw job, a port
// opens only as the character device it stands for (Errore 68 when there is
// none), and so does a path naming an existing character device. A file is
// checked and written as RisolviFileDiStampa says, `dellUtente` telling
// whether the user named it or the shared settings did (Errore 75 when it
// is refused or cannot be written).
std::unique_ptr<UscitaDiretta> ApriUscitaDiretta(const Contesto& contesto, const DestinazioneDiretta& destinazione,
                                                 bool dellUtente);
