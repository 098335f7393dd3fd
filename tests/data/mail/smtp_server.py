"""A real SMTP server for the mail tests (aiosmtpd on 127.0.0.1).

Prints "PORT <n>" once it listens on a free port, then records every
delivered message as one JSON line in --out: envelope, the decoded AUTH
credentials and the session transcript (client lines and server replies).
Every session, also one that delivered nothing, is recorded with its
transcript in --out + ".sessions" when its connection ends.
It stops when its standard input closes or after --lifetime seconds.
"""
import argparse
import asyncio
import email
import email.policy
import json
import logging
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class ReaderProxy:
    """Wraps the stream reader so that every client line is recorded."""

    def __init__(self, reader, transcript):
        self._reader = reader
        self._transcript = transcript

    def __getattr__(self, name):
        return getattr(self._reader, name)

    async def readline(self):
        line = await self._reader.readline()
        self._transcript.append(["C", line.decode("latin-1")])
        return line

    async def readuntil(self, separator=b"\n"):
        line = await self._reader.readuntil(separator)
        self._transcript.append(["C", line.decode("latin-1")])
        return line


class RecordingSMTP(SMTP):
    def __init__(self, *args, data_delay=0.0, **kwargs):
        super().__init__(*args, **kwargs)
        self.transcript = []
        self.data_delay = data_delay

    def connection_made(self, transport):
        super().connection_made(transport)
        self._reader = ReaderProxy(self._reader, self.transcript)

    async def push(self, status):
        text = status if isinstance(status, str) else status.decode("latin-1")
        self.transcript.append(["S", text])
        await super().push(status)

    async def smtp_DATA(self, arg):
        if self.data_delay:
            await asyncio.sleep(self.data_delay)
        await super().smtp_DATA(arg)

    def connection_lost(self, error):
        with open(self.event_handler.out + ".sessions", "a", encoding="utf-8") as f:
            f.write(json.dumps({"transcript": list(self.transcript)}) + "\n")
        super().connection_lost(error)


class Handler:
    def __init__(self, out, reject, refuse_starttls):
        self.out = out
        self.reject = set(a.lower() for a in reject)
        self.refuse_starttls = refuse_starttls

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        if self.refuse_starttls:
            # Listed, but the server has no certificate: STARTTLS is refused.
            responses.insert(len(responses) - 1, "250-STARTTLS")
        return responses

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.reject:
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        auth = session.auth_data
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "data": envelope.original_content.decode("latin-1"),
            "login": auth.login.decode("latin-1") if isinstance(auth, LoginPassword) else None,
            "password": auth.password.decode("latin-1") if isinstance(auth, LoginPassword) else None,
            "transcript": list(server.transcript),
        }
        # An independent reading of the message: headers decoded, body decoded.
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        record["header_names"] = list(message.keys())
        record["headers"] = {k: str(v) for k, v in message.items()}
        record["body_hex"] = (message.get_payload(decode=True) or b"").hex()
        record["charset"] = message.get_content_charset()
        with open(self.out, "a", encoding="utf-8") as f:
            f.write(json.dumps(record) + "\n")
        return "250 Message accepted"


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login.decode() == user
              and auth_data.password.decode() == password)
        return AuthResult(success=ok, handled=False, auth_data=auth_data if ok else None)
    return authenticate


async def main():
    warnings.simplefilter("ignore")
    logging.disable(logging.CRITICAL)
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--reject", action="append", default=[])
    parser.add_argument("--data-delay", type=float, default=0.0)
    parser.add_argument("--lifetime", type=float, default=120.0)
    parser.add_argument("--plain-only", action="store_true", help="offer AUTH PLAIN but not LOGIN")
    parser.add_argument("--tls-cert", help="offer STARTTLS with this certificate (and --tls-key)")
    parser.add_argument("--tls-key")
    parser.add_argument("--refuse-starttls", action="store_true", help="list STARTTLS but refuse it")
    args = parser.parse_args()

    handler = Handler(args.out, args.reject, args.refuse_starttls)
    kwargs = {"decode_data": False, "hostname": "tarvo-test.local"}
    if args.user:
        kwargs.update(authenticator=make_authenticator(args.user, args.password or ""),
                      auth_require_tls=False, auth_required=True)
        if args.plain_only:
            kwargs["auth_exclude_mechanism"] = ["LOGIN"]
    if args.tls_cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        kwargs["tls_context"] = context
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: RecordingSMTP(handler, data_delay=args.data_delay, **kwargs), "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    print(f"PORT {port}", flush=True)

    stop = loop.create_future()
    loop.add_reader(sys.stdin.fileno(), lambda: stop.done() or (sys.stdin.buffer.read1(1024) or stop.set_result(None)))
    try:
        await asyncio.wait_for(stop, args.lifetime)
    except asyncio.TimeoutError:
        pass
    server.close()


if __name__ == "__main__":
    asyncio.run(main())
