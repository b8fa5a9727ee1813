#!/usr/bin/env bash
# Builds the Debian package from a finished build directory and checks it as a user gets it: the
# desktop entry, metainfo, icons and manual page it holds; then installs it with apt-get, runs the
# installed program under a virtual X server (dry run only) and removes the package again.
# Usage: scripts/check-package.sh BUILD-DIRECTORY
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: check-package.sh BUILD-DIRECTORY}" && pwd)

rm -f "$build"/package/tarvo_*.deb
cpack -G DEB -B "$build/package" --config "$build/CPackConfig.cmake" >/dev/null
debs=("$build"/package/tarvo_*.deb)
deb=${debs[0]}
echo "== $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $1, $6 }'

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb --extract "$deb" "$stage"
share=$stage/usr/share
entries=("$share"/applications/*.desktop)
entry=${entries[0]}
id=$(basename "$entry" .desktop)
desktop-file-validate "$entry"
appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml"
# The tree as a whole: the metainfo's launchable names the desktop entry that is really there.
appstreamcli validate-tree --no-net --pedantic "$stage"

failures=0
fail() {
    echo "FAIL - $*"
    failures=$((failures + 1))
}
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x$size/apps/$icon.png
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x$size" ] || fail "icon $png is not ${size}x$size"
done
warnings=$(zcat "$share/man/man1/tarvo.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"
[ "$failures" -eq 0 ] || exit 1
echo "ok   - desktop entry, metainfo, $icon icons and manual page"

# Installing touches the machine: only when the package is not installed already, and undone after.
if dpkg-query -W -f='${Status}' tarvo 2>/dev/null | grep -q '^install ok installed$'; then
    echo "SKIP: a tarvo package is installed on this machine; it is left alone"
    exit 0
fi
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
before=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort)
remove_package() {
    # The package, and whatever its installation pulled in, goes again.
    local after extra
    after=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort)
    extra=$(comm -13 <(echo "$before") <(echo "$after") | tr '\n' ' ')
    [ -z "$extra" ] || "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $extra >/dev/null
}
trap 'rm -rf "$stage"; remove_package' EXIT
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null

# The installed program. lib.sh keeps it away from the real system bus and sets the dry run.
source "$root/tests/e2e/lib.sh" /usr/bin/tarvo
trap 'e2e_cleanup; rm -rf "$stage"; remove_package' EXIT
version=$(dpkg-deb --field "$deb" Version)
check "installed: --version says $version" test "$(/usr/bin/tarvo --version)" = "Tarvo Vers. $version"
e2e_start_display
out=$(timeout 60 /usr/bin/tarvo M0 Y 2>"$E2E_TMP/stderr") && rc=0 || rc=$?
check "installed: M0 Y requests shut down" test "$out" = "tarvo: power request 1 (Shutdown)"
check "installed: M0 Y ends with 0" test "$rc" -eq 0
/usr/bin/tarvo >/dev/null 2>&1 &
E2E_PIDS+=($!)
wid=$(tarvo_window '^Tarvo$')
wm_class=$(xprop -id "$wid" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p')
check "installed: WM_CLASS '$wm_class' is the entry's StartupWMClass" \
    test -n "$wm_class" -a "$wm_class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")"
e2e_finish
