#!/usr/bin/env bash
# Times the start of every installed program: from launch until its main
# window is mapped and its event loop answers a _NET_WM_PING. A developer runs
# it by hand; it is no test (absolute times depend on the machine's load).
#
# Usage: tools/startup-bench.sh <install root> [runs]
#
# Every program (Stepwell, Reckonry, Sumwright, Rivodadi /t:1) runs on an Xvfb
# display of its own, each run with a fresh user hive in which the user is
# logged in (as tools/run-stepwell.sh writes it), a fresh endpoint folder and
# the root's machine hive. The runs go in rounds, one run of every program per
# round (10 rounds unless given). When galculator is installed it runs in the
# same rounds as a reference, and the median of the per-round ratios to it is
# printed too: ratios hold on a loaded machine, absolute times do not. The
# peak resident memory is the main process's VmHWM just before it is killed.
#
# Needs Xvfb, xdotool, xprop and python3 (the ping goes through libX11); when
# one is missing the script says so and ends with status 0.
set -u

if (($# < 1 || $# > 2)); then
    echo "usage: $0 <install root> [runs]" >&2
    exit 2
fi
root="$(cd "$1" 2>/dev/null && pwd)" || { echo "startup-bench: no install root $1" >&2; exit 2; }
runs="${2:-10}"
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "startup-bench: runs must be a positive number" >&2; exit 2; }

for tool in Xvfb xdotool xprop python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "startup-bench: $tool is not installed; nothing timed"
        exit 0
    fi
done
if ! python3 -c 'import ctypes.util, sys; sys.exit(0 if ctypes.util.find_library("X11") else 1)'; then
    echo "startup-bench: libX11 is not found for the ping; nothing timed"
    exit 0
fi

bin="$root/kernel/bin"
names=(Stepwell Reckonry Sumwright Rivodadi)
declare -A command_of=(
    [Stepwell]="$bin/Stepwell"
    [Reckonry]="$bin/Reckonry"
    [Sumwright]="$bin/Sumwright"
    [Rivodadi]="$bin/Rivodadi /t:1"
)
for name in "${names[@]}"; do
    [[ -x "$bin/$name" ]] || { echo "startup-bench: $bin/$name is missing" >&2; exit 2; }
done
reference=""
if command -v galculator >/dev/null 2>&1; then
    reference="$(command -v galculator)"
    names+=(galculator)
    command_of[galculator]="$reference"
fi
machine_hive="$root/kernel/data/machine.ini"
[[ -r "$machine_hive" ]] || { echo "startup-bench: $machine_hive is missing" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tessaly-startup.XXXXXX")" || exit 1

# Sends a _NET_WM_PING to a window (argument 1) of the display in DISPLAY and
# waits up to 10 s for the client's answer on the root window; status 0 when
# it answered, 3 when the window takes no pings, 1 otherwise.
cat >"$work/ping.py" <<'EOF'
import ctypes, ctypes.util, select, sys, time

x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XPending.argtypes = [ctypes.c_void_p]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x.XConnectionNumber.argtypes = [ctypes.c_void_p]
x.XGetWMProtocols.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                              ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)), ctypes.POINTER(ctypes.c_int)]
x.XFree.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
# Qt answers to the root with the structure-notify mask, GTK with the
# substructure one.
STRUCTURE_NOTIFY = 1 << 17
SUBSTRUCTURE_NOTIFY = 1 << 19

window = int(sys.argv[1], 0)
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
failed = []


def note_error(_display, _event):
    failed.append(True)
    return 0


keep_handler = ERROR_HANDLER(note_error)
x.XSetErrorHandler(keep_handler)
display = x.XOpenDisplay(None)
if not display:
    sys.exit(1)
root = x.XDefaultRootWindow(display)
protocols = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
ping = x.XInternAtom(display, b"_NET_WM_PING", 0)

listed = ctypes.POINTER(ctypes.c_ulong)()
count = ctypes.c_int()
if not x.XGetWMProtocols(display, window, ctypes.byref(listed), ctypes.byref(count)):
    sys.exit(1 if failed else 3)
takes_ping = any(listed[i] == ping for i in range(count.value))
x.XFree(listed)
if not takes_ping:
    sys.exit(3)

x.XSelectInput(display, root, STRUCTURE_NOTIFY | SUBSTRUCTURE_NOTIFY)
event = Event()
event.xclient.type = CLIENT_MESSAGE
event.xclient.window = window
event.xclient.message_type = protocols
event.xclient.format = 32
event.xclient.l[0] = ping
event.xclient.l[1] = 0
event.xclient.l[2] = window
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XFlush(display)

deadline = time.monotonic() + 10
fd = x.XConnectionNumber(display)
while time.monotonic() < deadline:
    while x.XPending(display):
        answer = Event()
        x.XNextEvent(display, ctypes.byref(answer))
        c = answer.xclient
        if (answer.type == CLIENT_MESSAGE and c.message_type == protocols
                and c.l[0] == ping and c.l[2] == window):
            sys.exit(0)
    select.select([fd], [], [], 0.01)
sys.exit(1)
EOF

