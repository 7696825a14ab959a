# Sourced by scripts/test-windows: the whole-program runs under Wine and the executable checks.
#   program_run NAME EXE ALPHA OPTIONON XP [endsession|keys] - starts EXE next to a prepared
#       MP3Klingtal.Ini and a folder of three short songs, looks at the window (and its media
#       keys; with keys also Tab, names, sizes, the About window's owner and the letter and
#       volume keys) with klingtal_probe.exe, closes it (or ends the session under it, then ends the
#       process as Windows does) and compares the settings file it wrote with the one it was given
#   unicode_run NAME EXE - the same from a program folder, a music folder and songs named in
#       Cyrillic and CJK: the names in the drop-down, bitrates, the info message of a UTF-8 and
#       a Windows-1252 tag, the minimised title, the settings file round trip (UTF-8 with BOM)
#   readonly_run EXE - the program in a folder it may not write to (a read-only bind mount):
#       its settings go to %APPDATA%\MP3Klingtal\ and are found there at the next start
#   handover_run EXE - a second program started with a song while one runs hands it over and
#       ends without writing settings; the first lists the song's folder and plays that song
#   only_system_dlls EXE - the executable imports nothing but DLLs every Windows has
#   no_ansi_file_calls EXE - it takes no file name, path or message text through an ...A call
#   has_resources EXE - the executable carries its version information and manifest
# Uses $work, $root, $wine_loader, check() and the Wine variables of scripts/test-windows.

win_path() {  # the Windows name Wine gives a Linux path
    echo "Z:$(sed 's|/|\\|g' <<<"$1")"
}

# make_song PATH [lame options]: 20 seconds of silence, a valid MP3; long enough that no song
# ends and moves on while a probe plays, steps, pauses and looks, however busy the machine.
make_song() {
    local path=$1
    shift
    head -c $((88200 * 20)) /dev/zero | lame -r -s 44.1 --bitwidth 16 -m m -b 128 --quiet "$@" - "$path" \
        2>/dev/null
}

# settings_file FOLDER AKTSONG OPTIONON ALPHA ALLE UNTERVERZ: the twelve lines as the program
# writes them, in UTF-8 (callers convert to the code page where it applies).
settings_file() {
    printf 'Pfad = %s\r\nAktSong = %s\r\nAlwaysOnTop = 0\r\nOptionOn = %s\r\nTransparenz = %s\r\nFensterPos = 1\r\nFensterXPos = 120\r\nFensterYPos = 90\r\nAlle = %s\r\nWiederholen = 0\r\nZufall = 0\r\nUnterverz = %s\r\n' \
        "$@"
}

