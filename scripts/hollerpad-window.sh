# hollerpad-window.sh: drives Hollerpad.exe's windows inside a private Wine session (source it
# after scripts/wine-session.sh and ws_begin). Used by scripts/run.sh and scripts/screenshots.sh.
#
#   hw_prepare                          # fonts for the session's prefix (once, before starting)
#   hw_start EXE WORK_DIR               # starts the program through win_probe (answers boxes)
#   hw_window TITLE                     # waits for the window; HW_RECT=(L T R B) outer rect
#   hw_click TITLE CAPTION              # clicks the control with that caption (real X events)
#   hw_menu TITLE N                     # opens the menu-bar title at position N (0 the first)
#                                       # and picks its first item
#   hw_screenshot TITLE FILE.png        # the window as shown, once its painting has settled
#   hw_convert INPUT EXPECTED           # pastes INPUT from the X clipboard, converts, and waits
#                                       # until the X clipboard holds EXPECTED (LF line ends)
#   hw_finish                           # waits for the program's end; HW_EXIT is its exit code
#
# Controls have no X windows, so they are found by caption through win_probe, which reports
# their screen rectangles (Win32 screen coordinates are X root coordinates in the session).
# Every wait polls with a timeout (HW_TIMEOUT seconds, default 30). Functions return non-zero
# and print why on failure. Wine output always goes to files, never into a pipe.

HW_TIMEOUT=${HW_TIMEOUT:-30}
HW_PROBE=${HW_PROBE:-build/win32/bin/win_probe.exe}
HW_WORK= HW_RUN_PID= HW_RECT=() HW_EXIT=

hw_log() { echo "hollerpad-window: $*" >&2; }
hw_probe() { LC_ALL=$WS_LOCALE wine "$HW_PROBE" "$@"; }
hw_winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

# Wine's own fonts for the caption buttons (Debian's wine does not find them where they are
# installed), and the Japanese face for the application's control font.
hw_prepare() {
  [ -d /usr/share/wine/fonts ] && cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  cat >"$WINEPREFIX/hw-fonts.reg" <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Osaka"="Noto Sans CJK JP"
EOF
  ws_wine regedit /S "$WINEPREFIX/hw-fonts.reg" >"$WINEPREFIX/hw-regedit.log" 2>&1
}

hw_start() {   # EXE WORK_DIR
  HW_WORK=$2
  mkdir -p "$HW_WORK" || return 1
  rm -f "$HW_WORK/pid" "$HW_WORK/boxes.log"
  hw_probe run --log "$(hw_winpath "$HW_WORK/boxes.log")" --pid-file "$(hw_winpath "$HW_WORK/pid")" \
    --timeout 600 -- "\"$(hw_winpath "$1")\"" >"$HW_WORK/run.out" 2>&1 &
  HW_RUN_PID=$!
}

