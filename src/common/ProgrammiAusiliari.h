#pragma once

#include <string>

// The path of `nome`, one of the programs that come with brovato5 (the Access
// reader, the program of the windows), found from the running program's own
// location only: beside it (the build folder), in the library-executables
// folder of an installation (the same path from bin to libexec/brovato5
// wherever the package is unpacked), or, for a program of the build folder's
// subfolders (the tests), at the top of the build folder. Never from PATH or
// the current folder. Empty when it is in none of them.
std::string TrovaProgrammaAusiliario(const std::string& nome);

// The folder of the programs the user starts (brovato5, brovinvio): the
// running program's own, or, for a program that runs from the
// library-executables folder of an installation (brovato5-qt), the
// installation's programs folder. Empty when the system does not say.
std::string CartellaProgrammi();
