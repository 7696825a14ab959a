#!/usr/bin/env bash
# A PipeWire sound server of its own: pipewire, wireplumber and pipewire-pulse on a private
# session bus, in a runtime folder beside SOCKET, answering the PulseAudio protocol on SOCKET
# with a null sink named SINK (default "null") as the default sink. Runs in the foreground
# until its process group is killed (SIGKILL to the group is a crashed server; SIGSTOP a
# frozen one); needs no systemd.
#   pipewire_server.sh SOCKET [SINK]
set -euo pipefail
socket=$1
sink=${2:-null}
runtime="$(dirname "$socket")/pipewire"
mkdir -p "$runtime/config/pipewire/pipewire-pulse.conf.d"
chmod 700 "$runtime"
# Its state and configuration stay in the folder too: nothing of the user's is read or written.
export XDG_RUNTIME_DIR=$runtime XDG_STATE_HOME=$runtime/state XDG_CONFIG_HOME=$runtime/config
export PULSE_RUNTIME_PATH=$runtime/pulse
unset PULSE_SERVER PIPEWIRE_REMOTE
rm -f "$socket" "$runtime/pipewire-0" "$runtime/pipewire-0.lock"  # left by a killed server
cat >"$runtime/config/pipewire/pipewire-pulse.conf.d/klingtal.conf" <<CONF
pulse.properties = { server.address = [ "unix:$socket" ] }
pulse.cmd = [ { cmd = "load-module" args = "module-null-sink sink_name=$sink" } ]
CONF
# wireplumber, the session manager that links streams to the sink, ends without a session bus.
exec dbus-run-session -- bash -c '
    pipewire &
    for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.05; done
    wireplumber &
    pipewire-pulse &
    wait' >"$runtime/log" 2>&1
