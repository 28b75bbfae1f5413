#pragma once

#include <optional>
#include <string>
#include <string_view>

// Value of the environment variable `nome`, its name matched without regard
// to case as the suite's settings expect (a variable spelled exactly so wins
// over the others); nothing when no such variable is set.
std::optional<std::string> LeggiAmbiente(std::string_view nome);
