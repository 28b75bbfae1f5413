#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "archivio/Valore.h"

// Decoding of what the Access reader brovato5-mdb writes (format in
// archivio/mdb/ProtocolloMdb.h). Everything is checked: a missing or extra
// byte, an unknown type, a number that does not parse, a record count that
// differs from the table's row count make the whole output invalid.

// The output is not what a complete, successful reading writes.
class UscitaMdbNonValida : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Names of the tables from the output of "tabelle", in Windows-1252.
std::vector<std::string> DecodificaElencoTabelle(std::string_view uscita);

// The output of "tabelle" asked for a table too: the names, then the table
// when the file holds it.
struct ElencoETabella {
    std::vector<std::string> nomi;
    std::optional<Tabella> tabella;
};
ElencoETabella DecodificaElencoETabella(std::string_view uscita);

// The table from the output of "tabella": texts in Windows-1252, Long and
// Integer as Intero, Currency as Valuta, Double as Reale, Date/Time as Data,
// Yes/No as SiNo, binary data and OLE objects as Binario, their bytes.
Tabella DecodificaTabella(std::string_view uscita);
