#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "archivio/Archivio.h"

// Reads an Access file (Jet 3, Jet 4, ACE) through libmdb. libmdb runs in the
// child program brovato5-mdb, so that a damaged file that crashes or hangs it
// ends in Errore 3343 instead of reaching this program. At most as many
// readers run at once as the workstation has cores; the names of a file's
// tables are listed once per program run while the file is unchanged. A
// reading counts only when the file kept still through it: another
// workstation writing it all the time for about a second gives Errore 3045.
// With a reading expected at once, the run that lists the tables reads that
// table too: one run of the reader instead of two.
std::unique_ptr<Archivio> ApriArchivioAccess(const FileArchivio& file,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt);
std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt);

// The same with the reader program and the time limit of each reading given.
// The form above finds brovato5-mdb beside the running program, else in the
// build folder, and allows a minute per reading. Throws Errore 3170 when the
// program cannot be started.
std::unique_ptr<Archivio> ApriArchivioAccess(const FileArchivio& file, const std::string& programma,
                                             std::chrono::milliseconds limite,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt);
std::unique_ptr<Archivio> ApriArchivioAccess(const std::string& percorso, const std::string& programma,
                                             std::chrono::milliseconds limite,
                                             const std::optional<LetturaAttesa>& attesa = std::nullopt);
