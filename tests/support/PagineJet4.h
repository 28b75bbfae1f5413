#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The data pages of a Jet 4 file held in memory: a row-offset slot of a row
// moved elsewhere holds flag 0x4000 and a 4-byte pointer [row][page].
class PagineJet4 {
public:
    explicit PagineJet4(std::string& byte) : byte_(byte) {}

    std::uint32_t Numero() const { return static_cast<std::uint32_t>(byte_.size() / kPagina); }
    bool Dati(std::uint32_t pagina) const { return byte_[pagina * kPagina] == 1; }
    std::uint32_t Proprietario(std::uint32_t pagina) const { return Intero(pagina * kPagina + 4, 4); }
    std::uint32_t Righe(std::uint32_t pagina) const { return Intero(pagina * kPagina + 12, 2); }
    std::uint32_t Puntatore(std::uint32_t pagina, std::uint32_t slot) const { return Intero(InizioRiga(pagina, slot), 4); }

    // Page and slot of the first moved row's pointer.
    std::pair<std::uint32_t, std::uint32_t> PrimoPuntatore() const { return Puntatori(1); }
    // ... and of the one after it.
    std::pair<std::uint32_t, std::uint32_t> SecondoPuntatore() const { return Puntatori(2); }

    // The first slot of the page holding a row in its place: neither deleted nor moved.
    std::uint32_t RigaViva(std::uint32_t pagina) const {
        for (std::uint32_t r = 0; r < Righe(pagina); ++r)
            if ((Slot(pagina, r) & 0xc000) == 0) return r;
        throw std::runtime_error("nessuna riga al suo posto");
    }

    void ScriviPuntatore(std::uint32_t pagina, std::uint32_t slot, std::uint32_t valore) {
        ScriviIntero(InizioRiga(pagina, slot), valore);
    }

    // Marks deleted, as Access does, the row holding the byte at `posizione`,
    // and counts one row less in its table's definition.
    void CancellaRiga(std::size_t posizione) {
        const auto [pagina, slot] = RigaDi(posizione);
        const std::size_t dove = pagina * kPagina + 14 + 2 * slot;
        byte_[dove + 1] = static_cast<char>(byte_[dove + 1] | 0x80);
        const std::size_t righeTabella = Proprietario(pagina) * kPagina + 16;
        ScriviIntero(righeTabella, Intero(righeTabella, 4) - 1);
    }

    // Sets the type of the usage map of the table defined on page `definizione`
    // to one libmdb does not know, so that it looks for the table's rows on every page.
    void MappaSconosciuta(std::uint32_t definizione) {
        const std::uint32_t mappa = Intero(definizione * kPagina + 55, 4);
        byte_[InizioRiga(mappa >> 8, mappa & 0xff)] = 2;
    }

    // Turns the memo value stored in its row, whose text begins at
    // `posizioneTesto` after its 12-byte header, into one stored in a chain of
    // long-value rows: a chain of one row that names itself as the next, on a
    // page added at the end of the file.
    void MemoInCatenaChiusa(std::size_t posizioneTesto) {
        const std::uint32_t pagina = Numero();
        AggiungiPaginaValoriLunghi({Byte(pagina << 8) + std::string(60, 'x')});
        ScriviIntero(posizioneTesto - 12, 4000);  // length, no flag: a chain of rows
        ScriviIntero(posizioneTesto - 8, pagina << 8);
    }

    // ... into a chain of two long-value rows on a page added at the end,
    // holding the text cut after `taglio` bytes; the first row names the
    // second as the next unless the link is lost.
    void MemoInCatena(std::size_t posizioneTesto, std::size_t taglio, bool collegata) {
        const std::size_t intestazione = posizioneTesto - 12;
        const std::uint32_t lunghezza = Intero(intestazione, 4) & 0x3fffffff;
        const std::string testo = byte_.substr(posizioneTesto, lunghezza);
        const std::uint32_t pagina = Numero();
        AggiungiPaginaValoriLunghi({Byte(collegata ? pagina << 8 | 1 : 0) + testo.substr(0, taglio),
                                    Byte(0) + testo.substr(taglio)});
        ScriviIntero(intestazione, lunghezza);
        ScriviIntero(intestazione + 4, pagina << 8);
    }

    // ... into one of `lunghezza` bytes held whole by the row `riga` of page `pagina`.
    void MemoInUnaRiga(std::size_t posizioneTesto, std::uint32_t pagina, std::uint32_t riga, std::uint32_t lunghezza) {
        ScriviIntero(posizioneTesto - 12, lunghezza | 0x40000000);
        ScriviIntero(posizioneTesto - 8, pagina << 8 | riga);
    }

    // Appends `copie` copies of page `pagina` to the file.
    void CopiaPagina(std::uint32_t pagina, std::size_t copie) {
        const std::string copia = byte_.substr(pagina * kPagina, kPagina);
        for (std::size_t i = 0; i < copie; ++i) byte_ += copia;
    }

    // Sets the row count of the table defined on page `definizione`.
    void ScriviRigheDichiarate(std::uint32_t definizione, std::uint32_t righe) {
        ScriviIntero(definizione * kPagina + 16, righe);
    }

