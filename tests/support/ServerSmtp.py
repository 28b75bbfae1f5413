"""SMTP server on the loopback address for the mailer's tests.

Usage: python3 ServerSmtp.py FOLDER

Listens on a free port of 127.0.0.1 and, once it accepts connections, writes
the port number into FOLDER/porta. Every message it receives is saved as
FOLDER/messaggio-N.txt in UTF-8: the sender, the recipients (joined by ", ")
and the decoded subject on one line each, then the decoded text. Recipients
whose address begins with "rifiutato" are refused with code 550. Runs until
it is terminated.
"""
import email
import email.policy
import os
import signal
import socket
import sys

from aiosmtpd.controller import Controller


class Registro:
    def __init__(self, cartella):
        self.cartella = cartella
        self.ricevuti = 0

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
            file.write(messaggio.get_content())
        return "250 Messaggio accettato"


def PortaLibera():
    with socket.socket() as prova:
        prova.bind(("127.0.0.1", 0))
        return prova.getsockname()[1]


def main():
    cartella = sys.argv[1]
    porta = PortaLibera()
    server = Controller(Registro(cartella), hostname="127.0.0.1", port=porta)
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
