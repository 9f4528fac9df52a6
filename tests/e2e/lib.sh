# Shared steps of the end-to-end tests, sourced by each test script: a private X server,
# the program on it, held key presses, screenshots, and reading the main cube and the two
# overlay lines off the screenshots. scripts/screenshot sources it too.
#
# Everything started here is ended by its process id when the script exits.

e2e_name=${e2e_name:-e2e}
e2e_work=$(mktemp -d)
e2e_xvfb_pid=
e2e_xev_pid=
e2e_program_pid=
e2e_program_status=
e2e_wid=
e2e_convert=/usr/bin/convert # the ImageMagick one, not a stand-in earlier on PATH
e2e_import=/usr/bin/import

e2e_cleanup() {
    if [[ -n $e2e_program_pid ]] && kill -0 "$e2e_program_pid" 2>/dev/null; then
        kill -KILL "$e2e_program_pid" 2>/dev/null || true
        wait "$e2e_program_pid" 2>/dev/null || true
    fi
    if [[ -n $e2e_xev_pid ]]; then
        kill "$e2e_xev_pid" 2>/dev/null || true
        wait "$e2e_xev_pid" 2>/dev/null || true
    fi
    if [[ -n $e2e_xvfb_pid ]]; then
        kill "$e2e_xvfb_pid" 2>/dev/null || true
        wait "$e2e_xvfb_pid" 2>/dev/null || true
    fi
    if [[ -n ${E2E_KEEP:-} ]]; then
        echo "$e2e_name: screenshots kept in $e2e_work"
    else
        rm -rf "$e2e_work"
    fi
}
trap e2e_cleanup EXIT
# Interrupted or timed out: still end what was started.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 141' PIPE

e2e_fail() {
    echo "$e2e_name: FAILED: $*" >&2
    e2e_describe_program >&2
    exit 1
}

# Says where the program is: its process state, every thread's stack, the windows on
# our X server (a message box the program is waiting on shows up there) and its output.
# A failed wait then shows what the program was doing instead of only that it was late.
e2e_describe_program() {
    if [[ -n $e2e_program_pid ]] && kill -0 "$e2e_program_pid" 2>/dev/null; then
        echo "--- program state ---"
        ps -o pid,stat,wchan:30,etime,time,args -p "$e2e_program_pid" 2>&1 || true
        grep -E '^(State|Threads):' "/proc/$e2e_program_pid/status" 2>/dev/null || true
        if command -v gdb >/dev/null; then
            echo "--- program stacks ---"
            timeout 60 gdb -batch -nx -p "$e2e_program_pid" -ex 'thread apply all bt' 2>&1 |
                grep -vE '^(\[New LWP|\[Thread debugging|Using host libthread_db)' || true
        fi
    fi
    if [[ -n ${DISPLAY:-} ]] && command -v xwininfo >/dev/null; then
        echo "--- windows on $DISPLAY ---"
        timeout 10 xwininfo -root -tree 2>&1 | grep -E '^ +0x' | head -n 40 || true
    fi
    if [[ -s $e2e_work/program.log ]]; then
        echo "--- program output ---"
        cat "$e2e_work/program.log"
    fi
}

e2e_note() {
    echo "$e2e_name: $*"
}

# Starts an X server of our own on a free display, the size and colour depth of the
# program's window (640x480 at 16 bits), so that the fullscreen switch finds its mode and
# leaves the window where it was. -displayfd lets the server pick a display number nobody
# uses, so runs in parallel never meet. -noreset keeps the server as it is when its last
# client leaves: without it, the server resets itself after the xset below disconnects,
# which undoes "xset r off" and recompiles the keymap just when the program connects.
# E2E_SCREEN (WIDTHxHEIGHTxDEPTH) gives another screen: a Windows window's frame around a
# 640x480 client area needs more room than that.
e2e_start_x() {
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-640x480x16}" -nolisten tcp -noreset \
        3>"$e2e_work/display" 2>"$e2e_work/xvfb.log" &
    e2e_xvfb_pid=$!
    local _
    for _ in $(seq 200); do
        [[ -s $e2e_work/display ]] && break
        sleep 0.05
    done
    [[ -s $e2e_work/display ]] || e2e_fail "Xvfb did not start: $(cat "$e2e_work/xvfb.log")"
    export DISPLAY=:$(head -n 1 "$e2e_work/display")
    # Key auto-repeat would turn a held key into several presses; without xset, the
    # presses below stay well short of the repeat delay instead.
    if command -v xset >/dev/null; then
        xset r off
    fi
    # A log of top-level windows being created and destroyed, to tell when the program
    # has replaced its window (the new one may get the old one's id).
    xev -root -event substructure >"$e2e_work/windows.log" 2>&1 &
    e2e_xev_pid=$!
}

# The ids of the windows titled exactly "Cubewright", one per line (none is not an error).
e2e_windows() {
    xdotool search --name '^Cubewright$' 2>/dev/null || true
}

