#!/usr/bin/env python3
"""A small debugger that drives the debug test images end to end.

    debugger_session_test.py QVRUN IMAGE
    debugger_session_test.py --wine QVIMAGE RUNTIME_EXE WIN_PROBE_EXE IMAGE_DIR WORK_DIR

Listens on 127.0.0.1:13897, starts the debug test image (tests/images/image_debugger.c) and
talks to it over the line protocol: breakpoints, stepping, memory, strings, objects, watch
lists, raised exceptions, QUIT, a lost connection, and a start with no debugger listening.

Natively QVRUN runs IMAGE and the image reports on standard error. With --wine QVIMAGE
attaches IMAGE_DIR/image_debugger.o to the Windows GUI runtime RUNTIME_EXE, and the program
runs under Wine in the caller's session (scripts/wine-session.sh): win_probe.exe starts it,
answers the message boxes it reports with and logs them under WORK_DIR. There the GUI
program image_gui_debugger.o, attached in MDI mode with the title "Debug GUI", also runs: it
waits in the event loop, where the debugger's lines must still be handled.

Every wait has a time-out and a program still running at the end is killed, so a fault shows
as a FAIL line, never as a hang. Prints one line per check and ends with "N passed, N failed".
"""
import os
import re
import socket
import subprocess
import sys
import threading
import time

PORT = 13897
# Seconds for any one answer; generous for a loaded machine (more under Wine). QUAVER_TIME_SCALE
# multiplies every wait where everything runs slower (the emulated machine of scripts/wine-vm.sh).
SCALE = int(os.environ.get("QUAVER_TIME_SCALE", "1"))
WAIT = 10.0 * SCALE
CONNECT_LIMIT = 8.0  # "about five seconds" for giving up on an absent debugger
GUI_TITLE = "Debug GUI"

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


class NativeRun:
    """The image under qvrun; its reports are its standard error lines."""

    def __init__(self, qvrun, image):
        self.proc = subprocess.Popen([qvrun, image], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE)
        self.started = time.monotonic()
        self.lines = []
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.proc.stderr:
            with self.lock:
                self.lines.append(raw.decode("utf-8", "replace").rstrip("\r\n"))

    def reports(self):
        with self.lock:
            return list(self.lines)

    def pid(self):
        return self.proc.pid

    def exit_status(self, limit):
        try:
            status = self.proc.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            return None
        self.reader.join(WAIT)
        return status

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineRun:
    """A program under Wine, started by win_probe.exe, which answers its message boxes and logs
    their texts (the image's reports), writes its process id and finally "exit N". Wine's
    output goes to files only."""

    def __init__(self, probe, program, work, name):
        self.probe = probe
        self.dir = os.path.join(work, name)
        os.makedirs(self.dir, exist_ok=True)
        for f in ("boxes.log", "pid", "probe.out"):
            if os.path.exists(os.path.join(self.dir, f)):
                os.remove(os.path.join(self.dir, f))
        self.log = os.path.join(self.dir, "boxes.log")
        open(self.log, "w").close()
        self.pid_file = os.path.join(self.dir, "pid")
        self.out = open(os.path.join(self.dir, "probe.out"), "w")
        self.proc = subprocess.Popen(
            ["wine", probe, "run", "--log", windows_path(self.log), "--pid-file", windows_path(self.pid_file),
             "--timeout", str(180 * SCALE), "--cwd", "C:\\", "--", f'"{windows_path(program)}"'],
            stdin=subprocess.DEVNULL, stdout=self.out, stderr=subprocess.STDOUT)
        self.started = time.monotonic()
        self.windows_pid = None

    def reports(self):
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n").partition("\t")[2] for line in f]

    def pid(self):
        """The program's Windows process id (what it answers PID with)."""
        deadline = time.monotonic() + WAIT
        while self.windows_pid is None:
            try:
                with open(self.pid_file) as f:
                    text = f.read().strip()
                if text:
                    self.windows_pid = int(text)
                    self.started = time.monotonic()
                    break
            except (OSError, ValueError):
                pass
            if time.monotonic() > deadline:
                raise Stuck("win_probe wrote no process id")
            time.sleep(0.02)
        return self.windows_pid

    def exit_status(self, limit):
        try:
            self.proc.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            return None
        self.out.flush()
        with open(os.path.join(self.dir, "probe.out")) as f:
            found = re.search(r"^exit (\d+)$", f.read(), re.M)
        return int(found.group(1)) if found else None

    def probe_call(self, name, *args, timeout=None):
        """Runs a win_probe command to the end; its output."""
        path = os.path.join(self.dir, name + ".out")
        with open(path, "w") as out:
            subprocess.run(["wine", self.probe, *args], stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                           timeout=timeout or WAIT + 20)
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def window_handle(self, title):
        """The handle of the program's visible top-level window with that title."""
        text = self.probe_call("wait-window", "wait-window", "--title", title, "--pid", str(self.pid()),
                               "--timeout", str(int(WAIT)))
        found = re.search(r"^hwnd 0x([0-9a-f]+) ", text, re.M)
        if not found:
            raise Stuck(f"no window \"{title}\": {text.strip()[:200]}")
        return int(found.group(1), 16)

    def kill(self):
        if self.proc.poll() is None:
            if self.windows_pid is not None or os.path.exists(self.pid_file):
                try:
                    self.probe_call("kill", "kill", "--pid", str(self.pid()))
                except (Stuck, subprocess.TimeoutExpired, OSError):
                    pass
            try:
                self.proc.wait(timeout=WAIT)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.out.close()


