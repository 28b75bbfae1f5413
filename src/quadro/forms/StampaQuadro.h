#pragma once

#include <QByteArray>

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "common/Contesto.h"
#include "quadro/ImpaginaQuadro.h"
#include "quadro/Variazioni.h"
#include "tableau/Settimana.h"

class QPagedPaintDevice;
class QPainter;

// The picture of a week as printed: the rooms `righe` (indices in the week,
// in the order printed), and the changes since the last print when the week
// was printed before (none: no box).
struct DocumentoQuadro {
    const Settimana& settimana;
    std::vector<std::size_t> righe;
    const VariazioniSettimana* variazioni = nullptr;
};

// The lines of the box of changes: one per change, or "Nessuna variazione".
std::vector<std::string> RigheVariazioni(const VariazioniSettimana& variazioni);

// Draws the pages of `documento` on `dispositivo` (a printer, a PDF), laid
// out on its printable area by ImpaginaQuadro. Gives the number of pages.
std::size_t DisegnaDocumento(QPagedPaintDevice& dispositivo, QPainter& pittore, const DocumentoQuadro& documento);

// The document as a PDF, made in memory: landscape `formato`.
QByteArray PdfQuadro(const DocumentoQuadro& documento, FormatoCarta formato);

// "quadro" + workstation + yyyymmddhhnn + ".pdf".
std::string NomePdfQuadro(const std::string& postazione, const std::tm& ora);

// Writes `pdf` into the archive folder as NomePdfQuadro of `ora`, replacing a
// file of that name; gives its path in the data folder ("doc/quadro…").
// Throws Errore 75 (61 for a full disk), 76 for an archive folder that
// cannot be made.
std::string SalvaPdfQuadro(const Contesto& contesto, const QByteArray& pdf, const std::tm& ora);
