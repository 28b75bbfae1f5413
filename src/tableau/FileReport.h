#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "common/Contesto.h"
#include "common/FileSostitutivo.h"
#include "tableau/Settimana.h"

// Name of the workstation's report file: "FD" + the workstation number.
std::string NomeFileReport(const std::string& postazione);

// The largest report read: a week of a hotel of a thousand rooms is under
// half a megabyte; a larger file is no report, and is not read.
constexpr std::size_t kMassimoReport = std::size_t{64} << 20;

// The workstation's report file as it stands in the data folder (a regular
// file reached without a link). Nothing when there is none; Errore 75 when it
// cannot be read, is a link or a special file, or is larger than kMassimoReport.
std::optional<std::string> LeggiFileReport(const Contesto& contesto);

// The workstation's report file being written in the data folder. Lines go
// to a temporary file in the same folder; Completa() renames it over the
// report, so a build that stops half-way leaves the previous report as it was.
class FileReport : public FileSostitutivo {
public:
    // Opens the temporary file. Throws Errore 75 (61 for a full disk).
    explicit FileReport(const Contesto& contesto);
};

// Writes the lines of `settimana` to `report`: the header of its days and a
// separator, then for each room line A (number and occupants), line B (type
// and details) and a separator.
void ScriviRighe(FileReport& report, const Settimana& settimana);

// Writes `settimana` as the workstation's report file in the data folder of
// `contesto`, through a temporary file renamed over the old report once
// complete. Throws Errore 75 (61 for a full disk); the previous report then stays.
void ScriviReport(const Contesto& contesto, const Settimana& settimana);