class Session:
    """One run of an image with this script as its debugger (or with no listener)."""

    def __init__(self, start, listen=True):
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
        try:
            self.run = start()
        except BaseException:
            if self.listener:
                self.listener.close()
            raise

    def reports(self):
        return self.run.reports()

    def addresses(self):
        """The image's "name HEX" reports, once all five are there."""
        names = ("g_go", "g_value", "g_wide", "g_text", "g_object")
        deadline = time.monotonic() + WAIT
        while True:
            found = {}
            for line in self.reports():
                parts = line.split()
                if len(parts) == 2 and parts[0] in names:
                    found[parts[0]] = int(parts[1], 16)
            if len(found) == len(names):
                return found
            if time.monotonic() > deadline:
                raise Stuck("the image did not report its addresses")
            time.sleep(0.02)

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

    def exit_status(self, limit=None):
        """The exit status once the program has ended and all its reports are in."""
        return self.run.exit_status(WAIT if limit is None else limit)

    def close(self):
        self.run.kill()
        for s in (self.conn, self.listener):
            if s:
                s.close()


def run_session(name, body, start, listen=True):
    session = None
    try:
        session = Session(start, listen)
        body(session)
    except Stuck as stuck:
        check(False, name, str(stuck))
    except (OSError, subprocess.SubprocessError) as error:
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
        check(s.ask(word, "HWND") == "0", f"{word} answers HWND (this program has no window)")
    check(s.ask("PID", "PID") == f"{s.run.pid():08X}", "PID answers the process identifier")

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
    report = s.reports()
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
    s.run.pid()  # under Wine the clock starts once the program exists
    status = s.exit_status(CONNECT_LIMIT + 5)
    elapsed = time.monotonic() - s.run.started
    check(status == 1 and elapsed < CONNECT_LIMIT,
          "with no debugger listening the program ends with exit code 1 within about five seconds",
          f"exit status {status} after {elapsed:.1f} s")
    report = s.reports()
    check(any("No debugger" in x for x in report), "the failure is reported", str(report[-2:]))


# ---- A GUI program waiting in its event loop (Wine only)

def gui_window_session(s):
    s.accept()
    frame = s.run.window_handle(GUI_TITLE)
    # Nothing in the image reads lines any more: the loop must serve them.
    for word in ("GetHWND", "gethwnd", "GETHWND"):
        check(s.ask(word, "HWND") == str(frame), f"{word} is answered from the event loop with the frame's handle",
              f"frame {frame}")
    s.send("QUIT")
    status = s.exit_status()
    check(status == 1, "QUIT ends the program waiting for events with exit code 1", f"exit status {status}")


def gui_lost_session(s):
    s.accept()
    s.run.window_handle(GUI_TITLE)
    s.conn.close()
    s.conn = None
    status = s.exit_status()
    check(status == 1, "a lost connection ends the program waiting for events with exit code 1",
          f"exit status {status}")


def main():
    global WAIT
    args = sys.argv[1:]
    if len(args) == 2:
        qvrun, image = args
        plain = lambda: NativeRun(qvrun, image)  # noqa: E731
        gui = None
    elif len(args) == 6 and args[0] == "--wine":
        qvimage, runtime, probe, images, work = args[1:]
        os.makedirs(work, exist_ok=True)
        program, gui_program = os.path.join(work, "image_debugger.exe"), os.path.join(work, "image_gui_debugger.exe")
        for exe, name, mdi in ((program, "image_debugger", []), (gui_program, "image_gui_debugger", ["--mdi", GUI_TITLE])):
            attached = subprocess.run([qvimage, "--attach", runtime, *mdi, "-o", exe, os.path.join(images, name + ".o")],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            if attached.returncode != 0:
                print(f"FAIL attach {name}: {attached.stdout.decode(errors='replace')[:300]}")
                print("0 passed, 1 failed")
                return 1
        WAIT = 30.0 * SCALE  # Wine starts programs and answers boxes slowly on a loaded machine
        counter = iter(range(1, 100))
        plain = lambda: WineRun(probe, program, work, f"plain-{next(counter)}")  # noqa: E731
        gui = lambda: WineRun(probe, gui_program, work, f"gui-{next(counter)}")  # noqa: E731
    else:
        print("usage: debugger_session_test.py QVRUN IMAGE\n"
              "       debugger_session_test.py --wine QVIMAGE RUNTIME_EXE WIN_PROBE_EXE IMAGE_DIR WORK_DIR",
              file=sys.stderr)
        return 2
    run_session("full session", full_session, plain)
    run_session("quit session", quit_session, plain)
    run_session("lost connection session", lost_session, plain)
    run_session("no debugger session", absent_session, plain, listen=False)
    if gui:
        run_session("GUI session", gui_window_session, gui)
        run_session("GUI lost connection session", gui_lost_session, gui)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