# The captions of the program's failure boxes on our display, if it shows one (xdotool's
# search does not find SDL's message boxes; xwininfo lists them).
e2e_error_boxes() {
    xwininfo -root -tree 2>/dev/null | grep -oE '^ +0x[0-9a-f]+ "(SHUTDOWN )?ERROR":' |
        grep -oE '"[A-Z ]+"' | sort -u | tr '\n' ' ' || true
}

# Waits up to $1 seconds (default 10) for exactly one Cubewright window and makes it the
# current one (e2e_wid). The pointer is put over it: with no window manager the keyboard
# follows the pointer.
e2e_wait_window() {
    local seconds=${1:-10} ids boxes deadline
    deadline=$((SECONDS + seconds))
    while ((SECONDS <= deadline)); do
        ids=$(e2e_windows)
        # Wine names its X window when the program creates it, hidden, before it is
        # shown: a screenshot needs it mapped.
        if [[ -n $ids && $(wc -l <<<"$ids") -eq 1 ]] &&
            xwininfo -id "$ids" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            e2e_wid=$ids
            xdotool mousemove 320 240 >/dev/null 2>&1 || true
            return 0
        fi
        e2e_program_alive || e2e_fail "the program ended while a window was awaited"
        # A failure box waits for its OK for ever: say so now rather than time out.
        boxes=$(e2e_error_boxes)
        [[ -z $boxes ]] || e2e_fail "the program shows a message box ($boxes) instead of its window"
        sleep 0.05
    done
    e2e_fail "no single Cubewright window within $seconds s (windows now: ${ids:-none})"
}

# Starts the program on our display and waits for its window.
e2e_start_program() {
    local program=$1
    [[ -x $program ]] || e2e_fail "$program is not an executable"
    "$program" >"$e2e_work/program.log" 2>&1 &
    e2e_program_pid=$!
    e2e_wait_window 20
}

e2e_program_alive() {
    kill -0 "$e2e_program_pid" 2>/dev/null
}

# Waits up to $1 seconds for the program to end and sets e2e_program_status; fails if it
# is still running then.
e2e_wait_exit() {
    local seconds=$1 deadline
    deadline=$((SECONDS + seconds))
    while e2e_program_alive && ((SECONDS <= deadline)); do
        sleep 0.05
    done
    e2e_program_alive && e2e_fail "the program was still running $seconds s later"
    e2e_program_status=0
    wait "$e2e_program_pid" || e2e_program_status=$?
    e2e_program_pid=
}

# Holds a key down for 0.4 s. The program reads its key table once per frame and handles
# one event per pass, so a press and its release that both arrive while it is held up (on
# a machine busy with other tests, 0.1 s was once not enough) are taken without a frame in
# between and the press is lost. Auto-repeat is off, and would not start this soon anyway.
e2e_key() {
    xdotool keydown "$1" || e2e_fail "xdotool could not press $1"
    sleep 0.4
    xdotool keyup "$1" || e2e_fail "xdotool could not release $1"
}

# Saves the current window's contents as $e2e_work/NAME.png and prints that path.
e2e_shot() {
    e2e_try_shot "$1" || e2e_fail "could not take screenshot $1"
}

# The same, but only reports failure: for loops that try again.
e2e_try_shot() {
    local out=$e2e_work/$1.png
    "$e2e_import" -window "$e2e_wid" "$out" 2>>"$e2e_work/import.log" || return 1
    echo "$out"
}

# Width and height of an image, as "640x480".
e2e_size() {
    "$e2e_convert" "$1" -format '%wx%h' info:
}

# The window pixels of the centres of the 27 stickers that face the viewer on the main cube
# with no view rotation, as "x,y" (origin top left): front face (0), up face (2) and left
# face (4), each in row-major order. The cube stands at (0, 0, -15) in eye space, tilted
# 45 degrees about the x-y diagonal, under a 45-degree perspective on 640x480; stickers are
# 4/3 apart, their centres 2 out from the cube's centre.
e2e_sticker_points() {
    awk 'BEGIN {
        pi = atan2(0, -1); s = 4 / 3; k = sqrt(0.5)
        c = cos(pi / 4); sn = sin(pi / 4)
        f = cos(pi / 8) / sin(pi / 8); aspect = 640 / 480
        for (face = 0; face < 3; face++) for (row = 0; row < 3; row++) for (col = 0; col < 3; col++) {
            if (face == 0) { x = (col - 1) * s; y = (1 - row) * s; z = 2 }
            if (face == 1) { x = (col - 1) * s; y = 2; z = (row - 1) * s }
            if (face == 2) { x = -2; y = (1 - row) * s; z = (col - 1) * s }
            # Rotation about the unit axis (k, k, 0) by 45 degrees (Rodrigues).
            d = k * x + k * y
            X = x * c + k * z * sn + k * d * (1 - c)
            Y = y * c - k * z * sn + k * d * (1 - c)
            Z = z * c + k * (y - x) * sn - 15
            wx = 320 * (1 + f / aspect * X / -Z)
            wy = 240 * (1 + f * Y / -Z)
            printf "%d,%d\n", int(wx), 479 - int(wy)
        }
    }'
}

