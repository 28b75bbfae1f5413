#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The report file's grid: every line is 132 characters, a 5-character room
// column, then seven 17-character day cells, each closed by a grid character.
// The builder composes its lines here; the readers of the report share the
// same constants.
namespace Griglia {

constexpr std::size_t LunghezzaRiga = 132;
constexpr std::size_t LarghezzaCamera = 5;
constexpr std::size_t LarghezzaCella = 17;
constexpr int Giorni = 7;

// Box-drawing bytes of the grid (single-byte OEM codes).
constexpr char Verticale = '\xB3';     // 179
constexpr char Orizzontale = '\xC4';   // 196
constexpr char Croce = '\xC5';         // 197
constexpr char TDestra = '\xB4';       // 180

// Column (counted from 1) where the cell of day k (0..6) begins.
constexpr std::size_t ColonnaCella(int giorno) { return 18 * static_cast<std::size_t>(giorno) + 7; }

// Columns (counted from 1) of the grid characters: 6, 24, ..., 114 and 132.
constexpr std::array<std::size_t, 8> ColonneSeparatore = {6, 24, 42, 60, 78, 96, 114, 132};

}  // namespace Griglia

// 132 blanks with the vertical bar at the grid columns.
std::string RigaVuota();

// The separator line: horizontal lines, crosses at the inner grid columns,
// the right tee at column 132.
std::string RigaSeparatore();

// Writes `testo`, cut or padded with blanks to 17 characters, into the cell of
// day `giorno`, leaving the grid characters in place.
void ScriviCella(std::string& riga, int giorno, std::string_view testo);

// Writes `testo`, cut or padded to 5 characters, into the room column.
void ScriviColonnaCamera(std::string& riga, std::string_view testo);

// `testo` cut at `n` characters or padded with blanks to `n`.
std::string Adatta(std::string_view testo, std::size_t n);

// `n` in decimal right-aligned in `larghezza` characters; a number that does
// not fit is shown as `larghezza` asterisks.
std::string NumeroADestra(std::int64_t n, std::size_t larghezza);

// Header cell: a blank, the weekday name, a blank and dd/mm.
std::string CellaIntestazione(std::string_view nomeGiorno, std::string_view giornoMese);

// Occupant cell of line A: name in 8, marker in 3 ("   " or " F "), day of
// arrival, "- ", day of departure.
std::string CellaOccupante(std::string_view nome, bool inSoggiorno, std::string_view giornoArrivo,
                           std::string_view giornoPartenza);

// Detail cell of line B: agency in 8, blank, payment code, blank, persons
// right-aligned in 2, vertical bar, amount right-aligned in 3.
std::string CellaDettaglio(std::string_view agenzia, char pagamento, std::int64_t persone,
                           std::int64_t importo);
