#!/usr/bin/env bash
# tools/run-stepwell.sh against an install root on Qt's offscreen platform:
# Stepwell takes the sample task, opens it without a message and starts the
# kernel (its log solution.txt appears in kernel/bin); the user hive of the
# caller stays untouched; ending the script ends Stepwell and removes the
# endpoint folder.
#
# Usage: run_stepwell_test.sh <run-stepwell.sh> <install root> <build folder>
set -u
script="$1"
root="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The script's build folder: the real tools, a run folder of the test's own.
mkdir -p "$tmp/build" "$tmp/tmp" "$tmp/home-config"
ln -s "$3/tools" "$tmp/build/tools"
rm -f "$root/kernel/bin/solution.txt"

QT_QPA_PLATFORM=offscreen TESSALY_MESSAGE_LOG="$tmp/messages.log" TMPDIR="$tmp/tmp" \
    XDG_CONFIG_HOME="$tmp/home-config" bash "$script" "$root" "$tmp/build" >"$tmp/out" 2>&1 &
runner=$!

failed=0
check() {
    if ! eval "$1"; then
        echo "FAILED: $1" >&2
        failed=1
    fi
}

for _ in $(seq 300); do
    grep -q "has opened the task" "$tmp/out" && [[ -e "$root/kernel/bin/solution.txt" ]] && break
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
check 'grep -q "has opened the task .*modules/tessaly/libalgt/tasks/task_1.xml" "$tmp/out"'
check '[[ -e "$root/kernel/bin/solution.txt" ]]'
check 'kill -0 "$runner" 2>/dev/null'
stepwell="$(sed -n 's/^Stepwell (process \([0-9]*\)).*/\1/p' "$tmp/out")"
check '[[ -n "$stepwell" ]] && kill -0 "$stepwell" 2>/dev/null'

kill -TERM "$runner" 2>/dev/null
wait "$runner"
status=$?
check '((status == 143))'
check '[[ -n "$stepwell" ]] && ! kill -0 "$stepwell" 2>/dev/null'
check '! compgen -G "$tmp/tmp/tessaly-run.*" >/dev/null'
check '[[ ! -s "$tmp/messages.log" ]]'
check '[[ -z "$(ls -A "$tmp/home-config")" ]]'
check 'grep -q "^\"userPersonified\"=hex:01$" "$tmp/build/run/config/Pelmarin/Tessaly.ini"'

if ((failed)); then
    echo "--- output of run-stepwell.sh:" >&2
    cat "$tmp/out" >&2
    echo "--- messages:" >&2
    cat "$tmp/messages.log" >&2 2>/dev/null
    exit 1
fi
