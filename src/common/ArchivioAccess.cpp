#include "common/ArchivioAccess.h"

#include "common/Errore.h"

// Placeholder until the libmdb reader lands: Access files are refused.
std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso) {
    throw Errore(NumeroErrore::FormatoNonRiconosciuto, "Formato di database non riconosciuto: '" + percorso + "'.");
}
