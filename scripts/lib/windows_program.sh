# Sourced by scripts/test-windows: the whole-program run under Wine and the DLL check.
#   program_run NAME EXE ALPHA OPTIONON XP [endsession] - starts EXE next to a prepared
#       MP3Klingtal.Ini and a folder of three short songs, looks at the window (and its media
#       keys) with klingtal_probe.exe, closes it (or ends the session under it, then ends the
#       process as Windows does) and compares the settings file it wrote with the one it was given
#   only_system_dlls EXE - the executable imports nothing but DLLs every Windows has
#   has_resources EXE - the executable carries its version information and manifest
# Uses $work, $root, check() and the Wine variables of scripts/test-windows.

program_run() {
    local name=$1 exe=$2 alpha=$3 option=$4 xp=$5 ending=${6:-close}
    local dir="$work/$name" music="$work/$name/Müsik"
    mkdir -p "$dir/Programm" "$music/Unter"
    cp "$exe" "$dir/Programm/MP3Klingtal.exe"
    # One second of silence is a valid MP3; the program only reads the headers.
    local song
    for song in "$music/eins.mp3" "$music/zwei & drei.mp3" "$music/Unter/vier.mp3"; do
        head -c 88200 /dev/zero | lame -r -s 44.1 --bitwidth 16 -m m -b 128 --quiet - "$song" 2>/dev/null
    done
    # The file the program writes, in its own format and the ANSI code page ("ü" as 0xFC).
    local folder
    folder="Z:$(sed 's|/|\\|g' <<<"$music")\\"
    printf 'Pfad = %s\r\nAktSong = 1\r\nAlwaysOnTop = 0\r\nOptionOn = %s\r\nTransparenz = %s\r\nFensterPos = 1\r\nFensterXPos = 120\r\nFensterYPos = 90\r\nAlle = 1\r\nWiederholen = 0\r\nZufall = 0\r\nUnterverz = 1\r\n' \
        "$folder" "$option" "$alpha" | iconv -f UTF-8 -t CP1252 >"$dir/expected.ini"
    cp "$dir/expected.ini" "$dir/Programm/MP3Klingtal.Ini"

    (cd "$dir/Programm" && exec wine ./MP3Klingtal.exe) >"$dir/program.log" 2>&1 &
    local program=$! ini
    ini="Z:$(sed 's|/|\\|g' <<<"$dir/Programm/MP3Klingtal.Ini")"
    local probe_args=(60000)
    [ "$ending" = endsession ] && probe_args+=(endsession "$ini")
    (cd "$root/build/win64/tests/win32" && timeout 120 wine ./klingtal_probe.exe "${probe_args[@]}") \
        >"$dir/probe.txt" 2>/dev/null || true
    tr -d '\r' <"$dir/probe.txt" >"$dir/probe" && sed 's/^/   | /' "$dir/probe"
    local waited=0
    while kill -0 "$program" 2>/dev/null && [ $waited -lt 300 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    kill "$program" 2>/dev/null || true

    # The song length display is not checked: the program measures a song by seeking to its
    # end, which Wine's MCI cannot do with an MP3 (it answers 277); Linux tests that path.
    seen() { grep -qx "$1" "$dir/probe"; }
    check "$name: window found, 3 songs shown" seen "songs=3"
    if [ "$ending" = endsession ]; then
        check "$name: process ended right after the session-end messages" seen "ended=1"
        check "$name: settings file written at the session's end, byte for byte" \
            cmp "$dir/expected.ini" "$dir/Programm/MP3Klingtal.Ini"
        return
    fi
    check "$name: window closed by WM_CLOSE" seen "closed=1"
    check "$name: media stop command answered" seen "appcommand=1"
    check "$name: play/pause key held while running" seen "media_key_held=1"
    check "$name: program ended" test $waited -lt 300
    if [ "$option" = 0 ]; then check "$name: client area 285 x 116" seen "client=285x116"; fi
    if [ "$xp" = 1 ]; then
        check "$name: transparency controls shown" seen "transparency_shown=11"
        check "$name: layered with the stored opacity" seen "alpha=$alpha"
        check "$name: slider at the stored opacity" seen "transparency_slider=$alpha"
    else
        check "$name: no transparency controls" seen "transparency_shown=00"
        check "$name: not layered" seen "layered=0"
    fi
    check "$name: settings file written back byte for byte" \
        cmp "$dir/expected.ini" "$dir/Programm/MP3Klingtal.Ini"
}

only_system_dlls() {
    local dll bad=0 count=0
    while read -r dll; do
        count=$((count + 1))
        case "${dll,,}" in
            kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | shell32.dll | \
                ole32.dll | oleaut32.dll | winmm.dll | advapi32.dll | msvcrt.dll | shlwapi.dll) ;;
            *) echo "   imports $dll" && bad=1 ;;
        esac
    done < <(x86_64-w64-mingw32-objdump -p "$1" | sed -nE 's/^\s*DLL Name: (.*)$/\1/p')
    [ $bad -eq 0 ] && [ $count -gt 0 ]  # no imports at all would mean objdump read nothing
}

has_resources() {
    strings -el "$1" | grep -qx "MP3 Klingtal" &&
        strings -el "$1" | grep -qx "$(sed -nE 's/^project\(MP3Klingtal VERSION ([0-9.]+).*/\1/p' \
            "$root/CMakeLists.txt")" &&
        grep -aq "Microsoft.Windows.Common-Controls" "$1"
}
