#!/usr/bin/env bash
# Starts the real program on a private session bus next to a folder of three tagged songs and
# drives it with playerctl: play, status, metadata, next, pause, position, loop, shuffle,
# stop and volume, with a `playerctl --follow` watching every change, and busctl looking at
# the interfaces; then types the window's keys (xdotool) and watches them on the bus; then
# starts second programs with a song, a folder and nothing, which hand over and end. Then
# quits it over the bus and reads the play modes and the folder from its settings.
# Usage: mpris_test.sh PROGRAM. Exit 77 (skipped) without a display, sound server or tools.
set -uo pipefail
program=$1
[ -n "${DISPLAY:-}" ] || { echo "skipped: no DISPLAY"; exit 77; }
pactl info >/dev/null 2>&1 || { echo "skipped: no PulseAudio server"; exit 77; }
for tool in dbus-daemon playerctl busctl lame xdotool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "ok    $1"
    else
        echo "FAIL  $1: expected '$2', got '$3'"
        failures=$((failures + 1))
    fi
}
# until_is EXPECTED COMMAND...: the command's output, once it is EXPECTED (or after 3 s).
until_is() {
    local expected=$1 got=""
    shift
    for _ in $(seq 30); do
        got=$("$@" 2>/dev/null)
        [ "$got" = "$expected" ] && break
        sleep 0.1
    done
    echo "$got"
}

read -r address pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | tr '\n' ' ')
pids+=("$pid")
export DBUS_SESSION_BUS_ADDRESS=$address

# Three 5-second songs of silence with ID3v1 tags, the first title with an umlaut.
mkdir -p "$work/Lieder"
n=1
for title in "Erstes Lied" "Zweites Lied" "Drittes Lied"; do
    head -c 882000 /dev/zero | lame -r -s 44.1 --bitwidth 16 -m s -b 128 --quiet --id3v1-only \
        --tt "${title/Erstes/Ärstes}" --ta "Die Band" --tl "Das Album" - \
        "$work/Lieder/$n $title.mp3" 2>/dev/null
    n=$((n + 1))
done
mkdir "$work/Programm"
cp "$program" "$work/Programm/mp3klingtal"
printf 'Pfad = %s/Lieder/\r\nAlle = 1\r\nWiederholen = 0\r\nZufall = 0\r\n' "$work" \
    >"$work/Programm/MP3Klingtal.Ini"
SDL_AUDIODRIVER=pulseaudio "$work/Programm/mp3klingtal" >"$work/program.log" 2>&1 &
app=$!
pids+=($app)

player() { playerctl -p mp3klingtal "$@"; }
check "the program is on the bus" "mp3klingtal" "$(until_is mp3klingtal playerctl -l)"
interfaces=$(busctl --user introspect org.mpris.MediaPlayer2.mp3klingtal /org/mpris/MediaPlayer2 \
    | awk '$2 == "interface" { print $1 }' | grep mpris | sort | tr '\n' ' ')
check "busctl shows both interfaces" "org.mpris.MediaPlayer2 org.mpris.MediaPlayer2.Player " \
    "$interfaces"
check "identity" '"MP3 Klingtal"' "$(busctl --user get-property org.mpris.MediaPlayer2.mp3klingtal \
    /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2 Identity | cut -d' ' -f2-)"

player --follow status >"$work/follow" 2>/dev/null &
pids+=($!)
sleep 0.5

player play
check "play" "Playing" "$(until_is Playing player status)"
check "title from the tag" "Ärstes Lied" "$(player metadata title)"
check "artist" "Die Band" "$(player metadata artist)"
length=$(player metadata mpris:length)
check "length about 5 s" 1 "$([ "${length:-0}" -ge 4900000 ] && [ "$length" -le 5200000 ] && echo 1)"
# The position is the one now, not the last poll's (a null sink may take a second or two to
# start pulling, and the position counts what is queued for it): read twice 1.2 s apart, once
# the song is well under way.
for _ in $(seq 50); do
    awk -v p="$(player position)" 'BEGIN { exit !(p >= 1.0) }' && break
    sleep 0.1
done
# Each read is timed, since playerctl itself may take a while to start on a busy machine.
t0=$(date +%s.%N) first=$(player position) t1=$(date +%s.%N)
sleep 1.2
t2=$(date +%s.%N) second=$(player position) t3=$(date +%s.%N)
check "position 1.2 s later (from $first to $second)" 1 "$(awk -v a="$first" -v b="$second" \
    -v t0="$t0" -v t1="$t1" -v t2="$t2" -v t3="$t3" \
    'BEGIN { d = b - a; print (d >= t2 - t1 - 0.1 && d <= t3 - t0 + 0.1) }')"

