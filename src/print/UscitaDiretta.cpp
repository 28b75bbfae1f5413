#include "print/UscitaDiretta.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <regex>
#include <utility>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace {

Errore ErroreApertura(const std::string& nome, const std::string& motivo) {
    return Errore(NumeroErrore::FileNonScrivibile,
                  "Impossibile aprire la destinazione di stampa '" + nome + "': " + motivo + ".");
}

// A file or device opened for writing from the start.
class UscitaFile : public UscitaDiretta {
public:
    explicit UscitaFile(std::string percorso) : percorso_(std::move(percorso)) {
        file_ = std::fopen(percorso_.c_str(), "wbe");
        if (!file_) throw ErroreApertura(percorso_, DescrizioneErroreSistema(errno));
    }
    ~UscitaFile() override {
        if (file_) std::fclose(file_);
    }

    void Scrivi(std::string_view byte) override {
        if (std::fwrite(byte.data(), 1, byte.size(), file_) != byte.size()) Fallito();
    }

    void Chiudi() override {
        std::FILE* file = std::exchange(file_, nullptr);
        if (std::fclose(file) != 0) Fallito();
    }

private:
    [[noreturn]] void Fallito() const {
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "Scrittura non riuscita su '" + percorso_ + "': " + DescrizioneErroreSistema(errno) + ".");
    }

    std::string percorso_;
    std::FILE* file_ = nullptr;
};

// A print queue of the print system: the bytes go to it as one raw job
// (the printer receives them as they are) when the output is closed.
class UscitaCoda : public UscitaDiretta {
public:
    explicit UscitaCoda(std::string coda) : coda_(std::move(coda)) {}

    void Scrivi(std::string_view byte) override { dati_ += byte; }

    void Chiudi() override {
        const int lavoro = cupsCreateJob(CUPS_HTTP_DEFAULT, coda_.c_str(), "Tableau", 0, nullptr);
        if (lavoro == 0) Fallito(cupsLastErrorString());
        if (cupsStartDocument(CUPS_HTTP_DEFAULT, coda_.c_str(), lavoro, "Tableau", CUPS_FORMAT_RAW, 1) !=
                HTTP_STATUS_CONTINUE ||
            cupsWriteRequestData(CUPS_HTTP_DEFAULT, dati_.data(), dati_.size()) != HTTP_STATUS_CONTINUE ||
            cupsFinishDocument(CUPS_HTTP_DEFAULT, coda_.c_str()) != IPP_STATUS_OK) {
            // No half-sent job is left waiting in the queue.
            const std::string motivo = cupsLastErrorString();
            cupsCancelJob2(CUPS_HTTP_DEFAULT, coda_.c_str(), lavoro, 0);
            Fallito(motivo);
        }
    }

private:
    [[noreturn]] void Fallito(const std::string& motivo) const {
        throw Errore(NumeroErrore::ErroreStampante, "Stampa non riuscita sulla coda '" + coda_ + "': " + motivo + ".");
    }

    std::string coda_;
    std::string dati_;
};

// True when the print system has a printer or class named `nome`.
bool CodaInstallata(const std::string& nome) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     nome.c_str());
    ipp_t* richiesta = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(richiesta, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(richiesta, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, richiesta, "/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

}  // namespace

std::string FileDestinazione(const std::string& destinazione) {
    const std::string nome = Cp1252ToUtf8(Taglia(destinazione));
    if (nome.find('\\') != std::string::npos || nome.find("..") != std::string::npos)
        throw Errore(NumeroErrore::ArgomentoNonValido,
                     "Destinazione di stampa non valida: '" + nome + "' (non può contenere \"\\\" o \"..\").");
    static const std::regex porta("(LPT([1-3])|PRN):?", std::regex::icase);
    std::smatch trovata;
    if (std::regex_match(nome, trovata, porta))
        return "/dev/lp" + std::to_string(trovata[2].matched ? std::stoi(trovata[2]) - 1 : 0);
    if (nome.starts_with('/')) return nome;
    return "./" + nome;
}

std::unique_ptr<UscitaDiretta> ApriUscitaDiretta(const std::string& destinazione) {
    const std::string percorso = FileDestinazione(destinazione);
    const std::string coda = Cp1252ToUtf8(Taglia(destinazione));
    if (!coda.empty() && CodaInstallata(coda)) return std::make_unique<UscitaCoda>(coda);
    return std::make_unique<UscitaFile>(percorso);
}
