# hollerpad-window.sh: drives Hollerpad.exe's windows inside a private Wine session (source it
# after scripts/wine-session.sh and ws_begin). Used by scripts/run.sh and scripts/screenshots.sh.
# Its steps are those of scripts/gui-driver.sh: the first that fails records why in GD_FAIL
# (the caller prints it) and every later one returns 1 without acting.
#
#   hw_prepare                          # fonts for the session's prefix (once, before starting)
#   hw_start EXE WORK_DIR               # starts the program through win_probe (answers boxes)
#   hw_window TITLE                     # waits for the window; GD_RECT=(L T R B) outer rect
#   hw_click TITLE CAPTION              # clicks the control with that caption (real X events)
#   hw_menu TITLE N                     # opens the menu-bar title at position N (0 the first)
#                                       # and picks its first item
#   hw_screenshot TITLE FILE.png        # the window as shown, once its painting has settled
#   hw_convert INPUT EXPECTED           # pastes INPUT from the X clipboard, converts, and waits
#                                       # until the X clipboard holds EXPECTED (LF line ends)
#   hw_finish                           # waits for the program's end; HW_EXIT is its exit code
#
# Every wait polls with a timeout (HW_TIMEOUT seconds, default 30).

HW_TIMEOUT=${HW_TIMEOUT:-30}
GD_PROBE=${HW_PROBE:-build/win32/bin/win_probe.exe} GD_TIMEOUT=$HW_TIMEOUT
. "$(dirname "${BASH_SOURCE[0]}")/gui-driver.sh"
HW_WORK= HW_RUN_PID= HW_EXIT=

hw_log() { echo "hollerpad-window: $*" >&2; }

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
  gd_case "$HW_WORK" || return 1
  rm -f "$HW_WORK/pid" "$HW_WORK/boxes.log"
  gd_probe run --log "$(gd_winpath "$HW_WORK/boxes.log")" --pid-file "$(gd_winpath "$HW_WORK/pid")" \
    --timeout 600 -- "\"$(gd_winpath "$1")\"" >"$HW_WORK/run.out" 2>&1 &
  HW_RUN_PID=$!
}

hw_window() { gd_window "$1"; }                                   # TITLE
hw_click() { gd_click "$1" --caption "$2"; }                     # TITLE CAPTION

# By keyboard: Wine's menus cannot be read from another process, so their titles cannot be
# found by text; F10 selects the first title, Right moves on, Down opens the menu on its first
# item and Return chooses it.
hw_menu() {   # TITLE N
  local rights=() i
  for ((i = 0; i < $2; ++i)); do rights+=(Right); done
  gd_front "$1" && gd_keys F10 "${rights[@]}" Down && gd_popup && gd_keys Return
}

# Captures the root window's area of the window until two captures 100 ms apart agree (the
# paint has settled), then writes the last one as PNG.
hw_screenshot() {   # TITLE FILE
  local w h end=$((SECONDS + HW_TIMEOUT)) previous="$HW_WORK/shot-a.rgb" current="$HW_WORK/shot-b.rgb"
  hw_window "$1" || return 1
  w=$((GD_RECT[2] - GD_RECT[0])) h=$((GD_RECT[3] - GD_RECT[1]))
  : >"$previous"
  while :; do
    import -window root -crop "${w}x${h}+${GD_RECT[0]}+${GD_RECT[1]}" -depth 8 "rgb:$current" 2>/dev/null
    cmp -s "$previous" "$current" && [ -s "$current" ] && break
    # A blinking caret may never let two captures agree: then the last one is taken.
    [ $SECONDS -lt $end ] || { hw_log "the window \"$1\" did not stop changing"; break; }
    mv "$current" "$previous"
    sleep 0.1
  done
  mkdir -p "$(dirname "$2")"
  gd_step "cannot write $2" convert -size "${w}x${h}" -depth 8 "rgb:$current" "$2"
}

# Wine takes a new X selection in a moment after xclip offers it, so a paste may still read
# the old clipboard: wait until the Windows side shows the text (CR LF line ends), and repeat
# paste and convert until the copy is right.
hw_windows_clipboard_is() { gd_probe clipboard-text >"$HW_WORK/windows-clip.txt" 2>/dev/null && cmp -s "$1" "$HW_WORK/windows-clip.txt"; }
hw_convert() {   # INPUT EXPECTED
  local end=$((SECONDS + HW_TIMEOUT)) xclip_pid attempt=0 poll
  sed -z 's/\n/\r\n/g' "$1" >"$HW_WORK/windows-form.txt"
  while gd_ok && [ $SECONDS -lt $end ]; do
    attempt=$((attempt + 1))
    xclip -quiet -selection clipboard -t UTF8_STRING -i "$1" >/dev/null 2>&1 &
    xclip_pid=$!
    gd_until "$HW_TIMEOUT" "Wine to take the X11 clipboard" hw_windows_clipboard_is "$HW_WORK/windows-form.txt" &&
    hw_click Hollerpad 貼り付け && hw_click Hollerpad 変換してコピー || { kill "$xclip_pid" 2>/dev/null; return 1; }
    for poll in 1 2 3 4 5 6 7 8 9 10; do
      timeout 2 xclip -selection clipboard -t UTF8_STRING -o >"$HW_WORK/copied.txt" 2>/dev/null
      cmp -s "$2" "$HW_WORK/copied.txt" && break 2
      sleep 0.2
    done
  done
  kill "$xclip_pid" 2>/dev/null
  wait "$xclip_pid" 2>/dev/null
  gd_ok || return 1
  cmp -s "$2" "$HW_WORK/copied.txt" || gd_fail "after $attempt attempts the clipboard holds $HW_WORK/copied.txt, not the conversion"
}

hw_finish() {
  local end=$((SECONDS + HW_TIMEOUT))
  while kill -0 "$HW_RUN_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.1; done
  if kill -0 "$HW_RUN_PID" 2>/dev/null; then
    hw_log "the program did not end; stopping it"
    [ -s "$HW_WORK/pid" ] && gd_probe kill --pid "$(head -n1 "$HW_WORK/pid" | tr -d '\r')" >/dev/null 2>&1
    kill "$HW_RUN_PID" 2>/dev/null
  fi
  wait "$HW_RUN_PID" 2>/dev/null
  HW_RUN_PID=
  HW_EXIT=$(sed -n 's/^exit \([0-9]*\).*/\1/p' "$HW_WORK/run.out" | head -n1)
}
