#!/bin/sh
# Each program answers --version with its name and the build's one version,
# on standard output, status 0; the desktop program answers --help on the
# terminal without a display instead of opening its window.
#   check_versions.sh VERSION PROGRAM...
# Run under `unshare -n`: no program gets near a real network.
set -u
version=$1
shift
status=0
for program in "$@"; do
    name=$(basename "$program")
    out=$("$program" --version 2>&1) || { echo "FAIL: $name --version exits $?" >&2; status=1; }
    [ "$out" = "$name $version" ] || { echo "FAIL: $name --version says \"$out\"" >&2; status=1; }
    if [ "$name" = orbisk ]; then
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help 2>&1) ||
            { echo "FAIL: orbisk --help exits $?: $out" >&2; status=1; }
        case $out in
        "Usage: orbisk "*) ;;
        *) echo "FAIL: orbisk --help says \"$out\"" >&2; status=1 ;;
        esac
    fi
done
[ $status -eq 0 ] && echo "versions ok"
exit $status
