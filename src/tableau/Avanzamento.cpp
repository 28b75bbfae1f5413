#include "tableau/Avanzamento.h"

#include <algorithm>

Avanzamento::Avanzamento(std::stop_token arresto, Avviso avviso)
    : arresto_(arresto), arrestoLetture_(std::move(arresto)), avviso_(std::move(avviso)) {}

void Avanzamento::Controlla() const {
    if (arresto_.stop_requested()) throw CostruzioneAnnullata();
}

void Avanzamento::Passo(const std::string& testo) {
    const std::lock_guard blocco(mutex_);
    if (avviso_) avviso_(testo);
}

// Called with the mutex held. Once the last reading is done nothing is told:
// the next step follows.
void Avanzamento::AvvisaLetture() {
    if (!avviso_ || inLettura_.empty()) return;
    std::string testo = "Lettura di ";
    for (const std::string& file : inLettura_) testo += (&file == &inLettura_.front() ? "" : ", ") + file;
    avviso_(testo + "…");
}

Avanzamento::Lettura::Lettura(Avanzamento& avanzamento, std::string file)
    : avanzamento_(avanzamento), file_(std::move(file)) {
    avanzamento_.Controlla();
    const std::lock_guard blocco(avanzamento_.mutex_);
    avanzamento_.inLettura_.push_back(file_);
    avanzamento_.AvvisaLetture();
}

Avanzamento::Lettura::~Lettura() {
    const std::lock_guard blocco(avanzamento_.mutex_);
    auto& inLettura = avanzamento_.inLettura_;
    inLettura.erase(std::find(inLettura.begin(), inLettura.end(), file_));
    // A step that cannot be told is left out: the reading itself is over.
    try {
        avanzamento_.AvvisaLetture();
    } catch (...) {
    }
}
