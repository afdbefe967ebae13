#!/usr/bin/env bash
# Starts the installed pupil's program Stepwell with the sample module's first
# library task open, as a pupil sees it after the teacher sent it, and waits
# until Stepwell ends (`make run` uses it while Coursewright is not built).
#
# Usage: tools/run-stepwell.sh <install root> <build folder>
#
# Stepwell runs with a user hive of its own under <build folder>/run/config in
# which the user is logged in (the developer's own hive is never changed), and
# with an endpoint folder of its own, so a Stepwell that already runs is not
# disturbed. The task goes over Stepwell's endpoint with the copy-data code of
# a task to open, sent by <build folder>/tools/tessaly-send-text.
set -u

if (($# != 2)); then
    echo "usage: $0 <install root> <build folder>" >&2
    exit 2
fi
root="$(cd "$1" 2>/dev/null && pwd)" || { echo "run-stepwell: no install root $1" >&2; exit 2; }
build="$(cd "$2" 2>/dev/null && pwd)" || { echo "run-stepwell: no build folder $2" >&2; exit 2; }
program="$root/kernel/bin/Stepwell"
sender="$build/tools/tessaly-send-text"
task="$root/modules/tessaly/libalgt/tasks/task_1.xml"
for needed in "$program" "$sender"; do
    [[ -x "$needed" ]] || { echo "run-stepwell: $needed is missing" >&2; exit 2; }
done
[[ -r "$task" ]] || { echo "run-stepwell: $task is missing" >&2; exit 2; }

config="$build/run/config"
mkdir -p "$config/Pelmarin" || exit 1
printf '[SOFTWARE\\Pelmarin\\Tessaly]\n"userPersonified"=hex:01\n' >"$config/Pelmarin/Tessaly.ini" || exit 1
ipc="$(mktemp -d "${TMPDIR:-/tmp}/tessaly-run.XXXXXX")" || exit 1

export XDG_CONFIG_HOME="$config"
export TESSALY_IPC_DIR="$ipc"
export TESSALY_MACHINE_HIVE="$root/kernel/data/machine.ini"

"$program" &
pid=$!

# Ends Stepwell (politely, then by force after 5 s) and removes the endpoint
# folder.
finish() {
    if kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
    rm -rf "$ipc"
}
trap 'finish; exit 130' INT
trap 'finish; exit 143' TERM
fail() {
    echo "run-stepwell: $1" >&2
    finish
    exit 1
}

# Stepwell listens once its main window exists; until then the sender finds
# nobody (status 3).
deadline=$((SECONDS + 20))
while :; do
    kill -0 "$pid" 2>/dev/null || fail "Stepwell ended before it took the task"
    "$sender" Stepwell_tessaly_WindowClassName 1 "$task"
    case $? in
        0) break ;;
        3) ((SECONDS < deadline)) || fail "Stepwell did not listen within 20 s" ;;
        *) fail "Stepwell did not take the task $task" ;;
    esac
    sleep 0.2
done
echo "Stepwell (process $pid) has opened the task $task; close its window to end."

wait "$pid"
status=$?
rm -rf "$ipc"
exit "$status"
