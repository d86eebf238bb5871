#!/usr/bin/env python3
"""A small debugger that drives the debug test image end to end.

    debugger_session_test.py QVRUN IMAGE

Listens on 127.0.0.1:13897, starts QVRUN IMAGE (tests/images/image_debugger.c) and talks to
it over the line protocol: breakpoints, stepping, memory, strings, objects, watch lists,
raised exceptions, QUIT, a lost connection, and a start with no debugger listening. Every
wait has a time-out and a child still running at the end is killed, so a fault shows as a
FAIL line, never as a hang. Prints one line per check and ends with "N passed, N failed".
"""
import socket
import subprocess
import sys
import threading
import time

PORT = 13897
WAIT = 10.0  # seconds for any one answer; generous for a loaded machine
CONNECT_LIMIT = 8.0  # "about five seconds" for giving up on an absent debugger

passed = 0
failed = 0


def check(condition, label, detail=""):
    global passed, failed
    if condition:
        passed += 1
        print(f"ok   {label}")
    else:
        failed += 1
        print(f"FAIL {label}" + (f": {detail}" if detail else ""))
    return condition


class Stuck(Exception):
    pass


def hex8(value):
    return f"{value:08X}"


class Session:
    """One run of the image with this script as its debugger (or with no listener)."""

    def __init__(self, qvrun, image, listen=True):
        self.listener = None
        self.conn = None
        self.buffer = b""
        self.seen = []  # every line received, in order
        if listen:
            self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            self.listener.bind(("127.0.0.1", PORT))
            self.listener.listen(1)
            self.listener.settimeout(WAIT)
        self.started = time.monotonic()
        self.proc = subprocess.Popen([qvrun, image], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE)
        self.stderr = []
        self.stderr_lock = threading.Condition()
        self.stderr_reader = threading.Thread(target=self._read_stderr, daemon=True)
        self.stderr_reader.start()

    def _read_stderr(self):
        for raw in self.proc.stderr:
            with self.stderr_lock:
                self.stderr.append(raw.decode("utf-8", "replace").rstrip("\r\n"))
                self.stderr_lock.notify_all()
        with self.stderr_lock:
            self.stderr_lock.notify_all()

    def addresses(self):
        """The image's "name HEX" lines, once all five are there."""
        names = ("g_go", "g_value", "g_wide", "g_text", "g_object")
        deadline = time.monotonic() + WAIT
        with self.stderr_lock:
            while True:
                found = {}
                for line in self.stderr:
                    parts = line.split()
                    if len(parts) == 2 and parts[0] in names:
                        found[parts[0]] = int(parts[1], 16)
                if len(found) == len(names):
                    return found
                left = deadline - time.monotonic()
                if left <= 0:
                    raise Stuck("the image did not report its addresses")
                self.stderr_lock.wait(left)

    def accept(self):
        try:
            self.conn, _ = self.listener.accept()
        except socket.timeout:
            raise Stuck("the program did not connect")
        self.conn.settimeout(WAIT)

    def send(self, line):
        self.conn.sendall(line.encode("ascii") + b"\r")

    def line(self):
        """The next line received; None when the program closed the connection."""
        while b"\r" not in self.buffer:
            try:
                data = self.conn.recv(4096)
            except socket.timeout:
                raise Stuck(f"no line within {WAIT:.0f} s (last lines: {self.seen[-3:]})")
            except ConnectionError:
                data = b""
            if not data:
                return None
            self.buffer += data
        text, _, self.buffer = self.buffer.partition(b"\r")
        decoded = text.decode("ascii", "replace")
        self.seen.append(decoded)
        return decoded

    def expect(self, word):
        """Lines up to the first whose command word is `word`: (that line's argument, the others)."""
        skipped = []
        while True:
            line = self.line()
            if line is None:
                raise Stuck(f"connection closed while waiting for {word} (after {skipped})")
            head, _, argument = line.partition(" ")
            if head == word:
                return argument, skipped
            skipped.append(line)

    def ask(self, request, word):
        self.send(request)
        argument, skipped = self.expect(word)
        return argument

    def stop(self):
        """The next BREAK as (line, frame, code), with any lines before it."""
        argument, skipped = self.expect("BREAK")
        fields = argument.split(" ")
        if len(fields) != 3 or any(len(f) != 8 for f in fields):
            raise Stuck(f"malformed BREAK {argument!r}")
        line, frame, code = (int(f, 16) for f in fields)
        return line, frame, code, skipped

    def exit_status(self, limit=WAIT):
        """The exit status once the program has ended and all its standard error is read."""
        try:
            status = self.proc.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            return None
        self.stderr_reader.join(WAIT)
        return status

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        for s in (self.conn, self.listener):
            if s:
                s.close()


def run_session(name, body, qvrun, image, listen=True):
    session = None
    try:
        session = Session(qvrun, image, listen)
        body(session)
    except Stuck as stuck:
        check(False, name, str(stuck))
    except OSError as error:
        check(False, name, f"{type(error).__name__}: {error}")
    finally:
        if session:
            session.close()