# One Xvfb per program, kept for all its runs.
declare -A display_of xvfb_of
finish() {
    local pid
    for pid in "${xvfb_of[@]}"; do
        kill -TERM "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap 'finish; exit 130' INT
trap 'finish; exit 143' TERM

for name in "${names[@]}"; do
    fifo="$work/display-$name"
    mkfifo "$fifo" || { finish; exit 1; }
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_of[$name]=$!
    number=""
    read -r -t 20 number <"$fifo"
    [[ "$number" =~ ^[0-9]+$ ]] || { echo "startup-bench: Xvfb did not start for $name" >&2; finish; exit 1; }
    display_of[$name]=":$number"
done

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Prints the first visible top-level window of process $1 on display $2 that
# is no splash screen, tooltip or menu.
main_window() {
    local window type
    for window in $(DISPLAY="$2" xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        type="$(DISPLAY="$2" xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null)"
        case "$type" in
            *SPLASH* | *TOOLTIP* | *MENU* | *NOTIFICATION* | *COMBO* | *DND*) continue ;;
        esac
        echo "$window"
        return 0
    done
    return 1
}

# Starts program $1 once; prints "<milliseconds> <VmHWM kB>" or "failed".
time_start() {
    local name="$1" display="${display_of[$1]}" run pid start window elapsed hwm status
    run="$(mktemp -d "$work/run.XXXXXX")" || return 1
    mkdir -p "$run/config/Pelmarin" "$run/ipc" "$run/data" "$run/cache"
    printf '[SOFTWARE\\Pelmarin\\Tessaly]\n"userPersonified"=hex:01\n' >"$run/config/Pelmarin/Tessaly.ini"
    chmod 700 "$run/ipc"
    start="$(now_ms)"
    (
        cd "$run" || exit 1
        export DISPLAY="$display" QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
        export XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data" XDG_CACHE_HOME="$run/cache"
        export TESSALY_IPC_DIR="$run/ipc" TESSALY_MACHINE_HIVE="$machine_hive"
        # shellcheck disable=SC2086 # the command carries its arguments
        exec ${command_of[$name]} >"$run/out.log" 2>&1
    ) &
    pid=$!
    elapsed=""
    local deadline=$((SECONDS + 60))
    while ((SECONDS < deadline)) && kill -0 "$pid" 2>/dev/null; do
        if window="$(main_window "$pid" "$display")"; then
            DISPLAY="$display" python3 "$work/ping.py" "$window"
            status=$?
            if ((status == 0 || status == 3)); then
                elapsed=$(($(now_ms) - start))
                ((status == 3)) && echo "startup-bench: $name's window takes no pings; timed at its mapping" >&2
                break
            fi
        fi
        sleep 0.02
    done
    hwm="$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [[ -z "$elapsed" ]]; then
        echo "startup-bench: $name did not show its main window (see below)" >&2
        tail -5 "$run/out.log" >&2
        echo failed
    else
        echo "$elapsed ${hwm:-0}"
    fi
    rm -rf "$run"
}

declare -A times_of hwm_of ratios_of
for ((round = 1; round <= runs; round++)); do
    declare -A this_round=()
    for name in "${names[@]}"; do
        result="$(time_start "$name")"
        [[ "$result" == failed ]] && continue
        read -r ms kb <<<"$result"
        times_of[$name]+="$ms "
        hwm_of[$name]+="$kb "
        this_round[$name]="$ms"
    done
    if [[ -n "$reference" && -n "${this_round[galculator]:-}" ]]; then
        for name in "${names[@]}"; do
            [[ "$name" == galculator || -z "${this_round[$name]:-}" ]] && continue
            ratios_of[$name]+="$(awk -v a="${this_round[$name]}" -v b="${this_round[galculator]}" \
                'BEGIN { printf "%.3f", a / b }') "
        done
    fi
    echo "round $round of $runs done" >&2
    unset this_round
done

# Median, least and greatest of the numbers in $1 ("median min max count").
summary() {
    tr ' ' '\n' <<<"$1" | grep -v '^$' | sort -g | awk '
        { v[NR] = $1 }
        END {
            if (NR == 0) { print "- - - 0"; exit }
            m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            print m, v[1], v[NR], NR
        }'
}

printf '%-11s %5s %10s %17s %13s' program runs "median ms" "range ms" "peak RSS MB"
[[ -n "$reference" ]] && printf ' %15s' "median ratio"
printf '\n'
for name in "${names[@]}"; do
    read -r median low high count <<<"$(summary "${times_of[$name]:-}")"
    read -r hwm _ _ _ <<<"$(summary "${hwm_of[$name]:-}")"
    mb="-"
    [[ "$hwm" != "-" ]] && mb="$(awk -v k="$hwm" 'BEGIN { printf "%.0f", k / 1024 }')"
    [[ "$median" != "-" ]] && median="$(awk -v m="$median" 'BEGIN { printf "%.0f", m }')"
    printf '%-11s %5s %10s %17s %13s' "$name" "$count" "$median" "$low-$high" "$mb"
    if [[ -n "$reference" ]]; then
        if [[ "$name" == galculator ]]; then
            printf ' %15s' "1 (reference)"
        else
            read -r ratio _ _ _ <<<"$(summary "${ratios_of[$name]:-}")"
            [[ "$ratio" != "-" ]] && ratio="$(awk -v r="$ratio" 'BEGIN { printf "%.2f", r }')"
            printf ' %15s' "$ratio"
        fi
    fi
    printf '\n'
done
[[ -z "$reference" ]] && echo "(galculator is not installed: no reference ratio)"

finish
exit 0
