#include "print/LibreriaCups.h"

#include <dlfcn.h>

#include "common/Errore.h"

namespace {

constexpr const char* kLibreria = "libcups.so.2";

[[noreturn]] void LibreriaMancante(const char* dettaglio) {
    throw Errore(NumeroErrore::ErroreStampante,
                 std::string("Il sistema di stampa non si può usare: manca la libreria ") + kLibreria + " (" +
                     dettaglio + "). Controllare che il pacchetto libcups2 sia installato.");
}

template <typename Funzione>
void Carica(void* libreria, Funzione& funzione, const char* nome) {
    funzione = reinterpret_cast<Funzione>(dlsym(libreria, nome));
    if (!funzione) LibreriaMancante(nome);
}

LibreriaCups CaricaLibreria() {
    void* libreria = dlopen(kLibreria, RTLD_NOW | RTLD_LOCAL);
    if (!libreria) LibreriaMancante(dlerror());
    LibreriaCups cups{};
    Carica(libreria, cups.Server, "cupsServer");
    Carica(libreria, cups.LastError, "cupsLastError");
    Carica(libreria, cups.LastErrorString, "cupsLastErrorString");
    Carica(libreria, cups.AssembleURIf, "httpAssembleURIf");
    Carica(libreria, cups.NewRequest, "ippNewRequest");
    Carica(libreria, cups.AddString, "ippAddString");
    Carica(libreria, cups.DoRequest, "cupsDoRequest");
    Carica(libreria, cups.Delete, "ippDelete");
    Carica(libreria, cups.CreateJob, "cupsCreateJob");
    Carica(libreria, cups.StartDocument, "cupsStartDocument");
    Carica(libreria, cups.WriteRequestData, "cupsWriteRequestData");
    Carica(libreria, cups.FinishDocument, "cupsFinishDocument");
    Carica(libreria, cups.CancelJob2, "cupsCancelJob2");
    return cups;
}

}  // namespace

const LibreriaCups& Cups() {
    static const LibreriaCups cups = CaricaLibreria();
    return cups;
}
