#include "archivio/TabellaCsv.h"

#include <ostream>
#include <string_view>

#include "common/Codifica.h"

namespace {

void ScriviTraVirgolette(const std::string& utf8, std::ostream& out) {
    out << '"';
    for (const char c : utf8) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

// A column name, quoted only when it would not read back as it is.
void ScriviNome(const std::string& nome, std::ostream& out) {
    const std::string utf8 = Cp1252ToUtf8(nome);
    const bool daQuotare = utf8.empty() || utf8.find_first_of(",\"\r\n") != std::string::npos ||
                           utf8.front() == ' ' || utf8.back() == ' ';
    if (daQuotare)
        ScriviTraVirgolette(utf8, out);
    else
        out << utf8;
}

// Binary data as "0x" and its bytes in hexadecimal.
void ScriviEsadecimale(std::string_view byte, std::ostream& out) {
    constexpr char kCifre[] = "0123456789ABCDEF";
    out << "0x";
    for (const unsigned char c : byte) out << kCifre[c >> 4] << kCifre[c & 0xF];
}

void ScriviValore(const Valore& valore, std::ostream& out) {
    if (valore.IsNull()) return;
    if (valore.Tipo() == TipoCampo::Testo)
        ScriviTraVirgolette(Cp1252ToUtf8(valore.Testo()), out);
    else if (valore.Tipo() == TipoCampo::Binario)
        ScriviEsadecimale(valore.TestoMemorizzato(), out);
    else
        out << valore.Testo();
}

}  // namespace

void ScriviTabellaCsv(const Tabella& tabella, std::ostream& out) {
    for (std::size_t i = 0; i < tabella.colonne.size(); ++i) {
        if (i > 0) out << ',';
        ScriviNome(tabella.colonne[i].nome, out);
    }
    out << '\n';
    for (const Record& record : tabella.righe) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i > 0) out << ',';
            ScriviValore(record[i], out);
        }
        out << '\n';
    }
}
