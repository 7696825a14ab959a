#!/usr/bin/env bash
# Started without a desktop the program says so in one line on standard error, ends with 1 and
# writes no settings: without any display variable, and with a display that cannot be opened.
# --help and --version answer with one line and 0, an unknown option with the usage and 2, all
# without a desktop.
# Usage: no_display_test.sh PROGRAM
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp "$1" "$work/mp3klingtal"

expect_refusal() {  # expect_refusal REASON-PATTERN ENV-ARGUMENTS...
    local pattern=$1 status=0
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY "$@" "$work/mp3klingtal" >"$work/out" 2>"$work/err" ||
        status=$?
    [ "$status" -eq 1 ] || fail "exit status $status with $*"
    [ ! -s "$work/out" ] || fail "standard output not empty with $*"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "not one line on standard error with $*: $(cat "$work/err")"
    grep -qE "^MP3 Klingtal needs a graphical desktop: $pattern\.$" "$work/err" ||
        fail "message was '$(cat "$work/err")'"
    [ ! -e "$work/MP3Klingtal.Ini" ] || fail "settings written with $*"
}
expect_refusal "no DISPLAY or WAYLAND_DISPLAY is set"
expect_refusal "the X display :4711 cannot be opened" DISPLAY=:4711
expect_refusal "DISPLAY is not set.*XWayland" WAYLAND_DISPLAY=wayland-0
expect_answer() {  # expect_answer STATUS STREAM PATTERN ARGUMENTS...
    local want=$1 stream=$2 pattern=$3 status=0
    shift 3
    env -u DISPLAY -u WAYLAND_DISPLAY "$work/mp3klingtal" "$@" >"$work/out" 2>"$work/err" ||
        status=$?
    [ "$status" -eq "$want" ] || fail "exit status $status with $*"
    [ "$(wc -l <"$work/$stream")" -eq 1 ] || fail "not one line with $*"
    grep -qE "$pattern" "$work/$stream" || fail "answer to $* was '$(cat "$work/$stream")'"
    [ ! -e "$work/MP3Klingtal.Ini" ] || fail "settings written with $*"
}
expect_answer 0 out '^Usage: mp3klingtal ' --help
expect_answer 0 out '^MP3 Klingtal [0-9]+\.[0-9]+' --version
expect_answer 2 err '^Usage: mp3klingtal ' --lauter
echo "no-display test passed"
