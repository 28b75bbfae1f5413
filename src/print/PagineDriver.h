#pragma once

#include <string>
#include <vector>

#include "common/piattaforma/Stampante.h"

// How the driver path lays the report out: which lines go on which page, and
// how much smaller than set its fonts must be drawn for every line and every
// page to fit the paper. Texts in Windows-1252.

// The report lines of each page, after its heading and top margin.
using PagineDriver = std::vector<std::vector<std::string>>;

// Breaks the report's lines (as printed, a form feed line being "\f") into
// pages: a page takes lines until its count, the `margine` lines of its top
// margin included, reaches `lunghezzaPagina`; a form-feed line ends its page
// and leaves the page after it empty. Pages after the last line that would
// hold nothing are left out; an empty report is one empty page.
PagineDriver ImpaginaDriver(const std::vector<std::string>& righe, int lunghezzaPagina, int margine);

// The fonts of a page: the heading line, the report lines and the top
// margin, the bold stretches of the report lines.
struct CaratteriPagina {
    FontStampa intestazione;
    FontStampa corpo;
    FontStampa grassetto;

    // The three with their sizes multiplied by `scala`.
    CaratteriPagina Scalati(double scala) const;
};

// The factor, 1 or less, the sizes of `caratteri` are to be multiplied by so
// that on `stampante`'s printable area the widest report line (bold
// stretches in their font) fits the width, and the fullest page of `pagine`
// (heading, `margine` blank lines, its lines) fits the height.
double ScalaPerLaPagina(Stampante& stampante, const PagineDriver& pagine, int margine,
                        const CaratteriPagina& caratteri);

// `font` made smaller, when it must, for `testo` to fit the printable width.
FontStampa FontNellaLarghezza(Stampante& stampante, const std::string& testo, FontStampa font);

// Width of the widest report line of `pagine` in `caratteri`, as StampaLaser draws it.
double LarghezzaRighe(Stampante& stampante, const PagineDriver& pagine, const CaratteriPagina& caratteri);