player next
check "next" "Zweites Lied" "$(until_is "Zweites Lied" player metadata title)"
check "url" "file://${work// /%20}/Lieder/2%20Zweites%20Lied.mp3" "$(player metadata xesam:url)"
player pause
check "pause" "Paused" "$(until_is Paused player status)"
held=$(player position)
sleep 0.5
check "a paused song holds its position" "$held" "$(player position)"

player loop Playlist
check "loop Playlist" "Playlist" "$(until_is Playlist player loop)"
player shuffle On
check "shuffle On" "On" "$(until_is On player shuffle)"
player loop Track  # "Alle" springs back while random order is on
sleep 0.3
check "loop Track under random order stays Playlist" "Playlist" "$(player loop)"

player stop
check "stop" "Stopped" "$(until_is Stopped player status)"
player volume 0.5
sink_volume() { pactl get-sink-volume @DEFAULT_SINK@ | grep -o '[0-9]*%' | head -n 1; }
volume=$(until_is 50% sink_volume)
check "volume 0.5 sets the sink to half" "50%" "$volume"
check "volume read back" "0.50" "$(player volume | cut -c1-4)"

sleep 0.3
check "--follow saw every change" "Stopped Playing Paused Stopped" "$(tr '\n' ' ' <"$work/follow" | sed 's/ $//')"

# The window's keys, as the user types them: each is its button's click, seen on the bus.
window=$(xdotool search --name '^MP3 Klingtal$' | head -n 1)
key() { xdotool key --window "$window" "$1" 2>/dev/null; }
key x
check "X plays" "Playing" "$(until_is Playing player status)"
title=$(player metadata title)
key b
check "B goes to the next song" 1 "$(for _ in $(seq 30); do
    [ "$(player metadata title)" != "$title" ] && { echo 1; break; }; sleep 0.1; done)"
key c
check "C pauses" "Paused" "$(until_is Paused player status)"
key z
check "Z goes back to the song before" "$title" "$(until_is "$title" player metadata title)"
key v
check "V stops" "Stopped" "$(until_is Stopped player status)"
key plus
check "+ raises the volume by 5 %" "55%" "$(until_is 55% sink_volume)"
key minus
check "- lowers it again" "50%" "$(until_is 50% sink_volume)"

# Programs started while this one runs hand over what they were given and end: a song opens its
# folder and plays, a folder opens stopped, nothing at all only raises the window. Started from
# a folder of their own, where they would write their settings if they ran.
mkdir -p "$work/Zweites" "$work/Andere"
cp "$program" "$work/Zweites/mp3klingtal"
for title in "Anderes Eins" "Anderes Zwei"; do  # 10 s: the handed song is still playing when seen
    head -c 1764000 /dev/zero | lame -r -s 44.1 --bitwidth 16 -m s -b 128 --quiet --id3v1-only \
        --tt "$title" - "$work/Andere/$title.mp3" 2>/dev/null
done
second() {  # second [PATH]: a later program's exit status, once it has ended (or 124 after 30 s)
    (cd "$work" && timeout 30 "$work/Zweites/mp3klingtal" "$@" >>"$work/second.log" 2>&1)
    echo $?
}
check "a second program with a song hands it over and ends" 0 "$(second "Andere/Anderes Zwei.mp3")"
check "the first plays that song" "Anderes Zwei Playing" \
    "$(until_is "Anderes Zwei Playing" player metadata --format '{{title}} {{status}}')"
player stop
until_is Stopped player status >/dev/null
check "a second program with a folder hands it over" 0 "$(second "$work/Lieder")"
check "the first shows that folder, stopped" "Ärstes Lied Stopped" \
    "$(until_is "Ärstes Lied Stopped" player metadata --format '{{title}} {{status}}')"
check "a second program without arguments only raises the first" 0 "$(second)"
check "one program on the bus" "mp3klingtal" "$(playerctl -l 2>/dev/null | tr '\n' ' ' | sed 's/ $//')"
check "the later programs wrote no settings" 0 "$(ls "$work/Zweites" | grep -c Ini)"

busctl --user call org.mpris.MediaPlayer2.mp3klingtal /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2 Quit
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
check "Quit ends the program" 0 "$(kill -0 "$app" 2>/dev/null && echo 1 || echo 0)"
ini="$work/Programm/MP3Klingtal.Ini"
check "the folder handed over last was saved" "Pfad = $work/Lieder/" \
    "$(grep '^Pfad ' "$ini" | tr -d '\r')"
check "the modes were saved" "Alle = 1 Wiederholen = 1 Zufall = 1" \
    "$(grep -E '^(Alle|Wiederholen|Zufall) ' "$ini" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//')"

[ $failures -eq 0 ] || { echo "$failures checks failed"; cat "$work/program.log"; exit 1; }
echo "mpris test passed"
