#!/bin/bash
# Fails when a file of src/ includes a header of a folder above its own. The folders are layers,
# lowest first, each a static library (src/CMakeLists.txt); a layer may include its own headers and
# those of the layers below. Form1's member functions (form1*.cpp) belong to the top, app, wherever
# they lie.
#   scripts/check-layers.sh [SRC_DIR]
set -u
src=${1:-$(dirname "$0")/../src}
layers=(base countdown entry power shell desktop info app)

declare -A rank
for i in "${!layers[@]}"; do
    rank[${layers[$i]}]=$i
done

status=0
for file in "$src"/*/*.h "$src"/*/*.cpp; do
    [[ -e $file ]] || continue
    relative=${file#"$src"/}
    folder=${relative%%/*}
    [[ ${file##*/} == form1* ]] && folder=app
    own=${rank[$folder]:--1}
    if ((own < 0)); then
        echo "$relative: the folder $folder is no layer (add it to src/CMakeLists.txt and $0)"
        status=1
        continue
    fi
    while IFS= read -r included; do
        target=${rank[${included%%/*}]:--1}
        if ((target > own)); then
            echo "$relative includes $included: $folder may not use ${included%%/*}, which lies above it"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\/[^"]*\)".*/\1/p' "$file")
done
exit $status
