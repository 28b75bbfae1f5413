#include "archivio/Archivio.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "archivio/ArchivioAccess.h"
#include "archivio/ArchivioSqlite.h"
#include "archivio/Sessione.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace fs = std::filesystem;

Proiezione Proiezione::Di(const std::vector<std::string>& campi) {
    Proiezione proiezione{false, {}};
    for (const auto& campo : campi) proiezione.nomi.insert(Maiuscolo(campo));
    return proiezione;
}

bool Proiezione::Copre(const Proiezione& altra) const {
    return tutte || (!altra.tutte && std::ranges::includes(nomi, altra.nomi));
}

Proiezione Proiezione::Unione(const Proiezione& altra) const {
    if (tutte || altra.tutte) return {};
    Proiezione unione = *this;
    unione.nomi.insert(altra.nomi.begin(), altra.nomi.end());
    return unione;
}

Tabella Archivio::LeggiColonne(const std::string& nome, const Proiezione&, const RichiestaArresto*) {
    return LeggiTabella(nome);
}

std::unique_ptr<Archivio> ApriArchivio(const FileArchivio& file, std::shared_ptr<SessioneArchivio> sessione,
                                       const std::optional<LetturaAttesa>& attesa, const RichiestaArresto* arresto) {
    const Descrittore fd = ApriFileArchivio(file);
    char testa[32] = {};
    const ssize_t letti = pread(fd.Fd(), testa, sizeof testa, 0);
    const std::string inizio(testa, letti > 0 ? static_cast<std::size_t>(letti) : 0);
    if (inizio.rfind("SQLite format 3", 0) == 0) return ApriArchivioSqlite(file);
    // Access files (Jet 3, Jet 4, ACE) carry their signature from byte 4.
    if (inizio.size() >= 19 && (inizio.compare(4, 15, "Standard Jet DB") == 0 ||
                                inizio.compare(4, 15, "Standard ACE DB") == 0))
        return ApriArchivioAccess(file, std::move(sessione), attesa, arresto);
    throw ErroreFormatoNonRiconosciuto(file.Percorso());
}

std::unique_ptr<Archivio> ApriArchivio(const std::string& percorso) {
    return ApriArchivio(FileDelPercorso(percorso), std::make_shared<SessioneArchivio>());
}

Errore ErroreFileNonTrovato(const std::string& nome) {
    return Errore(NumeroErrore::FileNonTrovato, "Impossibile trovare il file '" + nome + "'.");
}

Errore ErroreFormatoNonRiconosciuto(const std::string& percorso) {
    return Errore(NumeroErrore::FormatoNonRiconosciuto, "Formato di database non riconosciuto: '" + percorso + "'.");
}

Errore ErroreFileInUso(const std::string& percorso) {
    return Errore(NumeroErrore::FileInUso, "Impossibile utilizzare '" + percorso + "': file gi\xC3\xA0 in uso.");
}

Errore ErroreTabellaNonTrovata(const std::string& nome) {
    return Errore(NumeroErrore::TabellaNonTrovata,
                  "Impossibile trovare la tabella o la query di input '" + Cp1252ToUtf8(nome) + "'.");
}
