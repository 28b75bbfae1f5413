#pragma once

#include <memory>
#include <string>
#include <string_view>

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

// Opens the destination of the direct path (Windows-1252 name, blanks around
// it ignored): an installed print queue takes the bytes as one raw job, any
// other name the file of FileDestinazione, created or emptied. Throws Errore
// when it cannot be opened.
std::unique_ptr<UscitaDiretta> ApriUscitaDiretta(const std::string& destinazione);
