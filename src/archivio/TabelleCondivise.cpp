#include "archivio/TabelleCondivise.h"

#include <chrono>
#include <future>
#include <optional>

#include "archivio/Sessione.h"
#include "common/Routine.h"

struct TabelleConservate::Lettura {
    StatoFile stato;
    Proiezione colonne;
    std::shared_future<std::shared_ptr<const Tabella>> tabella;
};

std::shared_ptr<const Tabella> TabelleConservate::Leggi(const FileArchivio& file, const StatoFile& stato,
                                                        const std::string& nomeMaiuscolo, const Proiezione& colonne,
                                                        const std::function<Tabella(const Proiezione&)>& leggi,
                                                        Proiezione& lette, UltimeImpronte& impronte) {
    const Chiave chiave{stato.dispositivo, stato.inode, nomeMaiuscolo};
    std::shared_ptr<Lettura> lettura;
    std::optional<std::promise<std::shared_ptr<const Tabella>>> promessa;
    {
        const std::lock_guard blocco(mutex_);
        auto& voce = letture_[chiave];
        const bool valida = voce && voce->stato == stato;
        if (!valida || !voce->colonne.Copre(colonne)) {
            promessa.emplace();
            const Proiezione daLeggere = valida ? voce->colonne.Unione(colonne) : colonne;
            voce = std::make_shared<Lettura>(Lettura{stato, daLeggere, promessa->get_future().share()});
        }
        lettura = voce;
    }
    lette = lettura->colonne;
    if (promessa) {
        try {
            // A reader checks the file kept still through its reading: its last fingerprint serves here.
            const auto inizio = std::chrono::steady_clock::now();
            auto tabella = std::make_shared<const Tabella>(leggi(lettura->colonne));
            if (LeggiStatoFile(file, impronte, inizio) != stato) Dimentica(chiave, lettura);
            promessa->set_value(std::move(tabella));
        } catch (...) {
            Dimentica(chiave, lettura);
            promessa->set_exception(std::current_exception());
        }
    }
    return lettura->tabella.get();
}

void TabelleConservate::Dimentica(const Chiave& chiave, const std::shared_ptr<Lettura>& lettura) {
    const std::lock_guard blocco(mutex_);
    const auto voce = letture_.find(chiave);
    if (voce != letture_.end() && voce->second == lettura) letture_.erase(voce);
}

TabelleCondivise::TabelleCondivise() : TabelleCondivise(std::make_shared<SessioneArchivio>()) {}

TabelleCondivise::TabelleCondivise(std::shared_ptr<SessioneArchivio> sessione) : sessione_(std::move(sessione)) {}

TabelleCondivise::~TabelleCondivise() = default;

std::shared_ptr<const Tabella> TabelleCondivise::Leggi(const FileArchivio& file, const std::string& nome,
                                                       const std::function<Tabella()>& leggi) {
    return Leggi(file, nome, {}, [&](const Proiezione&) { return leggi(); });
}

std::shared_ptr<const Tabella> TabelleCondivise::Leggi(const FileArchivio& file, const std::string& nome,
                                                       const Proiezione& colonne,
                                                       const std::function<Tabella(const Proiezione&)>& leggi) {
    const auto statoFile = LeggiStatoFile(file, sessione_->impronte);
    // A file that cannot be examined is left to the reader, which reports it.
    if (!statoFile) return std::make_shared<const Tabella>(leggi(colonne));
    const Chiave chiave{statoFile->dispositivo, statoFile->inode, Maiuscolo(nome)};
    const Stato stato{statoFile->dimensione, statoFile->modificaSecondi, statoFile->modificaNanosecondi};
    {
        const std::lock_guard blocco(mutex_);
        const auto trovata = letture_.find(chiave);
        if (trovata != letture_.end() && trovata->second.stato == stato && trovata->second.colonne.Copre(colonne))
            return trovata->second.tabella;
    }
    Proiezione lette;
    auto tabella = sessione_->tabelle.Leggi(file, *statoFile, std::get<2>(chiave), colonne, leggi, lette,
                                            sessione_->impronte);
    const std::lock_guard blocco(mutex_);
    letture_[chiave] = {stato, lette, tabella};
    return tabella;
}
