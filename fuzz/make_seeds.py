#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz corpora from the test fixtures (run from anywhere).

Seeds are named seed-*; inputs the fuzzers found worth keeping sit beside them under their
content hashes, and inputs that once crashed a target are kept as crash-* files.
"""
import base64
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures"
CORPUS = ROOT / "fuzz" / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / ("seed-" + name)).write_bytes(data)


def main():
    pages = {p.stem: p.read_bytes() for p in FIXTURES.glob("*.html")}
    garbage = (FIXTURES / "garbage.bin").read_bytes()
    status = pages["status_page"]

    # A whole page as the reader gets it.
    for name, page in pages.items():
        write("fuzz_page", name, page)
    write("fuzz_page", "garbage", garbage)
    write("fuzz_page", "cut-in-a-row", status[: len(status) // 2])
    lines = status.split(b"\n")
    write("fuzz_page", "long-line", b"\n".join(lines[:8] + [b"<p>" + b"x" * 5000 + b"</p>"] + lines[8:]))

    # Single lines of EUC-JP.
    for i, line in enumerate(l for l in lines if any(b >= 0x80 for b in l)):
        if i < 6:
            write("fuzz_euc", "status-line-%d" % i, line)
    write("fuzz_euc", "katakana", b"<p>\x8e\xb1\x8e\xdd</p>")
    write("fuzz_euc", "three-byte", b"\x8f\xb0\xa1\x8f\xa2\xaf")
    write("fuzz_euc", "garbage", garbage[:512])

    # Mode byte 0: any bytes cut anywhere (cut choices first, text second); 1: built markup.
    source = (FIXTURES / "source" / "status_page.html").read_bytes()
    write("fuzz_scanner_chunks", "status-page", b"\x00" + bytes(range(256)) * 4 + source[:1024])
    write("fuzz_scanner_chunks", "garbage", b"\x00" + garbage)
    write("fuzz_scanner_chunks", "built", b"\x01" + garbage[:600])
    # Mode bit 0 clear: the text as it is; set: each byte picks a piece. Cut choices first.
    write("fuzz_scanner_reference", "status-page", b"\x00" + bytes(range(1, 200)) + source[:1500])
    write("fuzz_scanner_reference", "blank-run", b"\x00" + b"\x07" * 40 + b"<td>" + b" " * 3000 + b"80%</td>")
    write("fuzz_scanner_reference", "japanese-run", b"\x00\x3f\x3f" + b"<p>" + "日本語".encode() * 300 + b"</p>")
    write("fuzz_scanner_reference", "mapped", b"\x01" + garbage[:800])

    # Base64 text, also read as two-byte wide characters.
    for name, text in {"padded": b"QQ==", "stored": base64.b64encode(b"\xc2\xca\x9a\xb2"),
                       "stray": b"QU*JD\r\n==x"}.items():
        write("fuzz_base64_password", name, text)
        write("fuzz_base64_password", name + "-wide", text.decode().encode("utf-16-le"))

    # Profiles as a user might leave them.
    profile = ("[application_info]\r\napp_version=2.0.7\r\nreload_cycle=20000\r\n"
               "window_pos_x=4294967196\r\nwindow_pos_y=120\r\napp_startup=1\r\napp_keep_task=0\r\n"
               "\r\n[router_info]\r\nconnect_domain=quirn.home.arpa\r\nconnect_rt_pw=\"wsjC\"\r\n")
    write("fuzz_profile", "complete", profile.encode())
    write("fuzz_profile", "bom-lf", b"\xef\xbb\xbf" + profile.replace("\r\n", "\n").encode())
    write("fuzz_profile", "cp932", ("[router_info]\r\nconnect_domain=ルーター\r\n"
                                    "; note\r\n[Application_Info]\r\n RELOAD_CYCLE = 99999999999\r\n")
          .encode("cp932"))
    write("fuzz_profile", "odd", b"[router_info\nconnect_domain\n=x\n[]\nk==v\n[a]]\n'q'=\"\n")

    # The first byte picks the exchange (bit 7: the router resets), the rest is the response.
    page_response = b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n" + status
    write("fuzz_http_response", "status-200", b"\x00" + page_response)
    write("fuzz_http_response", "status-reset", b"\x80" + page_response[: len(page_response) // 2])
    write("fuzz_http_response", "status-401", b"\x00HTTP/1.1 401 Unauthorized\r\n\r\n<html>401</html>\n")
    write("fuzz_http_response", "top-page", b"\x01" + page_response)
    write("fuzz_http_response", "check", b"\x02HTTP/1.0 200 OK\r\n\r\n")
    write("fuzz_http_response", "reboot", b"\x03HTTP/1.1 200 OK\r\n\r\n")
    write("fuzz_http_response", "switch-split", b"\x04HTTP/1.1 302 Found\r\nLocation: /\r\n\r\n")
    write("fuzz_http_response", "password", b"\x05HTTP/1.1 200 OK\r\n\r\n")
    write("fuzz_http_response", "garbage", b"\x00" + garbage)


if __name__ == "__main__":
    main()
