# wine-session.sh: a private Wine session for tests of the Windows build (source it).
#
#   . scripts/wine-session.sh
#   trap ws_end EXIT
#   ws_begin build/locale      # ja_JP locale data in that dir, Xvfb, fresh prefix (~6-9 s)
#   ws_wine prog.exe args >out.log 2>&1     # always redirect to files, see below
#   ws_end
#
# The session owns a fresh WINEPREFIX (its registry, files and clipboard start empty), its
# own persistent wineserver and its own Xvfb display. Only those are stopped at the end, by
# the prefix's `wineserver -k` and by PID.
#
# Never pipe a wine command or run it inside $(...): the background processes of the
# persistent server inherit the pipe and keep it open, and the reader hangs.

WS_LOCALE=ja_JP.UTF-8     # Wine takes the ANSI code page (932) and the user language from LC_ALL
WS_TIMEOUT=${WS_TIMEOUT:-$((20 * ${QUAVER_TIME_SCALE:-1}))}
WS_XVFB_PID= WS_PREFIX= WS_DISPLAY_FILE= WS_KEEPER_PID=
# win_probe.exe of the Windows build: holds the desktop open for the session (see ws_hold_desktop)
WS_PROBE=${WS_PROBE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win32/bin/win_probe.exe}

ws_log() { echo "wine-session: $*" >&2; }
ws_us() { local t=${EPOCHREALTIME/./}; echo "${t#0}"; }   # microseconds

# Generates ja_JP.UTF-8 into DIR and points glibc there, whatever the system has configured.
# Without it glibc stays in "C" under Wine and Japanese file names fail.
ws_locale() {   # DIR
  local dir=$1
  mkdir -p "$dir" || return 1
  dir=$(cd "$dir" && pwd)   # glibc reads LOCPATH from wherever the programs run: make it absolute
  if ! LOCPATH=$dir LC_ALL=$WS_LOCALE locale charmap 2>/dev/null | grep -qx UTF-8; then
    localedef -i "${WS_LOCALE%%.*}" -f UTF-8 "$dir/$WS_LOCALE" >"$dir/localedef.log" 2>&1
    LOCPATH=$dir LC_ALL=$WS_LOCALE locale charmap 2>/dev/null | grep -qx UTF-8 ||
      { ws_log "cannot generate $WS_LOCALE in $dir (see $dir/localedef.log)"; return 1; }
  fi
  export LOCPATH=$dir
}

# Starts Xvfb on a display number it picks itself (-displayfd) and exports DISPLAY. Wine binds
# its desktop to the DISPLAY of the session's first program, so start this before wineboot.
ws_start_xvfb() {
  WS_DISPLAY_FILE=$(mktemp "${TMPDIR:-/tmp}/ws-display.XXXXXX") || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WS_DISPLAY_FILE" >/dev/null 2>&1 &
  WS_XVFB_PID=$!
  local end=$(( $(ws_us) + WS_TIMEOUT * 1000000 ))
  until [ -s "$WS_DISPLAY_FILE" ]; do
    if ! kill -0 "$WS_XVFB_PID" 2>/dev/null || [ "$(ws_us)" -ge "$end" ]; then
      ws_log "Xvfb did not start"; return 1
    fi
    sleep 0.02
  done
  export DISPLAY=":$(head -n1 "$WS_DISPLAY_FILE")"
  rm -f "$WS_DISPLAY_FILE"; WS_DISPLAY_FILE=
}

ws_wine() { LC_ALL=$WS_LOCALE wine "$@"; }

