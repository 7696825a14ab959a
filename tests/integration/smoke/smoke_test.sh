#!/usr/bin/env bash
# Starts the real program next to a settings file that points at a folder of two short songs,
# clicks play, sees its stream on the sound server, minimises it and reads the title, closes it
# through the window manager and checks the settings file it wrote; then ends it with SIGTERM
# and checks that it wrote its settings again, also with a message box, the About window or the
# folder requester open; and the list goes on meanwhile.
# Usage: smoke_test.sh PROGRAM. Exit 77 (skipped) without a display or a sound server.
set -euo pipefail
program=$1
[ -n "${DISPLAY:-}" ] || { echo "skipped: no DISPLAY"; exit 77; }
pactl info >/dev/null 2>&1 || { echo "skipped: no PulseAudio server"; exit 77; }
command -v lame >/dev/null || { echo "skipped: lame is missing"; exit 77; }

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    # Gone before the next test looks for a window manager.
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Two 5-second songs, made from a generated tone.
mkdir -p "$work/Lieder"
python3 - "$work/tone.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<hh", v, v) for v in
        (int(8000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(5 * 44100))))
PY
lame --quiet -b 128 "$work/tone.wav" "$work/Lieder/Erstes Lied.mp3"
lame --quiet -b 128 "$work/tone.wav" "$work/Lieder/Zweites Lied.mp3"

cp "$program" "$work/mp3klingtal"
printf 'Pfad = %s/Lieder/\r\nFensterPos = 1\r\nFensterXPos = 120\r\nFensterYPos = 90\r\n' \
    "$work" >"$work/MP3Klingtal.Ini"

if ! wmctrl -m >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 0.5  # it announces itself before it has finished starting up
fi

SDL_AUDIODRIVER=pulseaudio "$work/mp3klingtal" &
app=$!
pids+=($app)
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^MP3 Klingtal$' | head -n 1) ||
    fail "the window did not appear"
sleep 0.5

# Play: the play button's middle, in client coordinates.
xdotool mousemove --window "$wid" 30 87 click 1
ok=0
for _ in $(seq 30); do
    if pactl list sink-inputs | grep -q 'Sink Input'; then ok=1; break; fi
    sleep 0.1
done
[ $ok -eq 1 ] || fail "no playback stream on the sound server"

xdotool windowminimize "$wid"
title=""
for _ in $(seq 40); do
    title=$(xdotool getwindowname "$wid")
    [[ $title =~ ^0:0[0-9]\ (Erstes|Zweites)\ Lied\.mp3$ ]] && break
    sleep 0.1
done
[[ $title =~ ^0:0[0-9]\ (Erstes|Zweites)\ Lied\.mp3$ ]] || fail "minimised title was '$title'"

xdotool windowactivate --sync "$wid" 2>/dev/null || wmctrl -i -a "$wid"
sleep 0.5
wmctrl -i -c "$wid"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end after the close request"

ini="$work/MP3Klingtal.Ini"
[ "$(wc -l <"$ini")" -eq 12 ] || fail "settings file does not have twelve lines"
grep -q $'^Pfad = '"$work"$'/Lieder/\r$' "$ini" || fail "Pfad not kept"
grep -q $'^FensterPos = 1\r$' "$ini" || fail "FensterPos not kept"
grep -q $'^AktSong = 0\r$' "$ini" || fail "AktSong not written"

# Ending the session (SIGTERM) closes it as the close button does: the settings are written.
# start_until TITLE [ARG...]: starts the program in $work with ARGs and waits until a window
# titled TITLE shows. Then end_within TENTHS: sends SIGTERM and waits that many tenths of a
# second for the end.
start_until() {
    (cd "$work" && SDL_AUDIODRIVER=pulseaudio exec ./mp3klingtal "${@:2}") &
    app=$!
    pids+=($app)
    timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null ||
        fail "no window '$1'"
    sleep 0.5
    rm -f "$ini"
}
end_within() {
    kill -TERM "$app"
    for _ in $(seq "$1"); do kill -0 "$app" 2>/dev/null || return 0; sleep 0.1; done
    ! kill -0 "$app" 2>/dev/null
}
sed -i 's/^FensterXPos = .*/FensterXPos = 140\r/' "$ini"
start_until 'MP3 Klingtal'
end_within 100 || fail "the program did not end after SIGTERM"
[ -f "$ini" ] || fail "no settings file written after SIGTERM"
grep -q $'^FensterXPos = 140\r$' "$ini" || fail "window position not kept after SIGTERM"
# And while a message box waits (the folder is missing, which the start-up scan reports): it
# ends within a second and writes its settings all the same.
printf 'Pfad = %s/Fehlt/\r\nFensterXPos = 150\r\n' "$work" >"$ini"
start_until Fehler
end_within 10 || fail "the program did not end within a second of SIGTERM under a message"
grep -q $'^Pfad = '"$work"$'/Fehlt/\r$' "$ini" || fail "settings not written after SIGTERM under a message"
# The list goes on while the About window is open: the first song ends and the second starts;
# SIGTERM then ends the program from there too.
printf 'Pfad = %s/Lieder/\r\nOptionOn = 1\r\n' "$work" >"$ini"
start_until 'MP3 Klingtal'
wid=$(xdotool search --onlyvisible --name '^MP3 Klingtal$' | head -n 1)
xdotool mousemove --window "$wid" 30 87 click 1 sleep 0.5 mousemove --window "$wid" 275 106 click 1
timeout 5 xdotool search --sync --onlyvisible --name 'ber MP3 Klingtal$' >/dev/null ||
    fail "the About window did not open"
sleep 6
end_within 10 || fail "the program did not end within a second of SIGTERM under the About window"
grep -q $'^AktSong = 1\r$' "$ini" || fail "the list did not go on while the About window was open"
# And while the folder requester is open, which runs its own toolkit's loop. (SIGKILL when it
# failed: the clean-up's SIGTERM would not end it either.)
printf 'Pfad = %s/Lieder/\r\n' "$work" >"$ini"
start_until 'MP3 Klingtal'
wid=$(xdotool search --onlyvisible --name '^MP3 Klingtal$' | head -n 1)
xdotool mousemove --window "$wid" 251 9 click 1
timeout 10 xdotool search --sync --onlyvisible --name 'hle das Verzeichnis' >/dev/null ||
    fail "the folder requester did not open"
sleep 0.5
end_within 10 || {
    kill -KILL "$app"
    fail "the program did not end within a second of SIGTERM under the folder requester"
}
grep -q $'^Pfad = '"$work"$'/Lieder/\r$' "$ini" || fail "no settings after SIGTERM under the requester"
# Started with a song of another folder (a relative path, as a file manager may give), it shows
# that folder.
mkdir "$work/Andere"
cp "$work/Lieder/Erstes Lied.mp3" "$work/Andere/"
start_until 'MP3 Klingtal' "Andere/Erstes Lied.mp3"
end_within 100 || fail "the program did not end after SIGTERM"
grep -q $'^Pfad = '"$work"$'/Andere/\r$' "$ini" || fail "the folder of the song given was not taken"
echo "smoke test passed"
