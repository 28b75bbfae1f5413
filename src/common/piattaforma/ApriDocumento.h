#pragma once

#include <string>

// Opens a document (a report copy, an export, a PDF) with the program the
// desktop associates with its type, without waiting for it. Whether that
// program could be found is not reported. The program's windows kept on top
// step back first, so that the document does not open behind them.
class ApriDocumento {
public:
    virtual ~ApriDocumento() = default;

    // `percorso`: the document's path, as CartellaDati::PercorsoDi gives it.
    virtual void Apri(const std::string& percorso) = 0;
};
