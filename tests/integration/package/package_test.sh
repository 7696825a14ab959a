#!/usr/bin/env bash
# The Debian package's checks, one per call:
#   build DIR BUILD  - packs BUILD's install rules with CPack into DIR/mp3klingtal_*.deb
#   lintian DIR      - lintian reports no error (every tag it finds is printed)
#   metadata DIR     - the AppStream metainfo and the desktop entry validate, also together
#   contents DIR     - dpkg-deb -c lists every file where it belongs
#   start DIR        - the program unpacked with dpkg-deb -x starts under X from there (as
#                      root when the tests run as root), finds and rewrites its settings under
#                      $XDG_CONFIG_HOME and writes nothing into its bin folder, which it could;
#                      its window's class is the desktop entry's StartupWMClass
# Exit 77 (skipped) when a tool or the display is missing.
set -euo pipefail
check=$1 dir=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || { echo "skipped: $1 is not installed"; exit 77; }; }
deb() { ls "$dir"/mp3klingtal_*.deb; }

case $check in
build)
    need cpack
    rm -rf "$dir"
    (cd "$3" && cpack -G DEB -B "$dir")
    deb
    ;;
lintian)
    need lintian
    # Every tag down to the pedantic ones is listed; only an error fails.
    status=0
    lintian --display-info --pedantic --fail-on error "$(deb)" >"$dir/lintian.txt" 2>&1 || status=$?
    grep -v 'root privileges' "$dir/lintian.txt" || true
    [ "$status" -eq 0 ] || fail "lintian reports an error"
    ;;
metadata)
    need appstreamcli
    need desktop-file-validate
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg-deb -x "$(deb)" "$root"
    appstreamcli validate --no-net "$root"/usr/share/metainfo/org.example.mp3klingtal.metainfo.xml
    desktop-file-validate "$root/usr/share/applications/mp3klingtal.desktop"
    # The metainfo, the desktop entry it launches and the icon, as a software centre sees them.
    appstreamcli validate-tree --no-net "$root"
    ;;
contents)
    listing=$(dpkg-deb -c "$(deb)")
    echo "$listing"
    for file in bin/mp3klingtal share/applications/mp3klingtal.desktop \
        share/icons/hicolor/48x48/apps/mp3klingtal.png \
        share/icons/hicolor/256x256/apps/mp3klingtal.png \
        share/metainfo/org.example.mp3klingtal.metainfo.xml share/man/man1/mp3klingtal.1.gz \
        share/doc/mp3klingtal/copyright share/doc/mp3klingtal/changelog.gz; do
        grep -qE " \./usr/$file\$" <<<"$listing" || fail "/usr/$file is not in the package"
    done
    grep -qE '^-rwxr-xr-x root/root .* \./usr/bin/mp3klingtal$' <<<"$listing" ||
        fail "the executable is not root's and executable for all"
    ;;
start)
    [ -n "${DISPLAY:-}" ] || { echo "skipped: no DISPLAY"; exit 77; }
    need xdotool
    work=$(mktemp -d)
    pid=""
    trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; chmod -R u+w "$work"; rm -rf "$work"' EXIT
    chmod 755 "$work"
    dpkg-deb -x "$(deb)" "$work/root"
    mkdir -p "$work/config/mp3klingtal" "$work/home" "$work/Lieder"
    printf 'Pfad = %s/Lieder/\r\nOptionOn = 1\r\n' "$work" >"$work/config/mp3klingtal/MP3Klingtal.Ini"
    # The bin folder is writable here, as /usr/bin is for root: an installed program must keep
    # its settings in the user's folder all the same.
    env HOME="$work/home" XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy \
        "$work/root/usr/bin/mp3klingtal" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^MP3 Klingtal$' |
        head -n 1) || fail "the window did not appear"
    xprop -id "$window" WM_CLASS | grep -q '"mp3klingtal"' || fail "the window class is not mp3klingtal"
    kill -TERM "$pid"  # closes the window as its close box does, settings written
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end after SIGTERM"
    pid=""
    ini="$work/config/mp3klingtal/MP3Klingtal.Ini"
    [ "$(wc -l <"$ini")" -eq 12 ] || fail "the settings under XDG_CONFIG_HOME were not rewritten"
    # Read as well as written: the folder and the extended mode are the ones given.
    grep -q $'^Pfad = '"$work"$'/Lieder/\r$' "$ini" || fail "Pfad not taken from the settings"
    grep -q $'^OptionOn = 1\r$' "$ini" || fail "OptionOn not taken from the settings"
    [ "$(ls "$work/root/usr/bin")" = mp3klingtal ] || fail "something was written next to the program"
    echo "started from the unpacked package; settings kept in $ini"
    ;;
*)
    fail "unknown check $check"
    ;;
esac
