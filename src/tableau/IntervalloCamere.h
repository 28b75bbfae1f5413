#pragma once

#include <cstdint>
#include <string>

class Recordset;

// The range of rooms the main window proposes for a tableau: from the lowest
// to the highest room number (compared as text) of tableau `tableau` of
// hotel `hotel`, counting only the rooms whose type is of Tipologia "C".
// `camere` is the whole NumeriCamere table (TabellaNumeriCamere), `tipi` the
// whole TipiCamere table (TabellaTipiCamere). Without such a room the range
// is from "\xFF" to "", which no room lies in.
struct IntervalloCamere {
    std::string prima;
    std::string ultima;
};
IntervalloCamere IntervalloDelTableau(Recordset& camere, Recordset& tipi, std::int64_t hotel, std::int64_t tableau);
