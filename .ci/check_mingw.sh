#!/bin/sh
# Cross-compiles and links the Windows power layer with MinGW-w64, so a Linux CI run notices when
# the Win32 side stops building. Only the Qt-free files are built: the algorithm and the real table.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${MINGW_CXX:-x86_64-w64-mingw32-g++}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# A driver that only references the entry points; it is linked, never run.
cat >"$out/driver.cpp" <<'CPP'
#include "power/windows_power_win32.h"

int main(int argc, char**)
{
    auto api = tarvo::makeWin32PowerApi();
    // Never true when run without arguments; keeps the request reachable for the linker.
    if (argc > 1000)
        return static_cast<int>(tarvo::requestWindowsPower(*api, 1).result);
    return api ? 0 : 1;
}
CPP

"$cxx" -std=c++20 -Wall -Wextra -Werror -O2 -static \
    -I "$root/src" \
    "$root/src/power/windows_power_algorithm.cpp" \
    "$root/src/power/windows_power_win32.cpp" \
    "$out/driver.cpp" \
    -o "$out/check_power.exe" \
    -ladvapi32 -luser32 -lpowrprof

echo "mingw: Windows power layer compiles and links ($(basename "$cxx"))"
