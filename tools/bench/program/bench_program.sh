#!/usr/bin/env bash
# What the real program costs on an X display with a PulseAudio server: CPU seconds per minute,
# the wake-ups per second (of the main thread, and of all threads while playing) and peak
# resident memory, first idle with a song list of 10,000 entries and nothing playing,
# then playing a long song from that list, then that song paused; and, in the same run, what
# `mpg123 -o pulse` costs playing the same song. Starts openbox when no window manager runs. Wants a display of its
# own: another window named "MP3 Klingtal" there would be taken for the program's.
# Usage: bench_program.sh [PROGRAM] [BENCH_CORPUS]
#   defaults: build/release/mp3klingtal, build/release/tools/bench/corpus/bench_corpus
#   BENCH_SECONDS (default 60) sets the length of each measured stretch.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
program=$(realpath "${1:-$root/build/release/mp3klingtal}")
corpus_maker=$(realpath "${2:-$root/build/release/tools/bench/corpus/bench_corpus}")
seconds=${BENCH_SECONDS:-60}

[ -n "${DISPLAY:-}" ] || { echo "skipped: no DISPLAY"; exit 0; }
pactl info >/dev/null 2>&1 || { echo "skipped: no PulseAudio server"; exit 0; }
for tool in xdotool wmctrl lame mpg123 python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
done
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
[ -x "$corpus_maker" ] || { echo "no corpus maker at $corpus_maker" >&2; exit 1; }

