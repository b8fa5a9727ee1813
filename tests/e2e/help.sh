#!/usr/bin/env bash
# --help, -h and --version of the real program: answered without a display, and the option letters
# inside them ("--help" holds L and H) are never applied.
source "$(dirname "$0")/lib.sh"

run() { # run OUT-NAME ARGS...: stdout to $E2E_TMP/OUT-NAME, stderr to .err, sets rc
    local name=$1
    shift
    timeout 20 "$TARVO" "$@" >"$E2E_TMP/$name" 2>"$E2E_TMP/$name.err" && rc=0 || rc=$?
}

# Without any display.
unset DISPLAY
run help --help
check "--help without a display: exit 0" test "$rc" -eq 0
check "--help: usage on stdout" grep -q '^Aufruf: tarvo' "$E2E_TMP/help"
check "--help: nothing on stderr" test ! -s "$E2E_TMP/help.err"
run short -h
check "-h: exit 0 and the same usage" sh -c "test $rc -eq 0 && cmp -s '$E2E_TMP/help' '$E2E_TMP/short'"
run version --version
check "--version: exit 0" test "$rc" -eq 0
check "--version: Tarvo Vers. 1.31" test "$(cat "$E2E_TMP/version")" = "Tarvo Vers. 1.31"
run plain
check "no display otherwise: exit 2" test "$rc" -eq 2
check "--version to a full disk fails" sh -c "! '$TARVO' --version >/dev/full 2>/dev/null"

# With a screen the letters would request at once: L M0 Y logs off without asking.
export QT_QPA_PLATFORM=offscreen
run letters L M0 Y
check "control: L M0 Y requests log off" test "$(cat "$E2E_TMP/letters")" = "tarvo: power request 0 (LogOff)"
for arguments in "--help M0 Y" "L M0 Y -h" "--version M0 Y" "A M0 Y --help"; do
    run applied $arguments
    check "'$arguments': exit 0, no request" \
        sh -c "test $rc -eq 0 && test -s '$E2E_TMP/applied' && ! grep -q '^tarvo: power request [0-9]' '$E2E_TMP/applied'"
done

e2e_finish
