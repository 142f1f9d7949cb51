#!/bin/sh
# Tries the README's set-up on a fresh machine of another Debian release: makes
# a throw-away chroot of CODENAME (trixie, forky, testing, ...) from the mirror
# this machine's apt already uses, clones the committed tree into it and runs
# `make test` (CI=true, any compiler warning an error) and `make package-check`
# there, as root.
#
#   scripts/check_release.sh CODENAME
#
# The chroot runs in mount and PID namespaces of its own, so its mounts, its
# processes and the network namespaces the tests make inside it all end with
# the run, also when it is interrupted; the chroot itself is removed on exit.
# The bootstrapped base system is kept in /var/cache/orbisk-releases for a
# week (ORBISK_RELEASE_CACHE=none keeps nothing).
set -eu
[ $# -eq 1 ] || { echo "usage: $0 CODENAME" >&2; exit 2; }
codename=$1
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
tree=$(cd "$(dirname "$0")/.." && pwd)
cache=${ORBISK_RELEASE_CACHE:-/var/cache/orbisk-releases}
jobs=${JOBS:-2}

for tool in mmdebstrap unshare git; do
    command -v "$tool" >/dev/null || missing="${missing:-} $tool"
done
if [ -n "${missing:-}" ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap util-linux git >/dev/null
fi

# The Debian archive this machine installs from (its first non-security entry,
# deb822 or one-line format).
mirror=$(
    {
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '/^URIs:/ { print $2 }'
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }'
    } | grep -v -e security -e '^$' | head -n 1
)
[ -n "$mirror" ] || { echo "no Debian mirror found in /etc/apt" >&2; exit 1; }

work=$(mktemp -d "/var/tmp/orbisk-$codename.XXXXXX")
root=$work/root
child=""
cleanup() {
    status=$?
    trap - EXIT INT TERM HUP
    if [ -n "$child" ]; then
        kill -KILL "$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    fi
    # The kernel ends the chroot's processes with its PID namespace; give it
    # a moment before removing their files.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        busy=$(for p in /proc/[0-9]*; do
            [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && echo "$p"; done || true)
        [ -z "$busy" ] && break
        sleep 1
    done
    # Mounts live only in the child's mount namespace; check that none leaked.
    if grep -q " $work" /proc/self/mounts; then
        echo "mounts under $work left; not removing it" >&2
        status=1
    else
        rm -rf "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Testing's Release file may be past its Valid-Until on a mirror that lags:
# accepted here, inside the chroot too.
tarball=$cache/$codename.tar
if [ "$cache" = none ] || [ -z "$(find "$tarball" -mtime -7 2>/dev/null)" ]; then
    echo "== bootstrapping $codename from $mirror"
    out=$work/base.tar
    mmdebstrap --quiet --variant=minbase --include=make,git,ca-certificates \
        --aptopt='Acquire::Check-Valid-Until "false"' \
        "$codename" "$out" "$mirror"
    if [ "$cache" != none ]; then
        mkdir -p "$cache"
        cp "$out" "$tarball.new" && mv "$tarball.new" "$tarball"
    fi
else
    out=$tarball
fi
mkdir "$root"
tar -C "$root" -xpf "$out"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet "$tree" "$root/src/orbisk"
echo "== $codename: $(. "$root/etc/os-release" && echo "$PRETTY_NAME"), tree at $(git -C "$tree" rev-parse --short HEAD)"

# `ip netns` wants / to be a mount point (it makes /run/netns shared): the
# chroot is bind-mounted onto itself.
unshare --mount --pid --fork --propagation private --kill-child sh -eu -c '
    root=$1
    mount --bind "$root" "$root"
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/run"
    mount -t tmpfs tmpfs "$root/tmp"
    exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 CI=true JOBS="$2" sh -euc "
            cd /src/orbisk
            make test JOBS=\$JOBS CMAKE_FLAGS=-DCMAKE_COMPILE_WARNING_AS_ERROR=ON
            g++ --version | head -n 1
            dpkg-query -W -f=\"\\\${Package} \\\${Version}\\n\" qt6-base-dev cmake clang
            make package-check"
' check-release "$root" "$jobs" &
child=$!
wait "$child"
child=""
echo "== $codename: passed"
