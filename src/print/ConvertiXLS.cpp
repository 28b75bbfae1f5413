#include "print/ConvertiXLS.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "print/ImpostazioniStampa.h"
#include "tableau/FileReport.h"

namespace {

const char* const NomeFileSeparatori = "SeparatoreXLS.txt";
// Field separator, decimal separator, currency mark; lines after them are not read.
constexpr std::size_t kRigheSeparatori = 3;

// What the export writes for the report's frame, decimal commas and amounts.
struct SeparatoriXLS {
    std::string campo = ",";
    std::string decimale = ".";
    std::string valuta = "\x80";  // the euro sign in Windows-1252
};

// The byte-order mark a Windows editor puts in front of a file saved as
// UTF-8, and the export in front of its own.
constexpr std::string_view kBomUtf8 = "\xEF\xBB\xBF";

// The settings file's lines in the report's code page. A file that begins with
// the UTF-8 byte-order mark is UTF-8 text: the mark is dropped and the lines
// read turned into Windows-1252, where a character that code page lacks is an
// error. Any other file is Windows-1252 already.
std::vector<std::string> RigheInCp1252(std::vector<std::string> righe) {
    if (righe.empty() || !righe.front().starts_with(kBomUtf8)) return righe;
    righe.front().erase(0, kBomUtf8.size());
    for (std::size_t n = 0; n < std::min(righe.size(), kRigheSeparatori); ++n) {
        std::string& riga = righe[n];
        const std::string convertita = Utf8ToCp1252(riga);
        if (Cp1252ToUtf8(convertita) != riga)
            throw Errore(NumeroErrore::ArgomentoNonValido,
                         std::string("Il file ") + NomeFileSeparatori + ", salvato in UTF-8, ha alla riga " +
                             std::to_string(n + 1) + " un carattere che Windows-1252, la codifica dei "
                             "separatori, non ha: sceglierne un altro.");
        riga = convertita;
    }
    return righe;
}

// The three lines of the settings file, taken whole; the defaults without it.
SeparatoriXLS LeggiSeparatori(const CartellaDati& cartella) {
    const auto testo = cartella.Leggi(NomeFileSeparatori, kMassimoFileImpostazioni, "il file dei separatori");
    if (!testo) return {};
    const auto righe = RigheInCp1252(DividiRighe(*testo));
    if (righe.size() < kRigheSeparatori)
        throw Errore(NumeroErrore::InputOltreFine, std::string("Il file ") + NomeFileSeparatori +
                                                       " deve contenere tre righe: separatore di campo, "
                                                       "separatore decimale e simbolo di valuta.");
    return {righe[0], righe[1], righe[2]};
}

bool Cifra(const std::string& riga, std::size_t i) { return i < riga.size() && riga[i] >= '0' && riga[i] <= '9'; }

// A "," or "." between a digit before it and two digits after it.
bool TraCifre(const std::string& riga, std::size_t i) {
    return i > 0 && Cifra(riga, i - 1) && Cifra(riga, i + 1) && Cifra(riga, i + 2);
}

// A vertical frame or junction: the preview's signs anywhere, a box-drawing
// code where the frame may stand (elsewhere it is a letter of a name).
bool Cornice(unsigned char c, bool postoDiCornice) {
    switch (c) {
        case '|': case '+':
            return true;
        case 217: case 197: case 194: case 195: case 192: case 193: case 179: case 191: case 218:
            return postoDiCornice;
        default:
            return false;
    }
}

// A decimal comma: the last blank written before the amount becomes the
// currency mark (it stays when the mark is empty), then the decimal separator.
void ScriviDecimale(std::string& uscita, const SeparatoriXLS& separatori) {
    const auto blank = uscita.rfind(' ');
    if (blank != std::string::npos && !separatori.valuta.empty()) uscita[blank] = separatori.valuta[0];
    uscita += separatori.decimale;
}

// One report line as a line of the delimited file.
std::string ConvertiRiga(const std::string& riga, const SeparatoriXLS& separatori) {
    const PostiCornice posti(riga);
    std::string uscita;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(riga[i]);
        if (Cornice(c, posti(i)))
            uscita += separatori.campo;
        else if (c == 180 && posti(i))
            uscita += i + 1 == riga.size() ? separatori.campo : " ";
        else if (c == 196 && posti(i))
            uscita += ' ';
        else if (c == ',') {
            if (TraCifre(riga, i))
                ScriviDecimale(uscita, separatori);
            else
                uscita += ' ';
        } else if (c == '.') {
            if (!TraCifre(riga, i)) uscita += '.';
        } else if (c == '-')
            uscita += Cifra(riga, i + 1) ? '-' : ' ';
        else
            uscita += riga[i];
    }
    return uscita;
}

}  // namespace

std::string NomeFileEsportazione(const std::string& postazione) { return "fd" + postazione + ".csv"; }

void ConvertiXLS(const Contesto& contesto, const std::string& Testo) {
    const SeparatoriXLS separatori = LeggiSeparatori(contesto.cartella);
    const auto report = contesto.cartella.Leggi(Testo, kMassimoReport, "il report");
    if (!report) throw ErroreFileInesistente(Cp1252ToUtf8(Testo));
    FileSostitutivo esportazione(contesto.cartella, NomeFileEsportazione(contesto.postazione), "il file di esportazione");
    // UTF-8 with its mark: what the desktop's spreadsheet takes such a file for.
    esportazione.Scrivi(kBomUtf8);
    for (const auto& riga : DividiRighe(*report)) esportazione.ScriviRiga(Cp1252ToUtf8(ConvertiRiga(riga, separatori)));
    esportazione.Completa();
}
