#include <iostream>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "common/Errore.h"

// brovato5 without the graphic library: the commands that only read and
// write files run here, a program that starts and ends in a few milliseconds.
// For the main window and for printing the program of the windows takes over
// this process, with the command line as it came: it applies the options
// itself (a relative --cartella holds from the current folder).
int main(int argc, char* argv[]) {
    const OpzioniAvvio opzioni = LeggiOpzioniAvvio(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto esito = RispondiOpzioniAvvio(opzioni, std::cout, std::cerr)) return *esito;
    if (RichiedeProgrammaGrafico(opzioni)) {
        try {
            PassaAlProgrammaGrafico(argv);
        } catch (const Errore& e) {
            std::cerr << e.Testo() << "\n";
        }
        return 1;
    }
    return EseguiComando(opzioni.resto, opzioni, std::cout, std::cerr);
}