def full_session(s):
    a = s.addresses()
    s.accept()
    # Breakpoints go in while the program runs its first line; writing g_go lets it on.
    s.send("BRLA 00000040")
    s.send("BR 0000001E")
    s.send(f"SW {hex8(a['g_go'])} 00000001")
    line, frame30, code30, _ = s.stop()
    check(line == 0x1E, "BR stops with BREAK at the breakpoint's line", f"stopped at {line:#x}")

    v = hex8(a["g_value"])
    check(s.ask(f"DW {v}", "VAL32") == f"{v} 12345678", "DW reads a global most significant digit first")
    check(s.ask(f"DB {v}", "VAL8") == f"{v} 78", "DB reads the global's low byte")
    w = hex8(a["g_wide"])
    check(s.ask(f"DL {w}", "VAL64") == f"{w} 1122334455667788", "DL reads a 64-bit global")
    t = hex8(a["g_text"])
    check(s.ask(f"DS {t}", "VALS") == f"{t} 00000600:68656C6C6F", "DS reads the string variable")
    s.send(f"SS {t} 00000600:" + "changed".encode().hex().upper())
    check(s.ask(f"DS {t}", "VALS") == f"{t} 00000600:" + "changed".encode().hex().upper(),
          "SS replaces the string variable")
    for word in ("GetHWND", "gethwnd", "GETHWND"):
        check(s.ask(word, "HWND") == "0", f"{word} answers HWND (no window in this build)")
    check(s.ask("PID", "PID") == f"{s.proc.pid:08X}", "PID answers the process identifier")

    s.send("STEPOVER")
    line, frame, _, _ = s.stop()
    check(line == 0x1F and frame == frame30, "STEPOVER stops at the next line of the same function, not in the callee",
          f"stopped at {line:#x}")
    s.send("STEP")
    line, frame, _, _ = s.stop()
    check(line == 0x14 and frame < frame30, "STEP stops at the callee's first line", f"stopped at {line:#x}")
    s.send("STEPOUT")
    line, frame, _, _ = s.stop()
    check(line == 0x20 and frame == frame30, "STEPOUT stops in the caller after the callee returns",
          f"stopped at {line:#x}")

    s.send("BRC 0000001E")
    s.send("BR 00000004")
    s.send("RUN")
    line, _, _, _ = s.stop()
    check(line == 4, "BRC removes the breakpoint (the second call runs through)", f"stopped at {line:#x}")

    s.send("BR 00000006")
    s.send("RUN")
    line, _, _, _ = s.stop()
    check(line == 6, "a breakpoint set at a stop is reached", f"stopped at {line:#x}")
    o_arg = s.ask(f"DW {hex8(a['g_object'])}", "VAL32").split(" ")[-1]
    obj = int(o_arg, 16)
    check(obj != 0, "DW reads the object variable")
    o = hex8(obj)
    check(s.ask(f"DO {o}", "VALO") == f"{o} {o} RuntimeException", "DO names the object and its class")
    check(s.ask(f"DOC {o}", "VALOC") == f"{o} RuntimeException", "DOC names the object's class")
    s.send(f"OWLS {o}")
    s.send(f"OWLS {o}")
    s.send("BR 00000007")
    s.send("RUN")
    line, _, _, before = s.stop()
    check(line == 7 and before == [f"ODN {o}"], "OWLS gives one ODN when the object is freed",
          f"lines before BREAK {line:#x}: {before}")

    s.send("RUN")
    argument, before = s.expect("TRAP")
    check(argument == "OutOfBoundsException", "TRAP reports the raised exception's class", argument)
    s.send("RUN")
    rest = []
    while (line := s.line()) is not None:
        rest.append(line)
    status = s.exit_status()
    check(status == 0, "the program runs to its end after the last RUN", f"exit status {status}, lines {rest}")
    check(sum(1 for x in s.seen if x.startswith("ODN")) == 1, "exactly one ODN in the whole session",
          str([x for x in s.seen if x.startswith("ODN")]))
    with s.stderr_lock:
        report = list(s.stderr)
    check("text: changed" in report and "caught: 1" in report, "the program saw the new string and caught the exception",
          str(report[-4:]))


def quit_session(s):
    s.addresses()
    s.accept()
    s.send("quit")  # while the program runs its first line: read and obeyed there
    status = s.exit_status()
    check(status == 1, "QUIT ends the running program with exit code 1", f"exit status {status}")


def lost_session(s):
    a = s.addresses()
    s.accept()
    s.send("BRLA 00000040")
    s.send("BR 00000002")
    s.send(f"SW {hex8(a['g_go'])} 00000001")
    line, _, _, _ = s.stop()
    check(line == 2, "stops at line 2 before the connection is dropped", f"stopped at {line:#x}")
    s.conn.close()
    s.conn = None
    status = s.exit_status()
    check(status == 1, "a lost connection ends the stopped program with exit code 1", f"exit status {status}")


def absent_session(s):
    status = s.exit_status(CONNECT_LIMIT + 5)
    elapsed = time.monotonic() - s.started
    check(status == 1 and elapsed < CONNECT_LIMIT,
          "with no debugger listening the program ends with exit code 1 within about five seconds",
          f"exit status {status} after {elapsed:.1f} s")
    with s.stderr_lock:
        check(any("No debugger" in x for x in s.stderr), "the failure is reported", str(s.stderr[-2:]))


def main():
    if len(sys.argv) != 3:
        print("usage: debugger_session_test.py QVRUN IMAGE", file=sys.stderr)
        return 2
    qvrun, image = sys.argv[1:]
    run_session("full session", full_session, qvrun, image)
    run_session("quit session", quit_session, qvrun, image)
    run_session("lost connection session", lost_session, qvrun, image)
    run_session("no debugger session", absent_session, qvrun, image, listen=False)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
