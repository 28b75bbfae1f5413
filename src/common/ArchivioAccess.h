#pragma once

#include <memory>
#include <string>

#include "common/Archivio.h"

// Reads an Access file (Jet 3, Jet 4, ACE) through libmdb. libmdb runs in the
// child program brovato5-mdb, so that a damaged file that crashes or hangs it
// ends in Errore 3343 instead of reaching this program.
std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso);
