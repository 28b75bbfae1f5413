#pragma once

#include <cstdint>
#include <string_view>

#include "archivio/Criterio.h"
#include "tableau/Criteri.h"

// The suite's printer tables as the print menu and the print engine read
// them: the page lengths of each hotel (Contatori), the print destinations
// (Stampanti) and the control codes of each print type (SetStampa), in the
// same way as the tables of the builder (tableau/Criteri.h).

namespace campo {
// Contatori
inline const Campo LungPagComp{"LungPagComp"}, LungPagNoComp{"LungPagNoComp"};
// Stampanti
inline const Campo Destinazione{"Destinazione"}, Linea{"Linea"}, TipoStampa{"TipoStampa"};
// SetStampa
inline const Campo Compresso{"Compresso"}, Grassetto{"Grassetto"};
}  // namespace campo

// A hotel's page length, compressed print or not; searched by hotel.
Selezione TabellaContatori(bool compressa);
Criterio CriterioContatori(std::int64_t hotel);

// The print destinations: their names by hotel; a destination by name with
// its print type and line.
Selezione TabellaNomiDestinazioni();
Criterio CriterioDestinazioniHotel(std::int64_t hotel);
Selezione TabellaDestinazioni();
Criterio CriterioDestinazione(std::string_view destinazione);

// The control codes of a print type.
Selezione TabellaSetStampa();
Criterio CriterioSetStampa(std::int64_t tipoStampa);
