#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "archivio/StatoFile.h"
#include "common/Contesto.h"

// Whether the workstation's report file is in the data folder.
bool EsisteReport(const Contesto& contesto);

// The workstation's report file read page by page for the preview. A page is
// a run of whole lines from the read position until their lengths (line ends
// not counted) reach a character budget; it is shown with the box-drawing
// codes turned into "|" and "-". Texts are Windows-1252, lines ending in CR LF.
class LetturaReport {
public:
    // Opens the report file of the workstation at its start when it exists;
    // otherwise nothing is open.
    explicit LetturaReport(Contesto contesto);

    bool Aperto() const { return aperto_; }

    // The next page from the read position, each line followed by CR LF: the
    // budget is tested before each line, so the line that reaches it is still
    // part of the page. Throws Errore 52 when the file is not open.
    std::string RiempiPagina(std::int32_t limite);

    // Sum of the lengths of the lines of the last page, as read.
    std::int32_t CaratteriLetti() const { return caratteriLetti_; }
    // 1 when the last page stopped before the end of the file, else 0.
    std::int16_t AltroTesto() const { return altroTesto_; }

    // Opens the file again at its start (it must exist).
    void Riapri();
    // A file that is not open: created empty when missing and opened with the
    // read position at its end, as opening it for appending does.
    void Ripara();
    void Chiudi();

    // Puts `testo` (an edited page) in place of the lines the last page was
    // read from, keeping the lines before and after it; a text that does not
    // end with a line end gets CR LF. The file is replaced only once the new
    // one is complete, then opened again at its start. Throws Errore 75, and
    // writes nothing, when the file is no longer the one read (another build
    // has replaced it meanwhile): its lines are not the ones shown.
    void Salva(const std::string& testo);

private:
    // The report file, as it is spelt in the data folder.
    FileArchivio File() const;
    void Apri();
    std::string LeggiRiga();
    bool FineFile() const { return posizione_ >= contenuto_.size(); }
    // Whether the file is still there, unchanged since it was last read: the
    // same file (not one put in its place), its size, times and bytes.
    bool Invariato() const;

    Contesto contesto_;
    bool aperto_ = false;
    std::string contenuto_;
    std::optional<StatoFile> statoLetto_;
    std::size_t posizione_ = 0;
    // The bytes of the file the last page was read from.
    std::size_t inizioPagina_ = 0;
    std::size_t finePagina_ = 0;
    std::int32_t caratteriLetti_ = 0;
    std::int16_t altroTesto_ = 0;
};
