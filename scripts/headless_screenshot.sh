#!/usr/bin/env bash
# Runs the viewer on a virtual X display, waits until its window has been
# painted, saves a picture of the screen and closes everything again. Sourced by
# run.sh on machines without a display.
# usage: quorvia_headless_screenshot PROGRAM OUTPUT.png [FILE...]

quorvia_headless_screenshot() {
    local program=$1 output=$2
    shift 2

    local display_number=99
    while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
        display_number=$((display_number + 1))
    done
    local display=":$display_number"

    local work
    work=$(mktemp -d)
    Xvfb "$display" -screen 0 1280x860x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    local xvfb_pid=$!
    local viewer_pid=""
    # shellcheck disable=SC2064
    trap "kill $xvfb_pid 2>/dev/null; [ -n \"\$viewer_pid\" ] && kill \$viewer_pid 2>/dev/null; rm -rf '$work'" RETURN

    local waited=0
    until [ -e "/tmp/.X11-unix/X$display_number" ]; do
        sleep 0.1
        waited=$((waited + 1))
        if [ $waited -gt 100 ]; then
            echo "error: the virtual display did not start:" >&2
            cat "$work/xvfb.log" >&2
            return 1
        fi
    done

    # The viewer notes its first paint in today's log; wait for a new such line.
    local log_file
    log_file="${XDG_DATA_HOME:-$HOME/.local/share}/Veltrano/Quorvia/logs/Quorvia_$(date +%Y-%m-%d).log"
    local painted_before=0
    if [ -f "$log_file" ]; then
        painted_before=$(grep -c "First window paint" "$log_file" || true)
    fi

    # A private temporary folder keeps a viewer the user already runs from
    # taking this start over as a second instance.
    mkdir -p "$work/tmp"
    local started_ns
    started_ns=$(date +%s%N)
    DISPLAY="$display" QT_QPA_PLATFORM=xcb TMPDIR="$work/tmp" "$program" "$@" >"$work/viewer.log" 2>&1 &
    viewer_pid=$!

    local painted_ns=""
    waited=0
    while [ $waited -lt 600 ]; do
        if [ -f "$log_file" ] && [ "$(grep -c "First window paint" "$log_file" || true)" -gt "$painted_before" ]; then
            painted_ns=$(date +%s%N)
            break
        fi
        if ! kill -0 "$viewer_pid" 2>/dev/null; then
            echo "error: the viewer ended before showing its window:" >&2
            cat "$work/viewer.log" >&2
            return 1
        fi
        sleep 0.05
        waited=$((waited + 1))
    done
    if [ -z "$painted_ns" ]; then
        echo "error: the viewer did not paint its window within 30 s" >&2
        return 1
    fi
    # Files named on the command line open just after the first paint.
    sleep 2

    mkdir -p "$(dirname "$output")"
    import -display "$display" -window root "$output"
    echo "Window painted $(( (painted_ns - started_ns) / 1000000 )) ms after start (measured from outside, 50 ms polling)."
    grep "First window paint" "$log_file" | tail -1 | sed 's/.*\[Docavel\] /Viewer log: /'
    echo "No display here, so the viewer ran on a virtual one. Screenshot: $output"
}
