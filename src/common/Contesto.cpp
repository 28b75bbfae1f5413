#include "common/Contesto.h"

#include "common/Ambiente.h"
#include "common/Errore.h"
#include "common/Routine.h"

std::string ControllaPostazione(const std::string& postazione, const std::string& origine) {
    std::string taglia = Taglia(postazione);
    if (taglia.find('/') != std::string::npos || taglia.find('\\') != std::string::npos ||
        taglia.find("..") != std::string::npos)
        throw Errore(NumeroErrore::ArgomentoNonValido, "Numero di postazione non valido " + origine + ": '" + taglia +
                                                           "' (non può contenere \"/\", \"\\\" o \"..\").");
    return taglia;
}

std::string PostazioneDellAmbiente() {
    const auto valore = LeggiAmbiente("PCLocal");
    return valore ? ControllaPostazione(*valore, "nella variabile PCLocal") : std::string();
}
