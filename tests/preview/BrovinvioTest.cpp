#include <gtest/gtest.h>
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

// Runs the mailer in the current folder; its exit status and what it wrote on stderr.
std::pair<int, std::string> Brovinvio() {
    return EseguiConErrori((fs::path(BROVATO5_ESEGUIBILE).parent_path() / "brovinvio").string());
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

}  // namespace

TEST_F(BrovinvioSmtp, ConsegnaIlTestoAlServerSmtp) {
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it, b@prova.it"));
    ScriviFile("e-mail3.txt", FileMail);
    EXPECT_EQ(Brovinvio(), std::make_pair(0, std::string()));
    EXPECT_EQ(server_.Messaggio(1), MessaggioRicevuto);
    EXPECT_EQ(LeggiFile("e-mail3.txt"), FileMail);
}

TEST_F(BrovinvioSmtp, UnInvioFallitoTieneIlFileMail) {
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it"));
    const auto senzaFile = Brovinvio();
    EXPECT_EQ(senzaFile.first, 1);
    EXPECT_NE(senzaFile.second.find("manca il file e-mail3.txt"), std::string::npos) << senzaFile.second;

    ScriviFile("e-mail3.txt", FileMail);
    for (const auto& [impostazioni, motivo] : std::vector<std::pair<std::string, std::string>>{
             {Impostazioni(server_, "nessuna", "a@prova.it, rifiutato@prova.it"), "550"},
             {Impostazioni(server_, "starttls", "a@prova.it"), "STARTTLS"},
             {Impostazioni(server_, "nessuna", "a@prova.it") + "porta = 25\r\n", "porta"}}) {
        ScriviFile("PostaElettronica.txt", impostazioni);
        const auto esito = Brovinvio();
        EXPECT_EQ(esito.first, 1);
        EXPECT_NE(esito.second.find(motivo), std::string::npos) << esito.second;
    }
    EXPECT_EQ(server_.Messaggio(1), "");
    EXPECT_EQ(LeggiFile("e-mail3.txt"), FileMail);
}

// TLS from the start and STARTTLS with a login, against a server whose
// self-signed certificate is trusted only through "certificati".
TEST_F(BrovinvioSenzaDesktop, CifraELoginVerificandoIlCertificato) {
    ASSERT_EQ(EseguiConErrori("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
                              "-keyout chiave.pem -out certificato.pem -days 1 -subj /CN=localhost "
                              "-addext subjectAltName=IP:127.0.0.1,DNS:localhost")
                  .first,
              0);
    const std::string certificato = fs::absolute("certificato.pem").string();
    const std::string chiave = fs::absolute("chiave.pem").string();
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

TEST(Brovinvio, SenzaImpostazioniApreIlProgrammaDiPosta) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", nullptr);
    // A stand-in for the desktop's xdg-email that records its arguments.
    ScriviFile("xdg-email", "#!/bin/sh\nprintf '%s|' \"$@\" > argomenti.txt\n");
    fs::permissions("xdg-email", fs::perms::owner_all);
    VariabileAmbiente path("PATH", (fs::current_path().string() + ":" + std::getenv("PATH")).c_str());
    ScriviFile("e-mail.txt", "OGGETTO\r\nCamera 101 caff\xE8\r\n");
    EXPECT_EQ(Brovinvio().first, 0);
    EXPECT_EQ(LeggiFile("argomenti.txt"), "--utf8|--subject|Tableau settimanale|--body|Camera 101 caffè\n|");
}
