#include "app/Comandi.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <map>
#include <new>
#include <optional>
#include <system_error>

#include "app/Avvio.h"
#include "app/DatiDemo.h"
#include "archivio/Archivio.h"
#include "archivio/TabellaCsv.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "common/piattaforma/Stampante.h"
#include "print/ConvertiXLS.h"
#include "print/DatiMenuStampa.h"
#include "print/ImpostazioniStampa.h"
#include "print/FileDiStampa.h"
#include "print/MotoreStampa.h"
#include "quadro/JsonSettimana.h"
#include "tableau/CreaTableau.h"
#include "tableau/FileReport.h"

namespace {

constexpr int EsitoErrore = 1;
constexpr int EsitoUso = 2;

const char* const AiutoGenerale =
    "Uso: brovato5 [--cartella DIR] [--postazione N] [COMANDO [OPZIONI]]\n"
    "     brovato5 --configura | --version\n"
    "\n"
    "Senza comando apre la finestra principale sulla cartella dei dati corrente;\n"
    "fuori da una cartella dei dati usa quella salvata, chiedendola la prima volta.\n"
    "  --cartella DIR    lavora nella cartella dei dati DIR (solo per questa volta)\n"
    "  --postazione N    numero della postazione al posto di PCLocal\n"
    "  --configura       chiede di nuovo la cartella dei dati e la postazione\n"
    "  --version         scrive la versione del programma\n"
    "\n"
    "Comandi:\n"
    "  tableau   crea il report del tableau settimanale (file FD + PCLocal)\n"
    "  quadro    scrive la settimana come dati JSON o come PDF del tableau a video\n"
    "  demo DIR  crea la cartella DIR con un archivio dimostrativo\n"
    "  stampa    stampa il report sulla destinazione indicata\n"
    "  esporta   esporta il report come file delimitato fd + PCLocal + .csv\n"
    "  leggi FILE TABELLA  scrive la tabella come la legge il programma (CSV)\n"
    "\n"
    "brovato5 COMANDO --help descrive il comando.\n";

const char* const AiutoTableau =
    "Uso: brovato5 tableau --hotel H --tableau T --dalla PRIMA --alla ULTIMA --data GG/MM/AAAA\n"
    "\n"
    "Crea il tableau della settimana che inizia alla data indicata, per le camere\n"
    "da PRIMA a ULTIMA (confrontate come testo) del tableau T dell'hotel H.\n"
    "Va eseguito nella cartella dei dati; il report e' scritto nel file FD seguito\n"
    "dal valore della variabile d'ambiente PCLocal.\n"
    "\n"
    "Esito: 0 report creato, 1 errore durante la creazione, 2 uso o dati errati.\n";

const char* const AiutoQuadro =
    "Uso: brovato5 quadro --hotel H --tableau T --dalla PRIMA --alla ULTIMA --data GG/MM/AAAA\n"
    "                     [--json FILE] [--pdf FILE [--a3]]\n"
    "\n"
    "Legge la settimana come il comando tableau, senza toccare il report, e la\n"
    "scrive nei file indicati (almeno uno):\n"
    "  --json FILE  la settimana come dati per i programmi (JSON in UTF-8: camere,\n"
    "               giorni, celle, partite e totali; il README descrive i campi)\n"
    "  --pdf FILE   le pagine stampate del tableau a video, A4 orizzontale\n"
    "  --a3         il PDF su A3 orizzontale\n"
    "Un nome relativo vale nella cartella dei dati; non puo' essere un database,\n"
    "un file di impostazioni o il report della suite, ne' un collegamento.\n"
    "\n"
    "Esito: 0 fatto, 1 errore durante la lettura o la scrittura, 2 uso o dati errati.\n";

const char* const AiutoDemo =
    "Uso: brovato5 demo DIR\n"
    "\n"
    "Crea la cartella DIR (che non deve esistere o deve essere vuota) con un\n"
    "archivio dimostrativo completo: due hotel, camere, ospiti, prenotazioni,\n"
    "addebiti e agenzie datati attorno alla settimana corrente.\n";

const char* const AiutoStampa =
    "Uso: brovato5 stampa --hotel H --destinazione NOME [--compressa] [--orizzontale]\n"
    "                     [--fronte-retro] [--stampante STAMPANTE] [--pdf FILE]\n"
    "                     [--tableau T] [--data GG/MM/AAAA]\n"
    "\n"
    "Stampa il report (file FD seguito da PCLocal) come il pulsante di stampa del\n"
    "menu: NOME e' la destinazione della tabella Stampanti, H l'hotel corrente\n"
    "(lunghezza della pagina; 0 vale 1). Va eseguito nella cartella dei dati.\n"
    "  --compressa, --orizzontale, --fronte-retro  le opzioni del menu\n"
    "  --stampante  stampante installata scelta al posto di quella della destinazione\n"
    "  --pdf FILE   la stampa tramite driver va nel file PDF indicato\n"
    "  --tableau T, --data GG/MM/AAAA  il tableau e il primo giorno della settimana\n"
    "               nell'intestazione delle pagine stampate tramite driver; senza\n"
    "               --data la settimana e' quella della prima riga del report\n"
    "Senza stampanti installate la stampa tramite driver va in doc/fd...pdf; il\n"
    "nome del PDF creato e' scritto sull'uscita.\n"
    "\n"
    "Esito: 0 fatto, 1 errore durante la stampa (anche una destinazione NOME che\n"
    "la tabella Stampanti non ha: l'errore elenca quelle che ha), 2 uso errato.\n";

const char* const AiutoEsporta =
    "Uso: brovato5 esporta\n"
    "\n"
    "Esporta il report (file FD seguito dal valore di PCLocal) come file delimitato\n"
    "per un foglio di calcolo: fd seguito dal valore di PCLocal e da .csv.\n"
    "Va eseguito nella cartella dei dati. Le tre righe di SeparatoreXLS.txt, se\n"
    "presente, danno il separatore di campo, il separatore decimale e il simbolo\n"
    "di valuta (altrimenti \",\", \".\" e l'euro).\n"
    "\n"
    "Esito: 0 file esportato, 1 errore durante l'esportazione, 2 uso errato.\n";

const char* const AiutoLeggi =
    "Uso: brovato5 leggi FILE TABELLA\n"
    "\n"
    "Scrive sullo standard output la tabella TABELLA del database FILE come la\n"
    "legge il programma: CSV in UTF-8, una riga d'intestazione con i nomi dei\n"
    "campi, i record nell'ordine dell'archivio; Null e' una cella vuota, i testi\n"
    "sono tra virgolette.\n";

// A usage error: what was wrong, and the command whose help tells the right use.
struct ErroreUso {
    std::string messaggio;
    std::string comando;
};

bool ChiedeAiuto(const std::vector<std::string>& argomenti) {
    for (const auto& a : argomenti)
        if (a == "--help" || a == "-h") return true;
    return false;
}

// Options "--name value" or "--name=value", each given once, names among `ammesse`.
// Names in `facoltative` may be left out.
std::map<std::string, std::string> LeggiOpzioni(const std::vector<std::string>& argomenti,
                                                const std::vector<std::string>& ammesse, const std::string& comando,
                                                const std::vector<std::string>& facoltative = {}) {
    std::map<std::string, std::string> opzioni;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        if (a.rfind("--", 0) != 0) throw ErroreUso{"argomento inatteso: '" + a + "'", comando};
        std::string nome = a.substr(2);
        std::optional<std::string> valore;
        if (const auto uguale = nome.find('='); uguale != std::string::npos) {
            valore = nome.substr(uguale + 1);
            nome.resize(uguale);
        }
        if (std::find(ammesse.begin(), ammesse.end(), nome) == ammesse.end() &&
            std::find(facoltative.begin(), facoltative.end(), nome) == facoltative.end())
            throw ErroreUso{"opzione sconosciuta: '--" + nome + "'", comando};
        if (!valore) {
            if (i + 1 >= argomenti.size()) throw ErroreUso{"manca il valore di --" + nome, comando};
            valore = argomenti[++i];
        }
        if (!opzioni.emplace(nome, *valore).second) throw ErroreUso{"opzione ripetuta: --" + nome, comando};
    }
    for (const auto& nome : ammesse)
        if (!opzioni.count(nome)) throw ErroreUso{"manca l'opzione --" + nome, comando};
    return opzioni;
}

