# Sourced by scripts/test: starts what the integration tests need, and stops it again on exit.
#   start_xvfb  - a private X display (exports DISPLAY)
#   start_pulse - a PulseAudio server with a null sink, unless one already answers
#   start_pipewire - a PipeWire server (pipewire-pulse) with a null sink in a runtime folder of
#                 its own; sets klingtal_pipewire_runtime and klingtal_pipewire_socket, which
#                 stay empty when PipeWire is missing or does not start
#   start_session_bus - a private D-Bus session bus (exports DBUS_SESSION_BUS_ADDRESS), so that
#                 no program under test shows up in the media controls of a real desktop

klingtal_cleanup_pids=()
klingtal_cleanup() {
    for pid in "${klingtal_cleanup_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    if [ -n "${klingtal_started_pulse:-}" ]; then pulseaudio -k 2>/dev/null || true; fi
    if [ -n "${klingtal_pipewire_group:-}" ]; then
        kill -TERM -- "-$klingtal_pipewire_group" 2>/dev/null || true
    fi
    if [ -n "${klingtal_pipewire_base:-}" ]; then rm -rf "$klingtal_pipewire_base"; fi
}
trap klingtal_cleanup EXIT

start_xvfb() {
    local fifo display
    # -noreset: by default the server resets whenever its last client leaves and refuses
    # connections meanwhile, so a test starting a program just then could not open the display.
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    klingtal_cleanup_pids+=($!)
    read -r -t 20 display <"$fifo" || { echo "test: Xvfb did not start" >&2; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
    echo "test: Xvfb on $DISPLAY"
}

start_pulse() {
    if pactl info >/dev/null 2>&1; then
        echo "test: using the running PulseAudio server"
    else
        pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load=module-null-sink \
            --load=module-native-protocol-unix >/dev/null 2>&1 || true
        klingtal_started_pulse=1
        for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    if pactl info >/dev/null 2>&1; then
        # The tests expect a null sink as the default sink.
        pactl list short sinks | grep -q null || pactl load-module module-null-sink >/dev/null
        pactl set-default-sink null || true
        export KLINGTAL_PULSE_AVAILABLE=1
    else
        echo "test: no PulseAudio server; its tests will be skipped" >&2
    fi
}

klingtal_pipewire_runtime=""
klingtal_pipewire_socket=""
start_pipewire() {
    local tool base
    for tool in pipewire wireplumber pipewire-pulse dbus-run-session pactl; do
        if ! command -v "$tool" >/dev/null; then
            echo "test: no $tool; the PipeWire runs will be skipped" >&2
            return 0
        fi
    done
    base=$(mktemp -d)
    klingtal_pipewire_base=$base  # removed on exit
    # A process group of its own (setsid), so that one signal ends all of it.
    setsid bash "$(dirname "${BASH_SOURCE[0]}")/pipewire_server.sh" "$base/native" null \
        </dev/null >/dev/null 2>&1 &
    klingtal_pipewire_group=$!
    for _ in $(seq 100); do
        pactl -s "unix:$base/native" info 2>/dev/null | grep -qx 'Default Sink: null' && break
        sleep 0.1
    done
    if ! pactl -s "unix:$base/native" info 2>/dev/null | grep -qx 'Default Sink: null'; then
        echo "test: the PipeWire server did not start (its log: $base/pipewire/log)" >&2
        return 0
    fi
    klingtal_pipewire_runtime=$base/pipewire
    klingtal_pipewire_socket=$base/native
    echo "test: PipeWire at $klingtal_pipewire_socket"
}

start_session_bus() {
    local started
    if ! command -v dbus-daemon >/dev/null; then
        echo "test: no dbus-daemon; the media-control tests will be skipped" >&2
        return 0
    fi
    # Two lines: the address, then the process id.
    started=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    klingtal_cleanup_pids+=("$(sed -n 2p <<<"$started")")
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$started")
    echo "test: private session bus at $DBUS_SESSION_BUS_ADDRESS"
}