work=$(mktemp -d)
pids=()
app=""
cleanup() {
    # KILL for the program: it takes TERM as a quit request it never reads.
    [ -z "$app" ] || kill -KILL "$app" 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

hz=$(getconf CLK_TCK)
# utime + stime of every thread of process $1 (of thread $2 alone when given), in clock
# ticks. The command name is cut off first: it sits in parentheses and may hold spaces.
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/${2:+task/$2/}stat")
    stat=${stat##*) }
    read -r -a fields <<<"$stat"
    echo $((fields[11] + fields[12]))
}
now() { date +%s.%N; }
peak_kib() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
# CPU seconds per minute of wall clock: ticks, start and end time.
per_minute() { awk -v t="$1" -v a="$2" -v b="$3" -v hz="$hz" 'BEGIN { printf "%.3f", t / hz * 60 / (b - a) }'; }
# How often the main thread of pid has gone to sleep of its own accord: each one is a wait
# that some event, time-out or descriptor later ended, so the count is its wake-ups.
wakeups() { awk '/^voluntary_ctxt_switches:/ { print $2 }' "/proc/$1/task/$1/status"; }
# The same summed over all threads of pid (a thread that ends meanwhile takes its count along).
all_wakeups() {
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}
# Measures pid over the stretch; sets stretch_ticks (all threads), main_ticks (the main
# thread alone), main_wakeups (the main thread's), all_wakeups_count (all threads'),
# stretch_start and stretch_end.
measure() {
    local t0 t1 m0 m1 w0 w1 a0 a1
    t0=$(cpu_ticks "$1")
    m0=$(cpu_ticks "$1" "$1")
    w0=$(wakeups "$1")
    a0=$(all_wakeups "$1")
    stretch_start=$(now)
    sleep "$seconds"
    t1=$(cpu_ticks "$1")
    m1=$(cpu_ticks "$1" "$1")
    w1=$(wakeups "$1")
    a1=$(all_wakeups "$1")
    stretch_end=$(now)
    stretch_ticks=$((t1 - t0))
    main_ticks=$((m1 - m0))
    main_wakeups=$((w1 - w0))
    all_wakeups_count=$((a1 - a0))
}
# Wake-ups per second over the stretch.
per_second() { awk -v n="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%.2f", n / (b - a) }'; }
# Waits until pid has used at most 3 % of a core for a second (at most limit seconds).
settle() {
    local before after
    for _ in $(seq "$2"); do
        before=$(cpu_ticks "$1")
        sleep 1
        after=$(cpu_ticks "$1")
        [ $((after - before)) -le $((hz * 3 / 100)) ] && return 0
    done
    return 1
}
# Whether the sound server holds a playback stream of pid (others may play meanwhile).
has_stream() {
    local inputs
    inputs=$(pactl list sink-inputs)
    grep -q "application.process.id = \"$1\"" <<<"$inputs"
}

# The song list: one long song (first in the list's order) and 9,999 small ones.
songs="$work/Lieder"
"$corpus_maker" "$songs" 9999
long="$songs/Langes Lied.mp3"
python3 - "$work/long.wav" "$((seconds + 30))" <<'PY'
import array, math, sys, wave
rate, length = 44100, int(sys.argv[2])
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(rate)
    for second in range(length):
        tone = 300 + 20 * (second % 10)
        frames = array.array("h")
        for i in range(rate):
            v = int(8000 * math.sin(2 * math.pi * tone * i / rate))
            frames.append(v); frames.append(v)
        w.writeframes(frames.tobytes())
PY
lame --quiet -b 128 "$work/long.wav" "$long"
rm -f "$work/long.wav"
count=$(find "$songs" -maxdepth 1 -name '*.mp3' | wc -l)

cp "$program" "$work/mp3klingtal"
printf 'Pfad = %s/\r\nAktSong = 0\r\nFensterPos = 1\r\nFensterXPos = 120\r\nFensterYPos = 90\r\n' \
    "$songs" >"$work/MP3Klingtal.Ini"

if ! wmctrl -m >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
fi

started=$(now)
SDL_AUDIODRIVER=pulseaudio "$work/mp3klingtal" &
app=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^MP3 Klingtal$' | head -n 1)
[ -n "$wid" ] || { echo "the window did not appear" >&2; exit 1; }
settle "$app" 60 || echo "note: the program did not come to rest within 60 s" >&2
ready=$(now)
start_cpu=$(awk -v t="$(cpu_ticks "$app")" -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }')

measure "$app"
idle=$(per_minute "$stretch_ticks" "$stretch_start" "$stretch_end")
idle_wakeups=$(per_second "$main_wakeups" "$stretch_start" "$stretch_end")
idle_peak=$(peak_kib "$app")

xdotool mousemove --window "$wid" 30 87 click 1
for _ in $(seq 50); do
    has_stream "$app" && break
    sleep 0.1
done
has_stream "$app" || { echo "no playback stream after the click" >&2; exit 1; }
sleep 2
measure "$app"
playing=$(per_minute "$stretch_ticks" "$stretch_start" "$stretch_end")
playing_main=$(per_minute "$main_ticks" "$stretch_start" "$stretch_end")
playing_wakeups=$(per_second "$main_wakeups" "$stretch_start" "$stretch_end")
playing_all_wakeups=$(per_second "$all_wakeups_count" "$stretch_start" "$stretch_end")
has_stream "$app" || echo "note: the stream ended during the measurement" >&2
peak=$(peak_kib "$app")

# The pause button: paused, the program should cost what idle costs.
xdotool mousemove --window "$wid" 49 87 click 1
sleep 2
has_stream "$app" && echo "note: the playback stream stays while paused" >&2
measure "$app"
paused=$(per_minute "$stretch_ticks" "$stretch_start" "$stretch_end")

wmctrl -i -c "$wid" || true
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
    echo "note: the program did not end within 20 s of the close request; killed" >&2
    kill -KILL "$app"
fi
wait "$app" 2>/dev/null || true
app=""

mpg123 -q -o pulse "$long" 2>/dev/null &
player=$!
pids+=($player)
sleep 2
measure "$player"
reference=$(per_minute "$stretch_ticks" "$stretch_start" "$stretch_end")
reference_wakeups=$(per_second "$all_wakeups_count" "$stretch_start" "$stretch_end")
reference_peak=$(peak_kib "$player")
kill "$player" 2>/dev/null || true
wait "$player" 2>/dev/null || true

awk -v n="$count" -v s="$seconds" -v up="$(awk -v a="$started" -v b="$ready" 'BEGIN { print b - a }')" \
    -v startcpu="$start_cpu" -v idle="$idle" -v idlepeak="$idle_peak" -v playing="$playing" \
    -v main="$playing_main" -v paused="$paused" -v peak="$peak" -v ref="$reference" -v refpeak="$reference_peak" \
    -v idlewake="$idle_wakeups" -v playwake="$playing_wakeups" -v allwake="$playing_all_wakeups" \
    -v refwake="$reference_wakeups" 'BEGIN {
    printf "song list: %d entries; each stretch %d s\n", n, s
    printf "start-up until at rest:    %.1f s, %.2f CPU s\n", up, startcpu
    printf "idle:                      %.3f CPU s per minute (%.2f %% of one core)\n", idle, idle / 0.6
    printf "idle main-thread wake-ups: %.2f per second\n", idlewake
    printf "idle peak resident memory: %.1f MiB\n", idlepeak / 1024
    printf "playing:                   %.3f CPU s per minute (main thread %.3f, others %.3f)\n",
        playing, main, playing - main
    printf "playing main-thread wake-ups: %.2f per second\n", playwake
    printf "playing, all threads: wakeups: %.2f per second\n", allwake
    printf "paused:                    %.3f CPU s per minute (%.2f %% of one core)\n", paused, paused / 0.6
    printf "mpg123 -o pulse:           %.3f CPU s per minute, peak %.1f MiB, %.2f wake-ups per second\n",
        ref, refpeak / 1024, refwake
    printf "ratio playing/mpg123:      %.2f\n", (ref > 0 ? playing / ref : 0)
    printf "peak resident memory:      %.1f MiB (VmHWM)\n", peak / 1024
}'