// A code of hotel or tableau: a whole number of the 16-bit range.
std::int16_t Codice(const std::string& testo, const std::string& opzione, const std::string& comando = "tableau") {
    std::int16_t n = 0;
    const auto [fine, esito] = std::from_chars(testo.data(), testo.data() + testo.size(), n);
    if (testo.empty() || esito != std::errc() || fine != testo.data() + testo.size())
        throw ErroreUso{"valore non valido per --" + opzione + ": '" + testo + "'", comando};
    return n;
}

// Removes the switch "--nome" from `argomenti`; true when it was there.
bool TogliInterruttore(std::vector<std::string>& argomenti, const std::string& nome) {
    const auto fine = std::remove(argomenti.begin(), argomenti.end(), "--" + nome);
    const bool trovato = fine != argomenti.end();
    argomenti.erase(fine, argomenti.end());
    return trovato;
}

// The week asked for by the options of "tableau" and "quadro".
struct SettimanaRichiesta {
    std::int16_t hotel = 0;
    std::int16_t tableau = 0;
    std::string prima, ultima, data;
};

// The week of `opzioni` with the checks of the main window's "&Stampa", on
// the texts as typed; nothing, and the message written on `err`, when they fail.
std::optional<SettimanaRichiesta> LeggiSettimana(std::map<std::string, std::string>& opzioni,
                                                 const std::string& comando, std::ostream& err) {
    SettimanaRichiesta richiesta{Codice(opzioni["hotel"], "hotel", comando),
                                 Codice(opzioni["tableau"], "tableau", comando), Utf8ToCp1252(opzioni["dalla"]),
                                 Utf8ToCp1252(opzioni["alla"]), Utf8ToCp1252(opzioni["data"])};
    if (richiesta.ultima < richiesta.prima) {
        err << "Controllare l'intervallo di camere richiesto!\n";
        return std::nullopt;
    }
    if (!ControllaData(richiesta.data)) {
        err << "La data deve essere inserita \nnel formato gg/mm/aaaa\n";
        return std::nullopt;
    }
    return richiesta;
}