# run_program PROGRAMDIR LOGDIR PROBE_ARGS...: starts the program in its folder, runs the probe
# (which closes it) into LOGDIR/probe, and waits for the program to end; sets $ended to 1 when
# it did. A program still running after two minutes hangs: a 32-bit one on a busy machine may
# well take half a minute to shut down under Wine.
program_args=()  # what run_program passes to the program
run_program() {
    local programdir=$1 logdir=$2
    shift 2
    (cd "$programdir" && exec "$wine_loader" ./MP3Klingtal.exe "${program_args[@]}") \
        >"$logdir/program.log" 2>&1 &
    local program=$!
    (cd "$root/build/win64/tests/win32" && timeout 120 "$wine_loader" ./klingtal_probe.exe "$@") \
        >"$logdir/probe.txt" 2>/dev/null || true
    tr -d '\r' <"$logdir/probe.txt" >"$logdir/probe" && sed 's/^/   | /' "$logdir/probe"
    local waited
    ended=0
    for ((waited = 0; waited < 1200; waited++)); do
        kill -0 "$program" 2>/dev/null || { ended=1 && break; }
        sleep 0.1
    done
    [ $ended = 0 ] || echo "   (the program ended $((waited / 10)).$((waited % 10)) s after the probe)"
    kill "$program" 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

program_run() {
    local name=$1 exe=$2 alpha=$3 option=$4 xp=$5 ending=${6:-close}
    local dir="$work/$name" music="$work/$name/Müsik"
    mkdir -p "$dir/Programm" "$music/Unter"
    cp "$exe" "$dir/Programm/MP3Klingtal.exe"
    local song
    for song in "$music/eins.mp3" "$music/zwei & drei.mp3" "$music/Unter/vier.mp3"; do
        make_song "$song"
    done
    # The file the program writes, in its own format and the ANSI code page ("ü" as 0xFC).
    settings_file "$(win_path "$music")\\" 1 "$option" "$alpha" 1 1 | iconv -f UTF-8 -t CP1252 \
        >"$dir/expected.ini"
    cp "$dir/expected.ini" "$dir/Programm/MP3Klingtal.Ini"

    local probe_args=(60000)
    [ "$ending" = endsession ] && probe_args+=(endsession "$(win_path "$dir/Programm/MP3Klingtal.Ini")")
    [ "$ending" = keys ] && probe_args+=(keys)
    run_program "$dir/Programm" "$dir" "${probe_args[@]}"

    # The song length display is not checked here: Wine's MCI cannot seek to an MP3's end (it
    # answers 277), so the program asks for the length instead; tests/win32/play_test.cpp plays
    # a song to its end that way.
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
    check "$name: program ended" test $ended = 1
    if [ "$option" = 0 ]; then check "$name: client area 285 x 116" seen "client=285x116"; fi
    if [ "$ending" = keys ]; then
        # Letters typed through the system's input: the keyboard never goes dead.
        check "$name: typed B works right after the start" seen "typed_b_after_start=3"
        check "$name: typed Z works after X with the folder button focused" seen "typed_z_after_x=2"
        check "$name: typed B works after V with the slider focused" seen "typed_b_after_v=3"
        check "$name: Escape closes the About window, the player stays in front" \
            seen "typed_about_closed=1 foreground=1"
        check "$name: typed Z works after the About window" seen "typed_z_after_about=2"
        check "$name: Tab walks folder button, song list, previous, play" \
            grep -qE '^tab=.*4,3,5,0,' "$dir/probe"
        check "$name: all 11 image buttons named" seen "named_image_buttons=11"
        check "$name: client area 285 x 162 expanded" seen "client_extended=285x162"
        check "$name: client area 285 x 116 shrunk" seen "client_compact=285x116"
        check "$name: About window owned by the main window" seen "about_owned=1"
        check "$name: X plays" seen "key_x_plays=1"
        check "$name: B goes to the next song" seen "key_b_next=3"
        check "$name: V stops" seen "key_v_stops=1"
        check "$name: - lowers the volume, + raises it" \
            awk '/^keys_volume=/ { split(substr($0, 13), v, " "); ok = v[2] < v[1] && v[3] > v[2] }
                 END { exit !ok }' "$dir/probe"
    fi
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

# id3v1_tag TITLE ARTIST ALBUM YEAR COMMENT: 128 bytes as taggers write them that copy UTF-8
# into the fields: each text cut at its field's length (also inside a character), zero-padded.
id3v1_tag() {
    field() {
        local cut
        cut=$(printf '%s' "$1" | head -c "$2" | wc -c)
        printf '%s' "$1" | head -c "$2"
        head -c $(($2 - cut)) /dev/zero
    }
    printf 'TAG'
    field "$1" 30 && field "$2" 30 && field "$3" 30 && field "$4" 4 && field "$5" 30
    printf '\377'
}

unicode_run() {
    local name=$1 exe=$2 dir="$work/$1" music="$work/$1/Музыка 東京"
    local programdir="$dir/Программа 東京"
    mkdir -p "$programdir" "$music"
    cp "$exe" "$programdir/MP3Klingtal.exe"
    make_song "$music/Мелодия.mp3"
    id3v1_tag "Мелодия" "東京" "Mädchen" 2024 "xКомментарий к песне" >>"$music/Мелодия.mp3"
    # lame writes its ID3v1 fields in Latin-1, as Windows-1252 holds them.
    make_song "$music/東京.mp3" -b 64 --resample 22.05 --id3v1-only --tt "Mädchen" \
        --ta "Die Ärzte" --tl "Grüße aus Köln" --ty 1999 --tc "schön"
    # No ANSI code page holds the folder, so the program writes the file as UTF-8 with a
    # byte-order mark. It is given such a file; all it changes is the song (the next button).
    { printf '\357\273\277' && settings_file "$(win_path "$music")\\" 0 0 255 0 0; } \
        >"$programdir/MP3Klingtal.Ini"
    { printf '\357\273\277' && settings_file "$(win_path "$music")\\" 1 0 255 0 0; } \
        >"$dir/expected.ini"
    run_program "$programdir" "$dir" 60000 details

    seen() { grep -qxF "$1" "$dir/probe"; }
    local utf8_info="Titel: Мелодия|Interpret: 東京|Album: Mädchen|Jahr: 2024|Kommentar: xКомментарий к п|"
    local ansi_info="Titel: Mädchen|Interpret: Die Ärzte|Album: Grüße aus Köln|Jahr: 1999|Kommentar: schön|"
    # The list's order is the file system's; each song's line goes with its own info text.
    pairs() {
        local n
        for n in 1 2; do
            echo "$(sed -n "s/^song$n=[0-9]* //p" "$dir/probe") => $(sed -n "s/^info$n=//p" "$dir/probe")"
        done
    }
    check "$name: program folder found, 2 songs listed" seen "songs=2"
    check "$name: drop-down shows Мелодия.mp3" grep -qxE 'item[01]=Мелодия\.mp3' "$dir/probe"
    check "$name: drop-down shows 東京.mp3" grep -qxE 'item[01]=東京\.mp3' "$dir/probe"
    check "$name: Мелодия.mp3 analysed, its UTF-8 tag shown" \
        grep -qxF "128 44100 => $utf8_info" <(pairs)
    check "$name: 東京.mp3 analysed, its Windows-1252 tag shown" \
        grep -qxF "64 22050 => $ansi_info" <(pairs)
    check "$name: minimised title shows the playing song" \
        grep -qxE 'minimised_title=[0-9]+:[0-9]{2} (Мелодия|東京)\.mp3' "$dir/probe"
    check "$name: program ended" test $ended = 1
    check "$name: settings file written back byte for byte (UTF-8 with BOM)" \
        cmp "$dir/expected.ini" "$programdir/MP3Klingtal.Ini"
}

readonly_run() {
    local exe=$1 dir="$work/readonly" music="$work/readonly/Müsik"
    mkdir -p "$dir/Programm" "$music"
    cp "$exe" "$dir/Programm/MP3Klingtal.exe"
    local song
    for song in eins zwei drei; do make_song "$music/$song.mp3"; done
    settings_file "$(win_path "$music")\\" 1 0 255 1 0 | iconv -f UTF-8 -t CP1252 >"$dir/prepared.ini"
    cp "$dir/prepared.ini" "$dir/Programm/MP3Klingtal.Ini"
    # Root may write anywhere, so permissions cannot keep it out; a read-only bind mount does.
    if ! { mount --bind "$dir/Programm" "$dir/Programm" &&
        readonly_mount="$dir/Programm" &&
        mount -o remount,bind,ro "$dir/Programm"; }; then
        check "readonly: program folder mounted read-only" false
        return
    fi
    check "readonly: program folder refuses new files" \
        bash -c "! touch '$dir/Programm/x' 2>/dev/null"
    local appdata
    appdata=$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -type d \
        -path '*/AppData/Roaming' -not -path '*/Public/*' | head -n 1)
    local userfile="$appdata/MP3Klingtal/MP3Klingtal.Ini"

    mkdir -p "$dir/first" "$dir/second"
    run_program "$dir/Programm" "$dir/first" 60000
    check "readonly: first start reads the prepared file beside the program" \
        grep -qx "current=2" "$dir/first/probe"
    check "readonly: settings written to %APPDATA%\\MP3Klingtal\\MP3Klingtal.Ini" \
        cmp "$dir/prepared.ini" "$userfile"
    # The user's file now decides: a song chosen there is the one shown at the next start.
    sed 's/^AktSong = 1\r$/AktSong = 2\r/' "$dir/prepared.ini" >"$dir/changed.ini"
    cp "$dir/changed.ini" "$userfile"
    run_program "$dir/Programm" "$dir/second" 60000
    check "readonly: next start finds the settings under %APPDATA%" \
        grep -qx "current=3" "$dir/second/probe"
    check "readonly: and writes them there again, byte for byte" cmp "$dir/changed.ini" "$userfile"
    check "readonly: prepared file beside the program untouched" \
        cmp "$dir/prepared.ini" "$dir/Programm/MP3Klingtal.Ini"
    umount "$dir/Programm" && readonly_mount=""
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

no_ansi_file_calls() {  # no_ansi_file_calls OBJDUMP EXE
    local imports found
    imports=$("$1" -p "$2")
    found=$(grep -owE 'FindFirstFileA|FindNextFileA|mciSendStringA|CreateFileA|GetModuleFileNameA|MessageBoxA' \
        <<<"$imports" | sort -u | tr '\n' ' ' || true)
    [ -z "$found" ] || echo "   imports $found"
    [ -z "$found" ] && grep -qw FindFirstFileW <<<"$imports"  # the imports were read at all
}

has_resources() {
    strings -el "$1" | grep -qx "MP3 Klingtal" &&
        strings -el "$1" | grep -qx "$(sed -nE 's/^project\(MP3Klingtal VERSION ([0-9.]+).*/\1/p' \
            "$root/CMakeLists.txt")" &&
        grep -aq "Microsoft.Windows.Common-Controls" "$1"
}

# A song named on the command line, as Explorer's "Open with" passes it, opens its folder; the
# name holds characters no ANSI code page has together, so it must come from the wide command
# line.
argument_run() {
    local exe=$1 dir="$work/argument"
    local other="$dir/Неу 東京"
    mkdir -p "$dir/Programm" "$dir/Alt" "$other"
    cp "$exe" "$dir/Programm/MP3Klingtal.exe"
    make_song "$dir/Alt/eins.mp3"
    make_song "$dir/Alt/zwei.mp3"
    make_song "$other/Лед.mp3"
    settings_file "$(win_path "$dir/Alt")\\" 0 0 255 1 0 | iconv -f UTF-8 -t CP1252 \
        >"$dir/Programm/MP3Klingtal.Ini"
    program_args=("$(win_path "$other/Лед.mp3")")
    run_program "$dir/Programm" "$dir" 60000
    program_args=()
    check "argument: the named song's folder listed" grep -qx "songs=1" "$dir/probe"
    check "argument: the named song's folder saved" \
        grep -qF "Pfad = $(win_path "$other")\\" "$dir/Programm/MP3Klingtal.Ini"
}

handover_run() {
    local exe=$1 dir="$work/handover" other="$work/handover/Неу 東京" waited=0
    mkdir -p "$dir/Programm" "$dir/Zweites" "$dir/Alt" "$other"
    cp "$exe" "$dir/Programm/MP3Klingtal.exe"
    cp "$exe" "$dir/Zweites/MP3Klingtal.exe"
    local song song_seconds=20  # still playing when the probe looks
    for song in "$dir/Alt/eins.mp3" "$other/Eis.mp3" "$other/Лед.mp3"; do make_song "$song"; done
    settings_file "$(win_path "$dir/Alt")\\" 0 0 255 0 0 | iconv -f UTF-8 -t CP1252 \
        >"$dir/Programm/MP3Klingtal.Ini"
    (cd "$dir/Programm" && exec "$wine_loader" ./MP3Klingtal.exe) >"$dir/first.log" 2>&1 &
    local first=$!
    # Its window is up (and its mutex taken) before the second one starts.
    (cd "$root/build/win64/tests/win32" && timeout 120 "$wine_loader" ./klingtal_probe.exe 60000 \
        leave) >/dev/null 2>&1 || true
    (cd "$dir/Zweites" && exec "$wine_loader" ./MP3Klingtal.exe "$(win_path "$other/Лед.mp3")") \
        >"$dir/second.log" 2>&1 &
    local second=$!
    while kill -0 "$second" 2>/dev/null && [ $waited -lt 600 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    check "handover: the second program ended" test $waited -lt 600
    check "handover: the first one runs on" kill -0 "$first"
    (cd "$root/build/win64/tests/win32" && timeout 120 "$wine_loader" ./klingtal_probe.exe 60000) \
        2>/dev/null | tr -d '\r' >"$dir/probe" || true
    sed 's/^/   | /' "$dir/probe"
    for _ in $(seq 300); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
    kill "$second" "$first" 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    seen() { grep -qxF "$1" "$dir/probe"; }
    check "handover: the first lists the song's folder" seen "songs=2"
    check "handover: and plays that song" seen "selected=Лед.mp3"
    check "handover: playing" seen "playing=1"
    check "handover: the first saved the song's folder" \
        grep -qF "Pfad = $(win_path "$other")\\" "$dir/Programm/MP3Klingtal.Ini"
    check "handover: the second wrote no settings" test ! -e "$dir/Zweites/MP3Klingtal.Ini"
}
