#pragma once

#include <string>

class Stampante;

// Rewrites a report line for a printer font: the acute accent becomes "'",
// the frame codes that stand for upper-case accented vowels in the Western
// code page become those vowels in lower case, the other frame codes "|" and
// "-" where the frame may stand (PostiCornice). Changes `Frase` in place and
// returns it.
std::string Converti2(std::string& Frase);

// Prints one report line on `stampante`, ending the line. Each "ç" switches
// bold on (and the size 0.4 point down) or off (0.4 point up) and is not printed.
void StampaLaser(Stampante& stampante, const std::string& Testo);