int Tableau(const std::vector<std::string>& argomenti, const OpzioniAvvio& avvio, std::ostream& out,
            std::ostream& err) {
    if (ChiedeAiuto(argomenti)) {
        out << AiutoTableau;
        return 0;
    }
    auto opzioni = LeggiOpzioni(argomenti, {"hotel", "tableau", "dalla", "alla", "data"}, "tableau");
    const auto richiesta = LeggiSettimana(opzioni, "tableau", err);
    if (!richiesta) return EsitoUso;
    RiempiTabelleComuni();
    UltimaCostruzione costruzione;
    CreaTableau(costruzione, ContestoDiAvvio(avvio), richiesta->hotel, richiesta->tableau, richiesta->prima,
                richiesta->ultima, richiesta->data);
    return 0;
}

int Quadro(std::vector<std::string> argomenti, const OpzioniAvvio& avvio, std::ostream& out, std::ostream& err,
           const DisegnoPdfQuadro& disegnoPdf) {
    if (ChiedeAiuto(argomenti)) {
        out << AiutoQuadro;
        return 0;
    }
    const bool a3 = TogliInterruttore(argomenti, "a3");
    auto opzioni = LeggiOpzioni(argomenti, {"hotel", "tableau", "dalla", "alla", "data"}, "quadro", {"json", "pdf"});
    const bool json = opzioni.count("json") != 0;
    const bool pdf = opzioni.count("pdf") != 0;
    if (!json && !pdf) throw ErroreUso{"indicare --json FILE, --pdf FILE o entrambi", "quadro"};
    if (a3 && !pdf) throw ErroreUso{"--a3 vale solo con --pdf", "quadro"};
    const auto richiesta = LeggiSettimana(opzioni, "quadro", err);
    if (!richiesta) return EsitoUso;
    if (pdf && !disegnoPdf)
        throw Errore(NumeroErrore::ErroreStampante,
                     "Impossibile scrivere il PDF: questo programma non disegna il tableau a video.");
    const Contesto contesto = ContestoDiAvvio(avvio);
    // Both files are checked before the week is read.
    std::optional<FileDiStampa> fileJson, filePdf;
    if (json) fileJson = RisolviFileDiStampa(contesto, opzioni["json"], true);
    if (pdf) filePdf = RisolviFileDiStampa(contesto, opzioni["pdf"], true);
    RiempiTabelleComuni();
    UltimaCostruzione costruzione;
    Avanzamento nessuno;
    const Settimana settimana = CostruisciSettimana(costruzione, contesto, richiesta->hotel, richiesta->tableau,
                                                    richiesta->prima, richiesta->ultima, richiesta->data, nessuno);
    if (fileJson) {
        ScriviFileIntero(fileJson->cartella, fileJson->nome, "il file JSON", JsonSettimana(settimana),
                         Sostituzione::SoloFile);
        out << fileJson->mostrato << "\n";
    }
    if (filePdf) {
        ScriviFileIntero(filePdf->cartella, filePdf->nome, "il file PDF", disegnoPdf(settimana, a3),
                         Sostituzione::SoloFile);
        out << filePdf->mostrato << "\n";
    }
    return 0;
}

