#!/usr/bin/env bash
# The Classic view of the real program under a real X server: the compact one-click panel, a click
# that carries its action out at once, "Timer" back to the standard view and "&Abbrechen".
source "$(dirname "$0")/lib.sh"

command -v import >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
e2e_start_display

# Centres of the five action buttons in the window (pixels), with the request each one makes.
BUTTONS="46:0:LogOff 109:5:Hibernate 181:6:Standby 253:2:Restart 325:8:PowerOff"
BUTTON_Y=76
TIMER_XY="74 156"
ABBRUCH_XY="302 156"

# colour FILE X Y: the largest difference of red, green and blue in the 15 x 15 square around X,Y;
# 0 for a grey picture.
colour() {
    convert "$1" -crop "15x15+$(($2 - 7))+$(($3 - 7))" +repage -depth 8 txt:- |
        awk 'NR > 1 { sub(/^[^(]*\(/, ""); split($0, c, /[,)]/)
                      d = c[1]; if (c[2] > d) d = c[2]; if (c[3] > d) d = c[3]
                      e = c[1]; if (c[2] < e) e = c[2]; if (c[3] < e) e = c[3]
                      if (d - e > m) m = d - e } END { print m + 0 }'
}

# cover_colours FILE: how many colours the place of the title band's last word shows.
cover_colours() {
    convert "$1" -crop 74x24+176+8 +repage -format %k info:
}

all_buttons() { # all_buttons FILE TEST: every button's colour passes the test (e.g. "-gt 40")
    local b
    for b in $BUTTONS; do
        [ "$(colour "$1" "${b%%:*}" "$BUTTON_Y")" $2 ] || return 1
    done
}

painted_plain() { import -window "$1" "$E2E_TMP/plain.png" && [ "$(cover_colours "$E2E_TMP/plain.png")" -gt 1 ]; }
painted_classic() { import -window "$1" "$E2E_TMP/classic.png" && all_buttons "$E2E_TMP/classic.png" "-gt 40"; }

# The standard view for comparison: grey buttons, the whole title band.
start_tarvo
wid=$(tarvo_window '^Tarvo$')
check "plain start: title band drawn" wait_for 10 painted_plain "$wid"
check "plain start: five grey buttons" all_buttons "$E2E_TMP/plain.png" "-lt 8"
stop_tarvo

# The Classic view: compact, five colour buttons, the last word of the band covered.
start_tarvo C
wid=$(tarvo_window '^Tarvo$')
check "C: five colour buttons" wait_for 10 painted_classic "$wid"
check "C: last word of the band covered" test "$(cover_colours "$E2E_TMP/classic.png")" -eq 1
check "C: compact 367 x 185" sh -c "xwininfo -id $wid | grep -q 'Width: 367' && xwininfo -id $wid | grep -q 'Height: 185'"

# The pointer on a button makes its caption bold: more of the caption's place is light.
caption_light() { convert "$1" -crop 70x16+11+98 +repage -colorspace Gray -format '%[fx:int(mean * 10000)]' info:; }
regular=$(caption_light "$E2E_TMP/classic.png")
xdotool mousemove --window "$wid" --sync 200 170 mousemove --window "$wid" --sync 46 "$BUTTON_Y"
bold_caption() { import -window "$wid" "$E2E_TMP/hover.png" && [ "$(caption_light "$E2E_TMP/hover.png")" -gt "$regular" ]; }
check "C: hovered caption bold" wait_for 10 bold_caption

# "Timer" leaves the Classic view: the window grows; "&Abbrechen" then ends without a request.
click_at "$wid" $TIMER_XY
check "Timer: full height" wait_for 10 sh -c "xwininfo -id $wid | grep -q 'Height: 361'"
click_at "$wid" $ABBRUCH_XY
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