hw_window() {   # TITLE
  hw_probe wait-window --title "$1" --timeout "$HW_TIMEOUT" >"$HW_WORK/window.out" 2>&1 ||
    { hw_log "no window \"$1\""; return 1; }
  read -r -a HW_RECT < <(grep -m1 '^hwnd ' "$HW_WORK/window.out" | cut -d' ' -f4-7)
  [ ${#HW_RECT[@]} -eq 4 ] || { hw_log "cannot read the rectangle of \"$1\""; return 1; }
}

# Without a window manager the window that was last active keeps the keyboard and clicks may
# land on an inactive frame: activate it from inside Wine first.
hw_front() { hw_probe foreground --title "$1" >/dev/null 2>&1; }

hw_click() {   # TITLE CAPTION
  local r
  hw_probe wait-window --title "$1" --child "$2" --timeout "$HW_TIMEOUT" >"$HW_WORK/control.out" 2>&1 ||
    { hw_log "no control \"$2\" in \"$1\""; return 1; }
  read -r -a r < <(grep -m1 '^hwnd ' "$HW_WORK/control.out" | cut -d' ' -f4-7)
  [ ${#r[@]} -eq 4 ] || { hw_log "cannot read the rectangle of \"$2\""; return 1; }
  hw_front "$1"
  xdotool mousemove --sync $(((r[0] + r[2]) / 2)) $(((r[1] + r[3]) / 2)) click 1
}

# By keyboard: Wine's menus cannot be read from another process, so their titles cannot be
# found by text; F10 selects the first title, Right moves on, Down opens the menu on its first
# item and Return chooses it.
hw_menu() {   # TITLE N
  local rights=()
  for ((i = 0; i < $2; ++i)); do rights+=(Right); done
  hw_front "$1"
  xdotool key F10 "${rights[@]}" Down
  hw_probe wait-window --class '#32768' --timeout "$HW_TIMEOUT" >"$HW_WORK/popup.out" 2>&1 ||
    { hw_log "menu $2 of \"$1\" did not open"; return 1; }
  xdotool key Return
}

# Captures the root window's area of the window until two captures 100 ms apart agree (the
# paint has settled), then writes the last one as PNG.
hw_screenshot() {   # TITLE FILE
  local w h end=$((SECONDS + HW_TIMEOUT)) previous="$HW_WORK/shot-a.rgb" current="$HW_WORK/shot-b.rgb"
  hw_window "$1" || return 1
  w=$((HW_RECT[2] - HW_RECT[0])) h=$((HW_RECT[3] - HW_RECT[1]))
  : >"$previous"
  while :; do
    import -window root -crop "${w}x${h}+${HW_RECT[0]}+${HW_RECT[1]}" -depth 8 "rgb:$current" 2>/dev/null
    cmp -s "$previous" "$current" && [ -s "$current" ] && break
    [ $SECONDS -lt $end ] || { hw_log "the window \"$1\" did not stop changing"; break; }
    mv "$current" "$previous"
    sleep 0.1
  done
  mkdir -p "$(dirname "$2")"
  convert -size "${w}x${h}" -depth 8 "rgb:$current" "$2"
}

# Wine takes a new X selection in a moment after xclip offers it, so a paste may still read
# the old clipboard: offer the text again and repeat paste and convert until the copy is right.
hw_convert() {   # INPUT EXPECTED
  local end=$((SECONDS + HW_TIMEOUT)) xclip_pid attempt=0 poll
  while [ $SECONDS -lt $end ]; do
    attempt=$((attempt + 1))
    xclip -quiet -selection clipboard -t UTF8_STRING -i "$1" >/dev/null 2>&1 &
    xclip_pid=$!
    sleep 0.2   # let Wine see the new owner before the paste asks for it
    hw_click Hollerpad 貼り付け && hw_click Hollerpad 変換してコピー || { kill "$xclip_pid" 2>/dev/null; return 1; }
    for poll in 1 2 3 4 5 6 7 8 9 10; do
      timeout 2 xclip -selection clipboard -t UTF8_STRING -o >"$HW_WORK/copied.txt" 2>/dev/null
      cmp -s "$2" "$HW_WORK/copied.txt" && break 2
      sleep 0.2
    done
  done
  kill "$xclip_pid" 2>/dev/null
  wait "$xclip_pid" 2>/dev/null
  cmp -s "$2" "$HW_WORK/copied.txt" || { hw_log "after $attempt attempts the clipboard holds $HW_WORK/copied.txt, not the conversion"; return 1; }
}

hw_finish() {
  local end=$((SECONDS + HW_TIMEOUT))
  while kill -0 "$HW_RUN_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.1; done
  if kill -0 "$HW_RUN_PID" 2>/dev/null; then
    hw_log "the program did not end; stopping it"
    [ -s "$HW_WORK/pid" ] && hw_probe kill --pid "$(head -n1 "$HW_WORK/pid" | tr -d '\r')" >/dev/null 2>&1
    kill "$HW_RUN_PID" 2>/dev/null
  fi
  wait "$HW_RUN_PID" 2>/dev/null
  HW_RUN_PID=
  HW_EXIT=$(sed -n 's/^exit \([0-9]*\).*/\1/p' "$HW_WORK/run.out" | head -n1)
}
