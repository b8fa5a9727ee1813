#!/usr/bin/env bash
# Installs the Debian 12 packages Tarvo needs that are missing. "run" installs what building and
# running need; "test" adds what the test suite needs (virtual X server, window manager, D-Bus mocks);
# "bench" adds the peer the benchmark measures Tarvo against.
set -euo pipefail

build_packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6 fonts-liberation2
    fonts-dejavu-core)
test_packages=(xvfb xauth x11-utils xdotool openbox trayer dbus-daemon python3-dbusmock libglib2.0-bin
    desktop-file-utils g++-mingw-w64-x86-64 imagemagick)
# The Debian package: dpkg-shlibdeps for its dependencies, its validators, the manual page's check.
test_packages+=(dpkg-dev appstream groff-base)
# The fuzz harnesses (scripts/ci-fuzz.sh) need clang and its libFuzzer.
test_packages+=(clang libclang-rt-14-dev)
# scripts/clang-tidy.sh, run by scripts/test.sh after the build.
test_packages+=(clang-tidy)
# The benchmark's window probe (bench/window_watch.cpp) talks to the X server directly.
test_packages+=(libx11-dev)
# A Wayland session for the end-to-end tests: weston headless with Xwayland, and Qt's Wayland plug-in.
test_packages+=(weston xwayland qt6-wayland)
bench_packages=(kshutdown)

wanted=("${build_packages[@]}")
if [ "${1:-run}" = "test" ] || [ "${1:-run}" = "bench" ]; then
    wanted+=("${test_packages[@]}")
fi
if [ "${1:-run}" = "bench" ]; then
    wanted+=("${bench_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# dbus-x11 is left out on purpose: with it, a Qt program without a session bus spawns a stray one.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
