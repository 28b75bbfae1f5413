#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

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
        const auto pagina = static_cast<std::uint32_t>(posizione / kPagina);
        std::uint32_t slot = 0;
        while (pagina * kPagina + (Slot(pagina, slot) & 0x1fff) > posizione) ++slot;
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
        const std::uint32_t inizioRiga = kPagina - 64;
        std::string nuova(kPagina, 'x');
        nuova.replace(0, 4, {1, 1, 0, 0});
        nuova.replace(4, 4, "LVAL");
        byte_ += nuova;
        ScriviIntero(pagina * kPagina + 12, 1, 2);
        ScriviIntero(pagina * kPagina + 14, inizioRiga, 2);
        ScriviIntero(pagina * kPagina + inizioRiga, pagina << 8);
        const std::size_t intestazione = posizioneTesto - 12;
        ScriviIntero(intestazione, 4000);  // length, no flag: a chain of rows
        ScriviIntero(intestazione + 4, pagina << 8);
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
