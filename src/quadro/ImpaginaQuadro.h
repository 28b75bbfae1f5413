#pragma once

#include <cstddef>
#include <vector>

// How the picture of a week lies on paper: landscape, the grid as wide as
// the printable area (so an A3 sheet draws everything larger, not more), the
// room column and the day header repeated on every page, the title and the
// legend on top, the totals row under the rooms, "pagina x di y" at the foot.
// The box of the changes since the last print follows the last rooms and
// runs on to pages of its own when it does not fit. Sizes in points, from the
// top left of the printable area.

enum class FormatoCarta { A4, A3 };

// Width and height of a landscape sheet of `formato`.
struct Foglio {
    double larghezza = 0;
    double altezza = 0;
};
Foglio FoglioOrizzontale(FormatoCarta formato);

struct MisureQuadro {
    double larghezza = 0;  // the printable area
    double altezza = 0;
    double margine = 0;  // left blank on every side inside it
    double altezzaTitolo = 0;
    double altezzaLegenda = 0;
    double altezzaIntestazione = 0;  // the day header
    double altezzaRiga = 0;          // a room
    double altezzaTotali = 0;        // the totals row under the rooms
    double altezzaPiede = 0;
    double altezzaRigaVariazioni = 0;  // a line of the box of changes, its title too
    double larghezzaCamera = 0;
    double larghezzaGiorno = 0;
    // Font sizes: the cells' text, the title, the header and the legend.
    double corpo = 0;
    double corpoTitolo = 0;
    double corpoIntestazione = 0;

    // Where the grid begins (its header's top) and where the rows begin.
    double InizioGriglia() const { return margine + altezzaTitolo + altezzaLegenda; }
    double InizioRighe() const { return InizioGriglia() + altezzaIntestazione; }
};

struct PaginaQuadro {
    bool griglia = true;         // the day header, rooms and the totals row; false on a page of changes only
    std::size_t primaCamera = 0;  // the rooms printed on it, as positions in the listing
    std::size_t camere = 0;
    std::size_t primaVariazione = 0;  // the lines of the box of changes on it
    std::size_t variazioni = 0;
    double inizioVariazioni = 0;  // where the box begins (its title)
    friend bool operator==(const PaginaQuadro&, const PaginaQuadro&) = default;
};

struct ImpaginazioneQuadro {
    MisureQuadro misure;
    std::vector<PaginaQuadro> pagine;
};

// The pages of a picture of `camere` rooms on a printable area of
// `larghezza` x `altezza` points; `righeVariazioni` lines in the box of
// changes, which is left out when there are none. At least one page, with
// the header and the totals row, even without rooms.
ImpaginazioneQuadro ImpaginaQuadro(double larghezza, double altezza, std::size_t camere,
                                   std::size_t righeVariazioni);