# Whether a process of this session's prefix is still making it (wineboot or its INF installs).
ws_booting() {
  local pid
  for pid in $(pgrep -f 'wineboot\.exe|rundll32\.exe setupapi'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WS_PREFIX" && return 0
  done
  return 1
}

# Waits (bounded) for Wine to finish making the prefix, then checks that a program runs in it.
ws_wait_for_boot() {
  local end=$(( $(ws_us) + WS_TIMEOUT * 60 * 1000000 ))
  while ws_booting; do
    [ "$(ws_us)" -lt "$end" ] || return 1
    sleep 1
  done
  ws_wine cmd.exe /c exit 7 >>"$WS_PREFIX/ws-boot.log" 2>&1
  [ $? -eq 7 ]
}

# Fresh prefix with a persistent server (started before wineboot, so that wineboot returns
# with the system processes still up and no `wineserver -w` wait is needed).
ws_init_prefix() {
  WS_PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ws-prefix.XXXXXX") || return 1
  export WINEPREFIX=$WS_PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The server outlives this call: keep it off our stdout, which may be a pipe.
  LC_ALL=$WS_LOCALE wineserver -p >"$WS_PREFIX/ws-server.log" 2>&1 ||
    { ws_log "wineserver -p failed for $WINEPREFIX"; return 1; }
  # WS_BOOT_TIMEOUT (seconds) bounds making the prefix where Wine may never get there (under
  # an i386 emulator it takes many minutes, or fails).
  local bound=()
  [ -z "${WS_BOOT_TIMEOUT:-}" ] || bound=(timeout -k 10 "$WS_BOOT_TIMEOUT")
  # The prefix goes with the session, so a failure shows its log here.
  # WS_BOOT_WINEDEBUG: Wine's debug channels for wineboot alone (its errors are hidden otherwise).
  # On a slow machine the program that asked for the prefix gives up waiting for it after five
  # minutes ("boot event wait timed out") while Wine goes on making it: then the making is
  # waited for, and the prefix is used if a program then runs in it.
  WINEDEBUG=${WS_BOOT_WINEDEBUG:-$WINEDEBUG} LC_ALL=$WS_LOCALE "${bound[@]}" wineboot -i >"$WS_PREFIX/ws-boot.log" 2>&1 ||
    { [ -z "${WS_BOOT_TIMEOUT:-}" ] && ws_log "wineboot gave up; waiting for the prefix to be made" && ws_wait_for_boot; } ||
    { ws_log "wineboot failed or did not finish${WS_BOOT_TIMEOUT:+ within $WS_BOOT_TIMEOUT s}; the end of its log:"
      grep -v "could not open working directory" "$WS_PREFIX/ws-boot.log" | tail -n 30 >&2
      return 1; }
  # No crash dialog (it would block the run); no window manager needed (Wine draws the frames,
  # so X coordinates equal Win32 screen coordinates); Japanese UI faces on Noto even in a
  # prefix made under another locale.
  cat >"$WS_PREFIX/ws-settings.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS UI Gothic"="Noto Sans CJK JP"
EOF
  ws_wine regedit /S "$WS_PREFIX/ws-settings.reg" >"$WS_PREFIX/ws-regedit.log" 2>&1 ||
    { ws_log "regedit failed"; return 1; }
}

# Wine ends its desktop process (explorer) soon after the last program that used it, and each
# program that makes a window then starts it again, waiting only a bounded time for it. Seen in
# a virtual machine under load: that wait ran out, and every window of the program failed ("The
# explorer process failed to start"). A program that holds a hidden window for the whole session
# keeps the desktop up; it is started again until it has its window. Without win_probe.exe (a
# Windows build not made yet) the session goes on without it.
ws_hold_desktop() {
  [ -f "$WS_PROBE" ] || { ws_log "no $WS_PROBE: the desktop is not held open"; return 0; }
  local out=$WS_PREFIX/ws-keeper.out attempt end
  for attempt in 1 2 3 4 5; do
    : >"$out"
    ws_wine "$WS_PROBE" hold-desktop </dev/null >"$out" 2>&1 &
    WS_KEEPER_PID=$!
    end=$(( $(ws_us) + WS_TIMEOUT * 3000000 ))
    until grep -q '^ready' "$out" 2>/dev/null; do
      if ! kill -0 "$WS_KEEPER_PID" 2>/dev/null || [ "$(ws_us)" -ge "$end" ]; then
        kill "$WS_KEEPER_PID" 2>/dev/null; wait "$WS_KEEPER_PID" 2>/dev/null
        WS_KEEPER_PID=
        continue 2
      fi
      sleep 0.1
    done
    return 0
  done
  ws_log "no window could be made in five attempts (see $out)"
  return 1
}

ws_begin() {    # LOCALE_DIR
  ws_locale "$1" || return 1
  unset DISPLAY   # never put test windows on the caller's screen
  ws_start_xvfb || return 1
  # Making a prefix on a heavily loaded machine has failed once in a while: a second fresh
  # prefix gets its chance before the session gives up.
  if ! ws_init_prefix; then
    WINEPREFIX=$WS_PREFIX wineserver -k >/dev/null 2>&1
    rm -rf "$WS_PREFIX"
    ws_log "making the prefix again"
    ws_init_prefix || return 1
  fi
  ws_hold_desktop
}

ws_end() {
  if [ -n "$WS_PREFIX" ]; then
    WINEPREFIX=$WS_PREFIX wineserver -k >/dev/null 2>&1   # this prefix's processes only
    [ -z "$WS_KEEPER_PID" ] || wait "$WS_KEEPER_PID" 2>/dev/null
    WS_KEEPER_PID=
    # Killed processes may still be writing into the prefix for a moment.
    local end=$(( $(ws_us) + 5000000 ))
    until rm -rf "$WS_PREFIX" 2>/dev/null || [ "$(ws_us)" -ge "$end" ]; do sleep 0.1; done
    WS_PREFIX=
  fi
  if [ -n "$WS_XVFB_PID" ]; then
    kill "$WS_XVFB_PID" 2>/dev/null; wait "$WS_XVFB_PID" 2>/dev/null
    WS_XVFB_PID=
  fi
  [ -z "$WS_DISPLAY_FILE" ] || rm -f "$WS_DISPLAY_FILE"
  WS_DISPLAY_FILE=
}
