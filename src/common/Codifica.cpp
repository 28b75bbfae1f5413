#include "common/Codifica.h"

#include <array>
#include <cstdint>

namespace {

// Unicode code points of the Windows-1252 bytes 0x80..0x9F; the five bytes
// the code page leaves undefined map to the control character of the same code.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char DaCodice(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kAlti.size(); ++i)
        if (kAlti[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

void AccodaUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Plain ASCII, most of every text, is copied a run at a time.
        const std::size_t ascii = i;
        while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
        out.append(utf8.substr(ascii, i - ascii));
        if (i == utf8.size()) break;
        const auto b = static_cast<unsigned char>(utf8[i]);
        // Continuation bytes that follow the lead byte b.
        const int seguito = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
        const bool troncato = seguito > 0 && i + seguito >= utf8.size();
        if (seguito < 0 || troncato) {
            out += '?';  // stray or truncated byte
            ++i;
            continue;
        }
        char32_t c = seguito == 0 ? b : (b & (0x3F >> seguito));
        bool valido = true;
        for (int k = 1; k <= seguito; ++k) {
            const auto s = static_cast<unsigned char>(utf8[i + k]);
            if ((s & 0xC0) != 0x80) valido = false;
            c = (c << 6) | (s & 0x3F);
        }
        if (!valido) {
            out += '?';
            ++i;
            continue;
        }
        out += DaCodice(c);
        i += seguito + 1;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (char ch : cp1252) {
        const auto b = static_cast<unsigned char>(ch);
        AccodaUtf8(out, b >= 0x80 && b < 0xA0 ? kAlti[b - 0x80] : char32_t{b});
    }
    return out;
}
