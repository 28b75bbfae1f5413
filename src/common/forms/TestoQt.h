#pragma once

#include <QString>

#include <string>

#include "common/Codifica.h"

// A core text (Windows-1252) as Qt holds it, and a Qt text back in the core's code page.
inline QString DaCp1252(const std::string& testo) { return QString::fromStdString(Cp1252ToUtf8(testo)); }
inline std::string InCp1252(const QString& testo) { return Utf8ToCp1252(testo.toStdString()); }