int Demo(const std::vector<std::string>& argomenti, std::ostream& out) {
    if (ChiedeAiuto(argomenti)) {
        out << AiutoDemo;
        return 0;
    }
    if (argomenti.size() != 1 || argomenti[0].rfind("--", 0) == 0)
        throw ErroreUso{"indicare una sola cartella", "demo"};
    CreaDatiDemo(argomenti[0], DataOdierna());
    out << "Archivio dimostrativo creato in " << argomenti[0] << "\n";
    return 0;
}

int Stampa(std::vector<std::string> argomenti, const OpzioniAvvio& avvio, std::ostream& out,
           const FabbricaStampante& fabbricaStampante) {
    if (ChiedeAiuto(argomenti)) {
        out << AiutoStampa;
        return 0;
    }
    SceltaStampa scelta;
    scelta.compressa = TogliInterruttore(argomenti, "compressa");
    scelta.orizzontale = TogliInterruttore(argomenti, "orizzontale");
    scelta.fronteRetro = TogliInterruttore(argomenti, "fronte-retro");
    auto opzioni =
        LeggiOpzioni(argomenti, {"hotel", "destinazione"}, "stampa", {"stampante", "pdf", "tableau", "data"});
    // As the print menu does: no hotel chosen (0) prints with hotel 1's page length.
    const std::int16_t hotel = HotelDiStampa(Codice(opzioni["hotel"], "hotel", "stampa"));
    if (opzioni.count("tableau")) scelta.tableau.codice = Codice(opzioni["tableau"], "tableau", "stampa");
    if (opzioni.count("data")) {
        std::string data = Utf8ToCp1252(opzioni["data"]);
        if (!ControllaData(data))
            throw ErroreUso{"valore non valido per --data: '" + opzioni["data"] + "' (gg/mm/aaaa)", "stampa"};
        scelta.tableau.primoGiorno = data;
    }
    scelta.destinazione = Utf8ToCp1252(opzioni["destinazione"]);
    scelta.stampante = Utf8ToCp1252(opzioni["stampante"]);
    scelta.filePdf = Utf8ToCp1252(opzioni["pdf"]);
    const Contesto contesto = ContestoDiAvvio(avvio);
    scelta.codiceAssistenza = CodiceAssistenza(contesto.cartella);
    if (!fabbricaStampante)
        throw Errore(NumeroErrore::ErroreStampante, "Impossibile stampare: questo programma non ha accesso alle stampanti.");
    const auto stampante = fabbricaStampante();
    const EsitoStampa esito = StampaReport(contesto, scelta, hotel, *stampante);
    if (!esito.filePdf.empty()) out << Cp1252ToUtf8(esito.filePdf) << "\n";
    return 0;
}

