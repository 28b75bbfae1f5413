#pragma once

#include <optional>
#include <string>
#include <vector>

// The file's path, its name matched without regard to case in its folder
// (the current one for a bare name); nothing when there is none.
std::optional<std::string> FileEsistente(const std::string& percorso);

// The lines of a text file read as bytes: each ends at LF, a CR before it
// dropped; a last line without line end counts too. Nothing when the file
// cannot be opened.
std::optional<std::vector<std::string>> LeggiRighe(const std::string& percorso);