# The colours of those 27 stickers in a screenshot, as one word of letters: W white,
# G green, R red, Y yellow, B blue, O orange, ? anything else (a sticker in mid-turn, or
# nothing drawn there). A solved cube reads WWWWWWWWWRRRRRRRRRBBBBBBBBB.
e2e_stickers() {
    local image=$1 format="" point
    for point in $(e2e_sticker_points); do
        format+="%[fx:int(255*p{$point}.r+0.5)] %[fx:int(255*p{$point}.g+0.5)] "
        format+="%[fx:int(255*p{$point}.b+0.5)]\n"
    done
    "$e2e_convert" "$image" -format "$format" info: | awk '
        function near(v, want) { return v >= want - 40 && v <= want + 40 }
        {
            r = $1; g = $2; b = $3
            if (near(r, 255) && near(g, 255) && near(b, 255)) out = out "W"
            else if (near(r, 0) && near(g, 255) && near(b, 0)) out = out "G"
            else if (near(r, 255) && near(g, 0) && near(b, 0)) out = out "R"
            else if (near(r, 255) && near(g, 255) && near(b, 0)) out = out "Y"
            else if (near(r, 0) && near(g, 0) && near(b, 255)) out = out "B"
            else if (near(r, 255) && near(g, 128) && near(b, 0)) out = out "O"
            else out = out "?"
        }
        END { print out }'
}

readonly e2e_solved=WWWWWWWWWRRRRRRRRRBBBBBBBBB

# The overlay lines, as rectangles WxH+X+Y of the window: line 1 "Auto solve is ..." near
# the top left (baseline about 37 pixels down), line 2 "Moves Remaining: ..." near the
# bottom left (baseline about 8 pixels up).
readonly e2e_line1=240x34+0+14
readonly e2e_line2=280x34+0+446

# The overlay text is the only pure white near the corners: the background cubes are drawn
# at 30 percent and the main cube stays in the middle. These read the white pixels of a
# rectangle.
e2e_white_count() {
    "$e2e_convert" "$1" -crop "$2" +repage -fx '(r>0.97&&g>0.97&&b>0.97)?1:0' \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# A fingerprint of which pixels of the rectangle are white: equal for the same text drawn
# by the same font in the same place, whatever is behind it.
e2e_white_mask() {
    "$e2e_convert" "$1" -crop "$2" +repage -fx '(r>0.97&&g>0.97&&b>0.97)?1:0' \
        -depth 1 gray:- | md5sum | cut -d' ' -f1
}

# Takes screenshot NAME once a frame has been presented (the overlay's first line is
# there), waiting up to 10 s for it: a new window is black until its first frame. Prints
# the path.
e2e_shot_drawn() {
    local deadline=$((SECONDS + 10)) shot
    while :; do
        # A window just made may not take a screenshot yet; that is tried again too.
        if shot=$(e2e_try_shot "$1") && (($(e2e_white_count "$shot" "$e2e_line1") > 100)); then
            echo "$shot"
            return 0
        fi
        ((SECONDS <= deadline)) || e2e_fail "$1: no frame with the overlay text within 10 s"
        sleep 0.1
    done
}

# Fails unless frames are being drawn and presented: two screenshots taken 0.3 s apart
# both show the overlay text, and differ (the background cubes tumble on every frame).
e2e_expect_frames_coming() {
    local first second changed
    first=$(e2e_shot_drawn "$1-a")
    sleep 0.3
    second=$(e2e_shot "$1-b")
    (($(e2e_white_count "$second" "$e2e_line1") > 100)) ||
        e2e_fail "$1: the overlay text is gone from a later frame"
    changed=$(/usr/bin/compare -metric AE "$first" "$second" null: 2>&1 || true)
    [[ $changed =~ ^[0-9]+$ && $changed -gt 0 ]] ||
        e2e_fail "$1: two screenshots 0.3 s apart are the same (different pixels: $changed)"
}

# Waits up to $1 seconds (default 10) for the current window to be destroyed and a new
# Cubewright window to take its place, and makes the new one current.
e2e_wait_window_replaced() {
    local seconds=${1:-10} old deadline
    old=$(printf '%x' "$e2e_wid")
    deadline=$((SECONDS + seconds))
    until grep -A1 DestroyNotify "$e2e_work/windows.log" |
        grep -qE "^ +event 0x[0-9a-f]+, window 0x$old\$"; do
        ((SECONDS <= deadline)) || e2e_fail "window 0x$old was not destroyed within $seconds s"
        e2e_program_alive || e2e_fail "the program ended while its window was being replaced"
        sleep 0.05
    done
    e2e_wait_window $((deadline - SECONDS + 1))
}

# Calls COMMAND... (a function of the test, which may set variables) every 0.1 s until it
# succeeds, for up to SECONDS; then fails with MESSAGE. Frames come late on a loaded
# machine, so the tests wait for an effect instead of sleeping a fixed time.
e2e_until() {
    local seconds=$1 message=$2 deadline
    shift 2
    deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS <= deadline)) || e2e_fail "$message (waited $seconds s)"
        e2e_program_alive || e2e_fail "the program ended while waiting: $message"
        sleep 0.1
    done
}