    void ScriviByte(std::size_t dove, char valore) { byte_[dove] = valore; }

    // Sets to `tipo` the type of the column `nome` of the table defined on
    // page `definizione`: 25 bytes a column after the table's 63 and 12 a
    // real index, the type first; then the names, UCS-2 after their length.
    void ScriviTipoColonna(std::uint32_t definizione, const std::string& nome, char tipo) {
        const std::size_t base = definizione * kPagina;
        const std::uint32_t colonne = Intero(base + 45, 2);
        const std::size_t prima = base + 63 + 12 * Intero(base + 51, 4);
        std::string ucs2;
        for (const char c : nome) ucs2 += {c, '\0'};
        for (std::size_t c = 0, nomi = prima + 25 * colonne; c < colonne; ++c, nomi += 2 + Intero(nomi, 2))
            if (byte_.compare(nomi + 2, Intero(nomi, 2), ucs2) == 0) {
                byte_[prima + 25 * c] = tipo;
                return;
            }
        throw std::runtime_error("colonna mancante: " + nome);
    }

    // Adds at the end of the file a long-value page holding `righe`, the
    // first in slot 0; its number.
    std::uint32_t AggiungiPaginaValoriLunghi(const std::vector<std::string>& righe) {
        const std::uint32_t pagina = Numero();
        const std::size_t base = byte_.size();
        byte_ += std::string(kPagina, '\0');
        byte_.replace(base, 2, "\x01\x01");
        byte_.replace(base + 4, 4, "LVAL");
        ScriviIntero(base + 12, static_cast<std::uint32_t>(righe.size()), 2);
        std::size_t inizio = kPagina;
        for (std::size_t r = 0; r < righe.size(); ++r) {
            inizio -= righe[r].size();
            byte_.replace(base + inizio, righe[r].size(), righe[r]);
            ScriviIntero(base + 14 + 2 * r, static_cast<std::uint32_t>(inizio), 2);
        }
        return pagina;
    }

    // Makes the row in slot `slot` of page `pagina` begin at byte `inizio` of the page.
    void ScriviInizioRiga(std::uint32_t pagina, std::uint32_t slot, std::uint32_t inizio) {
        const std::size_t dove = pagina * kPagina + 14 + 2 * slot;
        ScriviIntero(dove, (Intero(dove, 2) & 0xe000) | inizio, 2);
    }

    // Sets to `scostamento` the offset, in its row's table of offsets, of
    // the variable-length value that begins at byte `valore`.
    void ScriviScostamento(std::size_t valore, std::uint32_t scostamento) {
        const auto [pagina, slot] = RigaDi(valore);
        const std::size_t inizio = InizioRiga(pagina, slot);
        const std::size_t fine = pagina * kPagina + (slot == 0 ? kPagina : Slot(pagina, slot - 1) & 0x1fff);
        const std::size_t maschera = (Intero(inizio, 2) + 7) / 8;
        for (std::uint32_t i = 0; i <= Intero(fine - maschera - 2, 2); ++i) {
            const std::size_t dove = fine - maschera - 4 - 2 * i;
            if (Intero(dove, 2) == valore - inizio) return ScriviIntero(dove, scostamento, 2);
        }
        throw std::runtime_error("valore senza scostamento");
    }

private:
    static constexpr std::size_t kPagina = 4096;

    std::uint32_t Intero(std::size_t dove, int byte) const {
        std::uint32_t n = 0;
        for (int i = byte - 1; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(byte_[dove + i]);
        return n;
    }
    void ScriviIntero(std::size_t dove, std::uint32_t valore, std::size_t byte = 4) {
        for (std::size_t i = 0; i < byte; ++i) byte_[dove + i] = static_cast<char>(valore >> (8 * i));
    }
    static std::string Byte(std::uint32_t valore) {
        return {static_cast<char>(valore), static_cast<char>(valore >> 8), static_cast<char>(valore >> 16),
                static_cast<char>(valore >> 24)};
    }
    // Page and slot of the row holding the byte at `posizione`.
    std::pair<std::uint32_t, std::uint32_t> RigaDi(std::size_t posizione) const {
        const auto pagina = static_cast<std::uint32_t>(posizione / kPagina);
        std::uint32_t slot = 0;
        while (pagina * kPagina + (Slot(pagina, slot) & 0x1fff) > posizione) ++slot;
        return {pagina, slot};
    }
    std::uint32_t Slot(std::uint32_t pagina, std::uint32_t slot) const { return Intero(pagina * kPagina + 14 + 2 * slot, 2); }
    std::size_t InizioRiga(std::uint32_t pagina, std::uint32_t slot) const {
        return pagina * kPagina + (Slot(pagina, slot) & 0x1fff);
    }
    // Page and slot of the n-th moved row's pointer, from 1.
    std::pair<std::uint32_t, std::uint32_t> Puntatori(int n) const {
        for (std::uint32_t p = 1; p < Numero(); ++p)
            for (std::uint32_t r = 0; Dati(p) && r < Righe(p); ++r)
                if ((Slot(p, r) & 0xc000) == 0x4000 && --n == 0) return {p, r};
        throw std::runtime_error("righe spostate mancanti");
    }

    std::string& byte_;
};
