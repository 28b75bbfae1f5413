#pragma once

#include <string>
#include <string_view>

// Conversions at the program's edges: the core keeps text in Windows-1252
// (one byte per character, as the report file stores it); databases and the
// GUI speak UTF-8.

// UTF-8 -> Windows-1252; a character the code page lacks becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 -> UTF-8. The five undefined bytes (81, 8D, 8F, 90, 9D) map to
// the control characters of the same code.
std::string Cp1252ToUtf8(std::string_view cp1252);
