#pragma once

// What the Access reader brovato5-mdb writes on its standard output and how it
// ends; shared by the reader and by the program that starts it.
//
//   brovato5-mdb tabelle FILE        the names of the user tables
//   brovato5-mdb tabelle FILE NAME [COLUMN...]
//                                    the names, then the table as "tabella"
//                                    writes it, from the same opening; only
//                                    the names when the file lacks the table
//   brovato5-mdb tabella FILE NAME   the whole table NAME (case ignored)
//   brovato5-mdb tabella FILE NAME COLUMN...
//                                    only the columns named (case ignored), in
//                                    the table's order; a name the table lacks
//                                    is left out. The others are not decoded.
//
// Output of "tabelle":             Output of "tabella":
//   brovato5-mdb 1                   brovato5-mdb 1
//   tabelle <n>                      tabella <len>:<name>
//   <len>:<name>      (n lines)      colonne <n>
//   fine                             <type> <len>:<name>   (n lines)
//                                    righe <row count of the table definition>
//                                    R                     (each record: this line,
//                                    <value>                then n value lines)
//                                    fine <records written>
//
// A value line is "N" for Null or <type><len>:<bytes>, its type repeating the
// column's. <len> counts bytes, in decimal; names and texts are UTF-8,
// numbers in the C locale, dates "yyyy-mm-dd hh:mm:ss", binary values their
// bytes as stored.
// Every line ends with "\n"; the bytes of a value may hold line breaks.
namespace ProtocolloMdb {

inline constexpr const char* kIntestazione = "brovato5-mdb 1";

// Exit codes.
inline constexpr int kEsitoLetto = 0;
inline constexpr int kEsitoUsoErrato = 2;
inline constexpr int kEsitoIlleggibile = 3;
inline constexpr int kEsitoTabellaMancante = 4;
inline constexpr int kEsitoMemoriaInsufficiente = 5;

// Column and value types.
inline constexpr char kIntero = 'I';   // Byte, Integer, Long: "-5"
inline constexpr char kValuta = 'M';   // Currency: "42.5000", exact
inline constexpr char kReale = 'R';    // Single, Double, Decimal: "12.5"
inline constexpr char kData = 'D';     // Date/Time
inline constexpr char kSiNo = 'B';     // Yes/No: "1" or "0", never Null
inline constexpr char kTesto = 'T';    // Text, Memo, replication ID
inline constexpr char kBinario = 'X';  // OLE object, binary: the bytes as stored
inline constexpr char kNull = 'N';

}  // namespace ProtocolloMdb
