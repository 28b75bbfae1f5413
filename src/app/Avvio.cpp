#include "app/Avvio.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "common/Ambiente.h"
#include "common/CartellaDati.h"
#include "common/Errore.h"
#include "common/ProgrammiAusiliari.h"

namespace {

constexpr const char* kProgrammaGrafico = "brovato5-qt";

// The options that take a value; "--configura" and "--version" take none.
bool ConValore(const std::string& nome) { return nome == "cartella" || nome == "postazione"; }

// Stores option `nome` with its `valore`; an error text when it cannot.
std::string Memorizza(OpzioniAvvio& opzioni, const std::string& nome, const std::string& valore) {
    std::optional<std::string>& posto = nome == "cartella" ? opzioni.cartella : opzioni.postazione;
    if (posto) return "opzione ripetuta: --" + nome;
    if (valore.empty()) return "manca il valore di --" + nome;
    if (nome == "postazione" && !PostazioneValida(valore))
        return "il numero di postazione deve essere di sole cifre: '" + valore + "'";
    posto = valore;
    return {};
}

}  // namespace

OpzioniAvvio LeggiOpzioniAvvio(const std::vector<std::string>& argomenti) {
    OpzioniAvvio opzioni;
    std::size_t i = 0;
    for (; i < argomenti.size() && opzioni.errore.empty(); ++i) {
        std::string nome = argomenti[i];
        if (nome == "--configura") {
            opzioni.configura = true;
            continue;
        }
        if (nome == "--version") {
            opzioni.versione = true;
            continue;
        }
        if (nome.rfind("--", 0) != 0) break;
        nome.erase(0, 2);
        std::optional<std::string> valore;
        if (const auto uguale = nome.find('='); uguale != std::string::npos) {
            valore = nome.substr(uguale + 1);
            nome.resize(uguale);
        }
        // Any other option (--help among them) belongs to the commands.
        if (!ConValore(nome)) break;
        if (!valore && i + 1 < argomenti.size()) valore = argomenti[++i];
        opzioni.errore = Memorizza(opzioni, nome, valore.value_or(""));
    }
    if (!opzioni.errore.empty()) return opzioni;
    opzioni.resto.assign(argomenti.begin() + static_cast<std::ptrdiff_t>(i), argomenti.end());
    if (opzioni.configura && !opzioni.resto.empty())
        opzioni.errore = "--configura vale solo per la finestra principale";
    return opzioni;
}

bool PostazioneValida(const std::string& postazione) {
    return !postazione.empty() && postazione.size() <= 5 &&
           std::all_of(postazione.begin(), postazione.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const std::vector<std::string>& FileCartellaDati() {
    static const std::vector<std::string> nomi = {"Tableau.mdb", "AnagraficaHotels.mdb", "NumeriCamere.mdb"};
    return nomi;
}

std::vector<std::string> FileDatiMancanti(const std::string& cartella) {
    const auto aperta = CartellaDati::ApriSePossibile(cartella);
    std::vector<std::string> mancanti;
    for (const auto& nome : FileCartellaDati())
        if (!aperta || aperta->Genere(nome) != GenereVoce::File) mancanti.push_back(nome);
    return mancanti;
}

bool InCartellaDati(const std::string& cartella) {
    return FileDatiMancanti(cartella).size() < FileCartellaDati().size();
}

std::string PostazioneDiAvvio(const OpzioniAvvio& opzioni, const std::string& salvata) {
    if (opzioni.postazione) return ControllaPostazione(*opzioni.postazione, "dell'opzione --postazione");
    if (LeggiAmbiente("PCLocal")) return PostazioneDellAmbiente();
    return ControllaPostazione(salvata, "salvato");
}

Contesto ContestoDiAvvio(const OpzioniAvvio& opzioni) {
    return {CartellaDati(opzioni.cartella.value_or(".")), PostazioneDiAvvio(opzioni)};
}

std::optional<int> RispondiOpzioniAvvio(const OpzioniAvvio& opzioni, std::ostream& out, std::ostream& err) {
    if (!opzioni.errore.empty()) {
        err << "brovato5: " << opzioni.errore << "\nPer l'uso: brovato5 --help\n";
        return 2;
    }
    if (opzioni.versione) {
        out << "brovato5 " << BROVATO5_VERSIONE << "\n";
        return 0;
    }
    return std::nullopt;
}

bool RichiedeProgrammaGrafico(const OpzioniAvvio& opzioni) {
    // --configura comes without a command.
    if (opzioni.resto.empty() || opzioni.resto.front() == "stampa") return true;
    // The room rack's PDF is drawn with the graphic library; its data are not.
    return opzioni.resto.front() == "quadro" &&
           std::any_of(opzioni.resto.begin() + 1, opzioni.resto.end(),
                       [](const std::string& a) { return a == "--pdf" || a.rfind("--pdf=", 0) == 0; });
}

void PassaAlProgrammaGrafico(char* const argv[]) {
    const std::string programma = TrovaProgrammaAusiliario(kProgrammaGrafico);
    if (programma.empty())
        throw Errore(NumeroErrore::FileInesistente,
                     std::string("Impossibile trovare il programma della finestra e della stampa '") +
                         kProgrammaGrafico + "': reinstallare Brovato5.");
    execv(programma.c_str(), argv);
    throw Errore(NumeroErrore::FileInesistente, "Impossibile avviare il programma della finestra e della stampa '" +
                                                    programma + "': " + DescrizioneErroreSistema(errno) + ".");
}
