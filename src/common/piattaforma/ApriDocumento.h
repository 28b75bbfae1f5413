#pragma once

#include <string>

// Opens a document (an export, a PDF) with the program the desktop associates
// with its type, without waiting for it. The program's windows kept on top
// step back first, so that the document does not open behind them.
class ApriDocumento {
public:
    virtual ~ApriDocumento() = default;

    // `percorso`: the document's path (UTF-8), as CartellaDati::PercorsoDi
    // gives it. False when no program was started for it: the desktop has
    // none for its type, or the one it has failed at once (the desktop's own
    // words go to the log, standard error).
    virtual bool Apri(const std::string& percorso) = 0;
};
