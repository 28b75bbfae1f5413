#pragma once

#include <string>
#include <vector>

class Stampante;

// Rewrites a report line for a printer font: the acute accent becomes "'",
// the frame codes that stand for upper-case accented vowels in the Western
// code page become those vowels in lower case, the other frame codes "|" and
// "-" where the frame may stand (PostiCornice). Changes `Frase` in place and
// returns it.
std::string Converti2(std::string& Frase);

// A stretch of a printed line, in the line's own style or in bold.
struct PezzoRiga {
    std::string testo;
    bool grassetto = false;
};

// The stretches of a report line. A "ç" opens a bold stretch only when
// another "ç" closes it within the same cell (between two grid places of a
// line of the report's shape, within the line otherwise); the two are not
// printed. A "ç" left without its pair is the letter. The first stretch is
// in the line's style (empty when the line begins in bold); each next one
// switches.
std::vector<PezzoRiga> PezziRiga(const std::string& Testo);

// The sizes a line is printed in: the document's, and the smaller one of its
// bold stretches.
struct DimensioniRiga {
    double normale = 0;
    double grassetto = 0;
};

// Prints one report line on `stampante`, ending the line, its bold stretches
// (PezziRiga) in bold at `dimensioni.grassetto`. The line must begin in the
// document's style at `dimensioni.normale`, and ends so.
void StampaLaser(Stampante& stampante, const std::string& Testo, const DimensioniRiga& dimensioni);
