#pragma once

#include <optional>
#include <string>
#include <string_view>

// Value of the environment variable `nome`, its name matched without regard
// to case as the suite's settings expect (a variable spelled exactly so wins
// over the others); nothing when no such variable is set.
std::optional<std::string> LeggiAmbiente(std::string_view nome);

// Gives the program a private runtime folder when the session names none (a
// job run by cron, a shell opened with su): $TMPDIR (else /tmp) + "/runtime-"
// + user name, made with mode 0700 and named in XDG_RUNTIME_DIR for the
// graphic library and the programs started from here. The library would take
// the same folder, but say so on stderr at every start. A folder there that
// is not the user's own is left alone. Call before the graphic library starts.
void PreparaCartellaRuntime();
