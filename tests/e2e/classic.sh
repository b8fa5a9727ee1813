#!/usr/bin/env bash
# The Classic view of the real program under a real X server: a click that carries its action out
# at once, "Timer" back to the standard view, "&Abbrechen", and Esc in a Classic countdown.
source "$(dirname "$0")/lib.sh"

command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
e2e_start_display

# Centres of the five action buttons in the window (pixels), with the request each one makes.
BUTTONS="46:0:LogOff 109:5:Hibernate 181:6:Standby 253:2:Restart 325:8:PowerOff"
BUTTON_Y=76

# colour FILE X Y: the largest difference of red, green and blue in the 15 x 15 square around X,Y;
# 0 for a grey picture.
colour() {
    convert "$1" -crop "15x15+$(($2 - 7))+$(($3 - 7))" +repage -depth 8 txt:- |
        awk 'NR > 1 { sub(/^[^(]*\(/, ""); split($0, c, /[,)]/)
                      d = c[1]; if (c[2] > d) d = c[2]; if (c[3] > d) d = c[3]
                      e = c[1]; if (c[2] < e) e = c[2]; if (c[3] < e) e = c[3]
                      if (d - e > m) m = d - e } END { print m + 0 }'
}
# painted_classic WINDOW: the window is drawn, with five buttons in colour.
painted_classic() {
    local b
    import -window "$1" "$E2E_TMP/classic.png" || return 1
    for b in $BUTTONS; do
        [ "$(colour "$E2E_TMP/classic.png" "${b%%:*}" "$BUTTON_Y")" -gt 40 ] || return 1
    done
}

# "Timer" leaves the Classic view: the window grows; "&Abbrechen" then ends without a request.
start_tarvo C
wid=$(tarvo_window '^Tarvo$')
check "C: five colour buttons" wait_for 10 painted_classic "$wid"
click_at "$wid" 74 156
check "Timer: full height" wait_for 10 sh -c "xwininfo -id $wid | grep -q 'Height: 361'"
click_at "$wid" 302 156
check "Abbrechen: ends" tarvo_ends
check "Abbrechen: exit 0, nothing requested" test "$TARVO_RC" -eq 0 -a "$(dry_requests)" -eq 0

# "C A" starts a countdown in the Classic view; cancelling it selects shut down again, which in
# the Classic view would otherwise carry it out at once.
start_tarvo C A
wid=$(main_window '^1:00 Stunde')
focus_key "$wid" Escape
check "C A, Esc: countdown cancelled" wait_for 10 title_is "$wid" Tarvo
check "C A, Esc: nothing requested, Tarvo runs on" test "$(dry_requests)" -eq 0 -a -n "$(kill -0 "$TARVO_PID" && echo yes)"
stop_tarvo

# One click on a button carries its action out at once.
for b in $BUTTONS; do
    IFS=: read -r x code name <<<"$b"
    : >"$E2E_TMP/tarvo.log"
    start_tarvo C
    wid=$(tarvo_window '^Tarvo$')
    wait_for 10 painted_classic "$wid"
    xdotool mousemove --window "$wid" --sync 200 170 mousemove --window "$wid" --sync "$x" "$BUTTON_Y"
    clicked=$(date +%s.%N)
    xdotool click 1
    tarvo_ends || TARVO_RC=running
    took=$(awk -v a="$clicked" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
    check "C, $name button: request $code at once ($took s)" \
        test "${TARVO_RC:-}" = 0 -a "$(cat "$E2E_TMP/tarvo.log")" = "tarvo: power request $code ($name)" -a "${took%.*}" -lt 3
done

e2e_finish
