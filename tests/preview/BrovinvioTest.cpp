#include <gtest/gtest.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/Supporto.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The SMTP server of tests/support/ServerSmtp.py on a free port of the
// loopback address, stopped at the end of the test. Debian's interpreter runs
// it: python3-aiosmtpd is installed for that one.
class ServerSmtp {
public:
    // `opzioni`: the script's options (--starttls, --tls, --login and their values).
    explicit ServerSmtp(std::vector<std::string> opzioni = {}) {
        opzioni.insert(opzioni.begin(), {"/usr/bin/python3",
                                         (CartellaDatiTest().parent_path() / "support" / "ServerSmtp.py").string(),
                                         cartella_.Percorso().string()});
        std::vector<char*> argv;
        for (auto& opzione : opzioni) argv.push_back(opzione.data());
        argv.push_back(nullptr);
        const std::string& python = opzioni.front();
        if (posix_spawn(&pid_, python.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("impossibile avviare " + python);
        const fs::path porta = cartella_.Percorso() / "porta";
        for (int attese = 0; !fs::exists(porta); ++attese) {
            if (attese == 200 || waitpid(pid_, nullptr, WNOHANG) != 0) {
                Ferma();
                throw std::runtime_error("il server SMTP di prova non parte (manca python3-aiosmtpd?)");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        porta_ = LeggiFile(porta);
    }
    ~ServerSmtp() { Ferma(); }
    ServerSmtp(const ServerSmtp&) = delete;
    ServerSmtp& operator=(const ServerSmtp&) = delete;

    const std::string& Porta() const { return porta_; }

    // The n-th message received as the server saved it; "" when there is none.
    std::string Messaggio(int n) const {
        const fs::path file = cartella_.Percorso() / ("messaggio-" + std::to_string(n) + ".txt");
        return fs::exists(file) ? LeggiFile(file) : "";
    }
    // The bytes of the attachment `nome` of the n-th message.
    std::string Allegato(int n, const std::string& nome) const {
        return LeggiFile(cartella_.Percorso() / ("allegato-" + std::to_string(n) + "-" + nome));
    }

private:
    void Ferma() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

    CartellaTemporanea cartella_;
    pid_t pid_ = 0;
    std::string porta_;
};

// Runs the mailer in the current folder with `argomenti`; its exit status and what it wrote on stderr.
std::pair<int, std::string> Brovinvio(const std::string& argomenti = "") {
    return EseguiConErrori((fs::path(BROVATO5_ESEGUIBILE).parent_path() / "brovinvio").string() + " " + argomenti);
}

// A PDF to attach: every byte value, over several lines of base64.
std::string FilePdf() {
    std::string byte = "%PDF-1.4\n";
    for (int i = 0; i < 1000; ++i) byte += static_cast<char>(i % 256);
    return byte;
}

// A self-signed certificate `nome`.pem, its key `nome`-chiave.pem, for `altroNome` (IP:... or DNS:...).
void Certificato(const std::string& nome, const std::string& altroNome) {
    ASSERT_EQ(EseguiConErrori("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout " +
                              nome + "-chiave.pem -out " + nome + ".pem -days 1 -subj /CN=localhost -addext "
                              "subjectAltName=" + altroNome).first, 0);
}

// A shell script `nome` in the current folder that runs `corpo`.
void ProgrammaFinto(const std::string& nome, const std::string& corpo) {
    ScriviFile(nome, "#!/bin/sh\n" + corpo + "\n");
    fs::permissions(nome, fs::perms::owner_all);
}

std::string Impostazioni(const ServerSmtp& server, const std::string& sicurezza, const std::string& destinatari) {
    return "# server di prova\r\nserver = 127.0.0.1\r\nporta = " + server.Porta() + "\r\nsicurezza = " + sicurezza +
           "\r\nmittente = tableau@prova.it\r\ndestinatari = " + destinatari + "\r\noggetto = Tableau città\r\n";
}

// The preview's mail file, Windows-1252: accents, a line of the report with a
// blank at its end, a line beginning with a point.
const std::string RigaLunga = std::string(131, 'x') + " ";
const std::string FileMail = "OGGETTO\r\nCamera 101 caff\xE8\r\n" + RigaLunga + "\r\n.\r\n";

// What the server saves of the mail file sent to a@prova.it and b@prova.it.
const std::string MessaggioRicevuto = "tableau@prova.it\na@prova.it, b@prova.it\nTableau città\n"
                                      "Camera 101 caffè\r\n" + RigaLunga + "\r\n.\r\n";

class BrovinvioSenzaDesktop : public testing::Test {
protected:
    CartellaTemporanea cartella_{true};
    VariabileAmbiente postazione_{"PCLocal", "3"};
    // No desktop: the mailer tells its outcome on stderr only.
    VariabileAmbiente display_{"DISPLAY", nullptr};
    VariabileAmbiente wayland_{"WAYLAND_DISPLAY", nullptr};
};

class BrovinvioSmtp : public BrovinvioSenzaDesktop {
protected:
    ServerSmtp server_;
};

// No PostaElettronica.txt; stand-ins for the desktop: a mail client is there,
// and xdg-email records its arguments.
class BrovinvioSenzaImpostazioni : public BrovinvioSenzaDesktop {
protected:
    BrovinvioSenzaImpostazioni() {
        ProgrammaFinto("xdg-mime", "echo thunderbird.desktop");
        ProgrammaFinto("xdg-email", "printf '%s|' \"$@\" > argomenti.txt");
    }
    VariabileAmbiente path_{"PATH", (fs::current_path().string() + ":" + std::getenv("PATH")).c_str()};
};

}  // namespace

TEST_F(BrovinvioSmtp, AllegaUnFileDellaCartellaDeiDati) {
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it, b@prova.it"));
    ScriviFile("e-mail3.txt", FileMail);
    fs::create_directory("doc");
    ScriviFile("doc/quadro3202612071830.pdf", FilePdf());
    EXPECT_EQ(Brovinvio("--allega doc/quadro3202612071830.pdf"), std::make_pair(0, std::string()));
    EXPECT_EQ(server_.Messaggio(1),
              MessaggioRicevuto + "[allegato quadro3202612071830.pdf application/pdf 1009 byte]\n");
    EXPECT_EQ(server_.Allegato(1, "quadro3202612071830.pdf"), FilePdf());

    fs::create_symlink(fs::absolute("PostaElettronica.txt"), "doc/collegato.pdf");
    for (const auto& [allegato, motivo] : std::vector<std::pair<std::string, std::string>>{
             {"../quadro.pdf", "va indicato dentro la cartella dei dati"},
             {"/etc/passwd", "va indicato dentro la cartella dei dati"},
             {"doc/manca.pdf", "Manca il file da allegare doc/manca.pdf"},
             {"doc/collegato.pdf", "collegamento simbolico"}}) {
        const auto [esito, errori] = Brovinvio("--allega " + allegato);
        EXPECT_EQ(esito, 1) << allegato;
        EXPECT_NE(errori.find(motivo), std::string::npos) << errori;
    }
    EXPECT_EQ(Brovinvio("--allega").first, 2);
    EXPECT_EQ(server_.Messaggio(2), "");
}

// TLS from the start and STARTTLS with a login, against a server whose
// self-signed certificate is trusted only through "certificati".
TEST_F(BrovinvioSenzaDesktop, CifraELoginVerificandoIlCertificato) {
    ASSERT_NO_FATAL_FAILURE(Certificato("certificato", "IP:127.0.0.1,DNS:localhost"));
    const std::string certificato = fs::absolute("certificato.pem").string();
    const std::string chiave = fs::absolute("certificato-chiave.pem").string();
    ScriviFile("e-mail3.txt", FileMail);
    struct Caso {
        std::string sicurezza, password;
        bool fidato;         // the certificate named by "certificati"
        std::string motivo;  // in the error of a sending that fails; "" when it succeeds
    };
    for (const auto& caso : std::vector<Caso>{{"starttls", "segreta", true, ""},
                                              {"tls", "segreta", true, ""},
                                              {"starttls", "sbagliata", true, "Login denied"},
                                              {"tls", "segreta", false, "certificate"}}) {
        SCOPED_TRACE(caso.sicurezza + " " + caso.password + (caso.fidato ? " fidato" : ""));
        const ServerSmtp server({"--" + caso.sicurezza, certificato, chiave, "--login", "tableau", "segreta"});
        std::string impostazioni = Impostazioni(server, caso.sicurezza, "a@prova.it, b@prova.it") +
                                   "utente = tableau\r\npassword = " + caso.password + "\r\n";
        if (caso.fidato) impostazioni += "certificati = " + certificato + "\r\n";
        ScriviFile("PostaElettronica.txt", impostazioni);
        const auto [esito, errori] = Brovinvio();
        const bool riuscito = caso.motivo.empty();
        EXPECT_EQ(esito, riuscito ? 0 : 1);
        EXPECT_TRUE(riuscito ? errori.empty() : errori.find(caso.motivo) != std::string::npos) << errori;
        EXPECT_EQ(server.Messaggio(1), riuscito ? MessaggioRicevuto : "");
        EXPECT_EQ(LeggiFile("e-mail3.txt"), FileMail);
    }
}

TEST_F(BrovinvioSenzaImpostazioni, ApreIlProgrammaDiPosta) {
    VariabileAmbiente postazione("PCLocal", nullptr);
    ScriviFile("e-mail.txt", "OGGETTO\r\nCamera 101 caff\xE8\r\n");
    EXPECT_EQ(Brovinvio().first, 0);
    EXPECT_EQ(LeggiFile("argomenti.txt"), "--utf8|--subject|Tableau settimanale|--body|Camera 101 caffè\n|");

    fs::create_directory("doc");
    ScriviFile("doc/quadro.pdf", FilePdf());
    EXPECT_EQ(Brovinvio("--allega doc/quadro.pdf").first, 0);
    EXPECT_EQ(LeggiFile("argomenti.txt"), "--utf8|--subject|Tableau settimanale|--body|Camera 101 caffè\n|--attach|" +
                                              fs::absolute("doc/quadro.pdf").string() + "|");
}

// Run by cron or in a locked session: no display that answers, stderr a file.
// The mail goes, the outcome is in the output, no box is tried.
TEST_F(BrovinvioSmtp, SenzaSchermoRaggiungibileNonSiInterrompe) {
    VariabileAmbiente piattaforma("QT_QPA_PLATFORM", nullptr);
    VariabileAmbiente esitoMostrato("BROVATO5_MOSTRA_ESITO", nullptr);
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it"));
    ScriviFile("e-mail3.txt", FileMail);
    const std::string brovinvio = (fs::path(BROVATO5_ESEGUIBILE).parent_path() / "brovinvio").string();
    int inviati = 0;
    for (const char* display : {static_cast<const char*>(nullptr), "", ":7777"}) {
        SCOPED_TRACE(display ? display : "(nessun DISPLAY)");
        VariabileAmbiente schermo("DISPLAY", display);
        EXPECT_EQ(EseguiConErrori("( " + brovinvio + " > esito.txt 2>&1 )").first, 0);
        EXPECT_EQ(LeggiFile("esito.txt"), "brovinvio: Messaggio inviato a a@prova.it.\n");
        EXPECT_NE(server_.Messaggio(++inviati), "");
    }
}

// Every failure a user can meet says, in Italian, which setting to check.
TEST_F(BrovinvioSenzaDesktop, MotiviDelFallimentoInItaliano) {
    ASSERT_NO_FATAL_FAILURE(Certificato("giusto", "IP:127.0.0.1"));
    ASSERT_NO_FATAL_FAILURE(Certificato("altronome", "DNS:posta.altrove.it"));
    const auto tls = [](const std::string& nome) {
        return std::vector<std::string>{"--tls", fs::absolute(nome + ".pem").string(),
                                        fs::absolute(nome + "-chiave.pem").string()};
    };
    const auto fidato = [](const std::string& nome) { return "certificati = " + fs::absolute(nome + ".pem").string(); };
    ScriviFile("e-mail3.txt", FileMail);
    struct Caso {
        std::vector<std::string> server;  // options of the test server
        std::string sicurezza, destinatari, altro;
        std::string motivo;
    };
    for (const auto& caso : std::vector<Caso>{
             {{}, "nessuna", "a@prova.it", "porta = 1", "non risponde sulla porta 1: controllare server e porta"},
             {{}, "starttls", "a@prova.it", "", "non offre la cifratura STARTTLS"},
             {{}, "nessuna", "a@prova.it; rifiutato@prova.it", "", "rifiutato un destinatario: controllare"},
             {{}, "nessuna", "a@prova.it", "mittente = rifiutato@prova.it", "rifiutato il mittente"},
             {tls("giusto"), "tls", "a@prova.it", "", "certificato del server di posta non è fidato"},
             {tls("altronome"), "tls", "a@prova.it", fidato("altronome"), "intestato a un altro nome"}}) {
        SCOPED_TRACE(caso.motivo);
        const ServerSmtp server(caso.server);
        std::string impostazioni = Impostazioni(server, caso.sicurezza, caso.destinatari);
        // A later line wins over the one Impostazioni wrote: the key goes out of it first.
        if (!caso.altro.empty()) {
            const std::string chiave = caso.altro.substr(0, caso.altro.find(' '));
            const auto inizio = impostazioni.find("\r\n" + chiave + " ");
            if (inizio != std::string::npos)
                impostazioni.erase(inizio, impostazioni.find("\r\n", inizio + 2) - inizio);
            impostazioni += caso.altro + "\r\n";
        }
        ScriviFile("PostaElettronica.txt", impostazioni);
        const auto [esito, errori] = Brovinvio();
        EXPECT_EQ(esito, 1);
        EXPECT_TRUE(errori.starts_with("brovinvio: Invio non riuscito: ")) << errori;
        EXPECT_NE(errori.find(caso.motivo), std::string::npos) << errori;
        EXPECT_EQ(server.Messaggio(1), "");
    }
}

// The mail file delivered to the SMTP server, with values as people leave them:
// a CR or a tab inside, recipients separated by ";", no encryption towards
// another machine. The mail file stays, whether the sending goes or fails.
TEST_F(BrovinvioSmtp, ConsegnaValoriDelleImpostazioniEInviiFalliti) {
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it"));
    const auto senzaFile = Brovinvio();
    EXPECT_EQ(senzaFile.first, 1);
    EXPECT_NE(senzaFile.second.find("manca il file e-mail3.txt"), std::string::npos) << senzaFile.second;

    ScriviFile("e-mail3.txt", FileMail);
    ASSERT_EQ(mkfifo("ca.fifo", 0600), 0);
    struct Caso {
        std::string impostazioni;
        std::string errore;  // "" when the mail goes
    };
    std::string altraMacchina = Impostazioni(server_, "nessuna", "a@prova.it");
    altraMacchina.replace(altraMacchina.find("127.0.0.1"), 9, "192.0.2.1");
    for (const auto& caso : std::vector<Caso>{
             {Impostazioni(server_, "nessuna", "a@prova.it, b@prova.it"), ""},
             {Impostazioni(server_, "nessuna", "a@prova.it; b@prova.it"), ""},
             {Impostazioni(server_, "nessuna", "a@prova.it\rBcc: c@prova.it"), "caratteri di controllo"},
             {Impostazioni(server_, "nessuna", "a@prova.it") + "utente = ta\tbleau\r\n", "caratteri di controllo"},
             {altraMacchina, "sicurezza = nessuna vale solo per un server su questo computer"},
             {Impostazioni(server_, "nessuna", "a@prova.it, rifiutato@prova.it"), "550"},
             {Impostazioni(server_, "starttls", "a@prova.it"), "STARTTLS"},
             {Impostazioni(server_, "nessuna", "a@prova.it") + "porta = 25\r\n", "porta"},
             // A FIFO left in the shared folder as the certificates: refused, not waited on.
             {Impostazioni(server_, "nessuna", "a@prova.it") + "certificati = " + fs::absolute("ca.fifo").string() +
                  "\r\n",
              "non è un file"}}) {
        SCOPED_TRACE(caso.impostazioni);
        ScriviFile("PostaElettronica.txt", caso.impostazioni);
        const auto [esito, errori] = Brovinvio();
        EXPECT_EQ(esito, caso.errore.empty() ? 0 : 1);
        EXPECT_TRUE(caso.errore.empty() ? errori.empty() : errori.find(caso.errore) != std::string::npos) << errori;
    }
    EXPECT_EQ(server_.Messaggio(1), MessaggioRicevuto);
    EXPECT_EQ(server_.Messaggio(2), MessaggioRicevuto);
    EXPECT_EQ(server_.Messaggio(3), "");
    EXPECT_EQ(LeggiFile("e-mail3.txt"), FileMail);
}

// Without settings a long text goes to the mail client as an attachment, not
// as an argument too long to start xdg-email; a mail file too large for a
// message is refused.
TEST_F(BrovinvioSenzaImpostazioni, TestoLungoAllegatoFileTroppoGrandeRifiutato) {
    std::string righe;
    for (int i = 0; righe.size() < 200 * 1024; ++i) righe += "Camera " + std::to_string(i) + " caff\xE8\r\n";
    ScriviFile("e-mail3.txt", "OGGETTO\r\n" + righe);
    EXPECT_EQ(Brovinvio(), std::make_pair(0, std::string()));
    const std::string allegato = fs::absolute("tableau3.txt").string();
    EXPECT_EQ(LeggiFile("argomenti.txt"), "--utf8|--subject|Tableau settimanale|--body|Il tableau è nel file "
                                          "allegato tableau3.txt.\n|--attach|" + allegato + "|");
    std::string utf8 = righe;
    for (auto at = utf8.find('\xE8'); at != std::string::npos; at = utf8.find('\xE8', at)) utf8.replace(at, 1, "è");
    EXPECT_EQ(LeggiFile(allegato), utf8);

    ScriviFile("e-mail3.txt", "OGGETTO\r\n" + std::string(3 * 1024 * 1024, 'x'));
    const auto [esito, errori] = Brovinvio();
    EXPECT_EQ(esito, 1);
    EXPECT_NE(errori.find("Il file e-mail3.txt è troppo grande per un messaggio (3072 KiB, al massimo 2048 KiB)"),
              std::string::npos) << errori;
}

// Without settings and without a mail client it says at once what to do, and
// does not run xdg-email (which tries text-mode browsers for some twenty
// seconds); what a failing xdg-email writes follows the outcome as indented
// details, without the terminal's control codes.
TEST_F(BrovinvioSenzaImpostazioni, SenzaProgrammaDiPostaLoDiceSubito) {
    VariabileAmbiente postazione("PCLocal", nullptr);
    ScriviFile("e-mail.txt", "OGGETTO\r\nCamera 101\r\n");
    struct Caso {
        std::string programmaPosta;  // what xdg-mime answers for mailto addresses
        std::string inizio, fine;    // of what the mailer writes
    };
    for (const auto& caso : std::vector<Caso>{
             {"", "brovinvio: Manca PostaElettronica.txt e su questo computer non c'è un programma di posta: "
                  "installarne uno",
              "(vedere man brovinvio).\n"},
             {"thunderbird.desktop", "brovinvio: Il programma di posta non si è aperto",
              "(vedere man brovinvio).\n  Alert!: nessun indirizzo\n  xdg-email: no method\n"}}) {
        SCOPED_TRACE(caso.programmaPosta);
        ProgrammaFinto("xdg-mime", "echo " + caso.programmaPosta);
        ProgrammaFinto("xdg-email", "touch provato\nprintf '\\033[?1049h\\033(BAlert!: nessun indirizzo\\033[0m\\r\\n'\n"
                                    "echo 'xdg-email: no method' >&2\nexit 3");
        const auto inizio = std::chrono::steady_clock::now();
        const auto [esito, errori] = Brovinvio();
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(3));
        EXPECT_EQ(esito, 1);
        EXPECT_TRUE(errori.starts_with(caso.inizio) && errori.ends_with(caso.fine)) << errori;
        EXPECT_EQ(fs::exists("provato"), !caso.programmaPosta.empty());
        fs::remove("provato");
    }
}
