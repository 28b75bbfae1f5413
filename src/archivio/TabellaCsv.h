#pragma once

#include <iosfwd>

#include "archivio/Valore.h"

// Writes a table as CSV in UTF-8: a header line of the column names, then one
// line per record in the table's order. A Null is an empty cell without
// quotes, a text is always quoted (so a zero-length text shows as ""), other
// values in their text form: whole numbers, currency with four decimals and
// a point, dates "yyyy-mm-dd hh:mm:ss", yes/no as 1 or 0. Quotes inside
// quotes are doubled; lines end with LF.
void ScriviTabellaCsv(const Tabella& tabella, std::ostream& out);
