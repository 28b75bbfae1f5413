#pragma once

#include <string>

#include "tableau/Settimana.h"

// The week as JSON (UTF-8) for scripts, with the totals of each day and of
// the week; the README describes every field. `stampato` (yyyymmddhhnn), when
// not empty, is written as the time the week was printed: the model kept at
// a print carries it.
std::string JsonSettimana(const Settimana& settimana, const std::string& stampato = "");

// The day cell as the JSON writes it, in UTF-8: a detail cell's bar before
// the amount (byte 179) as the box-drawing character U+2502, every other
// character as Windows-1252 stands for it.
std::string CellaInUtf8(const std::string& cella);

// The position of the bar before the amount in a detail cell (line B).
constexpr std::size_t kPostoBarraCella = 13;
