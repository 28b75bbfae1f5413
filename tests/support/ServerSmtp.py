"""SMTP server on the loopback address for the mailer's tests.

Usage: python3 ServerSmtp.py FOLDER [--starttls CERTIFICATE KEY | --tls CERTIFICATE KEY]
                               [--login USER PASSWORD]

Listens on a free port of 127.0.0.1 and, once it accepts connections, writes
the port number into FOLDER/porta. Every message it receives is saved as
FOLDER/messaggio-N.txt in UTF-8: the sender, the recipients (joined by ", ")
and the decoded subject on one line each, then the decoded text, then for a
message with attachments a line "[allegato NAME TYPE SIZE byte]" for each,
whose bytes are saved as FOLDER/allegato-N-NAME. A sender or
recipients whose address begins with "rifiutato" are refused with code 550.
Runs until it is terminated.

--starttls offers STARTTLS and refuses mail before it; --tls speaks TLS from
the first byte. Both present the certificate of the PEM files CERTIFICATE and
KEY. --login requires AUTH LOGIN or PLAIN with that user and password before
any mail.
"""
import argparse
import email
import email.policy
import logging
import os
import signal
import socket
import ssl
import sys
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


class Registro:
    def __init__(self, cartella):
        self.cartella = cartella
        self.ricevuti = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if address.startswith("rifiutato"):
            return "550 Mittente rifiutato"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("rifiutato"):
            return "550 Destinatario rifiutato"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        messaggio = email.message_from_bytes(envelope.content, policy=email.policy.default)
        self.ricevuti += 1
        with open(os.path.join(self.cartella, f"messaggio-{self.ricevuti}.txt"), "w", encoding="utf-8",
                  newline="") as file:
            file.write(f"{envelope.mail_from}\n{', '.join(envelope.rcpt_tos)}\n{messaggio['Subject']}\n")
            if not messaggio.is_multipart():
                file.write(messaggio.get_content())
                return "250 Messaggio accettato"
            file.write(messaggio.get_body(preferencelist=("plain",)).get_content())
            for parte in messaggio.iter_attachments():
                dati = parte.get_payload(decode=True)
                nome = parte.get_filename()
                with open(os.path.join(self.cartella, f"allegato-{self.ricevuti}-{nome}"), "wb") as allegato:
                    allegato.write(dati)
                file.write(f"[allegato {nome} {parte.get_content_type()} {len(dati)} byte]\n")
        return "250 Messaggio accettato"


def PortaLibera():
    with socket.socket() as prova:
        prova.bind(("127.0.0.1", 0))
        return prova.getsockname()[1]


def Argomenti():
    parser = argparse.ArgumentParser()
    parser.add_argument("cartella")
    cifratura = parser.add_mutually_exclusive_group()
    cifratura.add_argument("--starttls", nargs=2, metavar=("CERTIFICATO", "CHIAVE"))
    cifratura.add_argument("--tls", nargs=2, metavar=("CERTIFICATO", "CHIAVE"))
    parser.add_argument("--login", nargs=2, metavar=("UTENTE", "PASSWORD"))
    return parser.parse_args()


def ContestoTls(certificato, chiave):
    contesto = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    contesto.load_cert_chain(certificato, chiave)
    return contesto


def Opzioni(argomenti):
    opzioni = {}
    if argomenti.starttls:
        opzioni.update(tls_context=ContestoTls(*argomenti.starttls), require_starttls=True)
    if argomenti.tls:
        # aiosmtpd counts only STARTTLS as encryption when it offers AUTH.
        opzioni.update(ssl_context=ContestoTls(*argomenti.tls), auth_require_tls=False)
    if argomenti.login:
        credenziali = tuple(valore.encode() for valore in argomenti.login)

        def Verifica(server, session, envelope, mechanism, auth_data):
            return AuthResult(success=(auth_data.login, auth_data.password) == credenziali, handled=False)

        opzioni.update(authenticator=Verifica, auth_required=True)
    return opzioni


def main():
    # The tests' output without aiosmtpd's advice on AUTH over implicit TLS.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    argomenti = Argomenti()
    cartella = argomenti.cartella
    porta = PortaLibera()
    server = Controller(Registro(cartella), hostname="127.0.0.1", port=porta, **Opzioni(argomenti))
    server.start()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        with open(os.path.join(cartella, "porta.tmp"), "w") as file:
            file.write(str(porta))
        os.rename(os.path.join(cartella, "porta.tmp"), os.path.join(cartella, "porta"))
        signal.pause()
    finally:
        server.stop()


main()
