#include "archivio/Criterio.h"

#include <algorithm>

namespace {

using Nodo = Forma::Nodo;
using Tipo = Nodo::Tipo;

std::size_t ParametriDi(const Termine& termine) {
    return termine.genere == Termine::Genere::Parametro ? termine.parametro + 1 : 0;
}

std::size_t ParametriDi(const Forma& forma) { return forma.Vuota() ? 0 : forma.Parametri(); }

Forma Crea(Nodo nodo) {
    nodo.parametri = std::max({ParametriDi(nodo.sinistro), ParametriDi(nodo.destro), ParametriDi(nodo.primo),
                               ParametriDi(nodo.secondo)});
    return Forma(std::make_shared<const Nodo>(std::move(nodo)));
}

Forma Confronto(const Campo& campo, Operatore operatore, Termine valore) {
    Nodo nodo;
    nodo.operatore = operatore;
    nodo.sinistro = campo;
    nodo.destro = std::move(valore);
    return Crea(std::move(nodo));
}

// Two forms joined; an empty one (no test) leaves the other as it is.
Forma Unisci(Tipo tipo, const Forma& a, const Forma& b) {
    if (a.Vuota()) return b;
    if (b.Vuota()) return a;
    Nodo nodo;
    nodo.tipo = tipo;
    nodo.primo = a;
    nodo.secondo = b;
    return Crea(std::move(nodo));
}

Forma Appartenenza(const Campo& campo, std::vector<Valore> valori, std::shared_ptr<const Selezione> sottoquery,
                   bool negata) {
    Nodo nodo;
    nodo.tipo = Tipo::In;
    nodo.sinistro = campo;
    nodo.elenco = std::move(valori);
    nodo.sottoquery = std::move(sottoquery);
    nodo.negata = negata;
    return Crea(std::move(nodo));
}

Forma Nullita(const Campo& campo, bool negata) {
    Nodo nodo;
    nodo.tipo = Tipo::Nullo;
    nodo.sinistro = campo;
    nodo.negata = negata;
    return Crea(std::move(nodo));
}

}  // namespace

std::size_t Forma::Parametri() const { return nodo_->parametri; }

Forma operator&&(const Forma& a, const Forma& b) { return Unisci(Tipo::E, a, b); }

Forma operator||(const Forma& a, const Forma& b) { return Unisci(Tipo::O, a, b); }

Forma operator!(const Forma& a) {
    if (a.Vuota()) return a;
    Nodo nodo;
    nodo.tipo = Tipo::Non;
    nodo.primo = a;
    return Crea(std::move(nodo));
}

Forma operator==(const Campo& campo, Termine valore) { return Confronto(campo, Operatore::Uguale, std::move(valore)); }
Forma operator!=(const Campo& campo, Termine valore) { return Confronto(campo, Operatore::Diverso, std::move(valore)); }
Forma operator<(const Campo& campo, Termine valore) { return Confronto(campo, Operatore::Minore, std::move(valore)); }
Forma operator>(const Campo& campo, Termine valore) { return Confronto(campo, Operatore::Maggiore, std::move(valore)); }
Forma operator<=(const Campo& campo, Termine valore) {
    return Confronto(campo, Operatore::MinoreUguale, std::move(valore));
}
Forma operator>=(const Campo& campo, Termine valore) {
    return Confronto(campo, Operatore::MaggioreUguale, std::move(valore));
}

Forma In(const Campo& campo, std::vector<Valore> valori) { return Appartenenza(campo, std::move(valori), {}, false); }

Forma In(const Campo& campo, Selezione sottoquery) {
    return Appartenenza(campo, {}, std::make_shared<const Selezione>(std::move(sottoquery)), false);
}

Forma NonIn(const Campo& campo, std::vector<Valore> valori) { return Appartenenza(campo, std::move(valori), {}, true); }

Forma IsNull(const Campo& campo) { return Nullita(campo, false); }

Forma IsNotNull(const Campo& campo) { return Nullita(campo, true); }

void CampiNominati(const Forma& forma, std::vector<std::string>& campi) {
    if (forma.Vuota()) return;
    const Nodo& nodo = forma.Radice();
    for (const Termine* termine : {&nodo.sinistro, &nodo.destro})
        if (termine->genere == Termine::Genere::Campo) campi.push_back(termine->campo);
    CampiNominati(nodo.primo, campi);
    CampiNominati(nodo.secondo, campi);
}