int Esporta(const std::vector<std::string>& argomenti, const OpzioniAvvio& avvio, std::ostream& out) {
    if (ChiedeAiuto(argomenti)) {
        out << AiutoEsporta;
        return 0;
    }
    if (!argomenti.empty()) throw ErroreUso{"argomento inatteso: '" + argomenti[0] + "'", "esporta"};
    const Contesto contesto = ContestoDiAvvio(avvio);
    ConvertiXLS(contesto, NomeFileReport(contesto.postazione));
    return 0;
}

int Leggi(const std::vector<std::string>& argomenti, std::ostream& out) {
    if (ChiedeAiuto(argomenti)) {
        out << AiutoLeggi;
        return 0;
    }
    if (argomenti.size() != 2) throw ErroreUso{"indicare il file e la tabella", "leggi"};
    ScriviTabellaCsv(ApriArchivio(argomenti[0])->LeggiTabella(Utf8ToCp1252(argomenti[1])), out);
    return 0;
}

int Esegui(const std::vector<std::string>& argomenti, const OpzioniAvvio& avvio, std::ostream& out,
           std::ostream& err, const FabbricaStampante& stampante, const DisegnoPdfQuadro& pdfQuadro) {
    if (argomenti.empty()) throw ErroreUso{"manca il comando", ""};
    const std::string& comando = argomenti[0];
    const std::vector<std::string> resto(argomenti.begin() + 1, argomenti.end());
    if (comando == "--help" || comando == "-h" || comando == "help") {
        out << AiutoGenerale;
        return 0;
    }
    if (comando == "tableau") return Tableau(resto, avvio, out, err);
    if (comando == "quadro") return Quadro(resto, avvio, out, err, pdfQuadro);
    if (comando == "demo") return Demo(resto, out);
    if (comando == "stampa") return Stampa(resto, avvio, out, stampante);
    if (comando == "esporta") return Esporta(resto, avvio, out);
    if (comando == "leggi") return Leggi(resto, out);
    throw ErroreUso{"comando sconosciuto: '" + comando + "'", ""};
}

}  // namespace

int EseguiComando(const std::vector<std::string>& argomenti, const OpzioniAvvio& opzioni, std::ostream& out,
                  std::ostream& err, const FabbricaStampante& stampante, const DisegnoPdfQuadro& pdfQuadro) {
    try {
        return Esegui(argomenti, opzioni, out, err, stampante, pdfQuadro);
    } catch (const ErroreUso& e) {
        err << "brovato5: " << e.messaggio << "\n"
            << "Per l'uso: brovato5 " << (e.comando.empty() ? "" : e.comando + " ") << "--help\n";
        return EsitoUso;
    } catch (const Errore& e) {
        err << e.Testo() << "\n";
        return EsitoErrore;
    } catch (const std::system_error& e) {
        err << TestoErrore(e) << "\n";
        return EsitoErrore;
    } catch (const std::bad_alloc& e) {
        err << TestoErrore(e) << "\n";
        return EsitoErrore;
    } catch (const std::exception& e) {
        err << "Errore: " << e.what() << "\n";
        return EsitoErrore;
    }
}
