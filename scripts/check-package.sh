#!/usr/bin/env bash
# Installs build/suriball_<version>_amd64.deb into a throwaway Debian 12 root made with debootstrap, with
# apt-get as a person would, checks the desktop entry and the AppStream metadata, makes a demo install and
# starts the program with the menu entry's own command (offscreen: it must still be running at its login
# form after 20 seconds). Run as root, with the network to Debian's mirror; build the package first:
#   cmake --build build --target package && sudo scripts/check-package.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/suriball_*_amd64.deb 2>/dev/null | sort -V | tail -n 1)
[ -n "$deb" ] || { echo "no package: cmake --build build --target package" >&2; exit 1; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap
root=${1:-$(mktemp -d /tmp/suriball-root.XXXXXX)}
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    [ -n "${1:-}" ] || rm -rf "$root"
}
trap 'cleanup "${1:-}"' EXIT

[ -x "$root/usr/bin/apt-get" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
in_root apt-get update -q
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" \
    desktop-file-utils appstream locales

echo "== the desktop entry and the metadata"
in_root desktop-file-validate /usr/share/applications/kr.suriball.Suriball.desktop
in_root appstreamcli validate --no-net /usr/share/metainfo/kr.suriball.Suriball.metainfo.xml
for size in 48 128 256; do
    test -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/kr.suriball.Suriball.png"
done

echo "== a demo install, then the menu entry's command"
sed -i 's/^# *\(ko_KR.UTF-8 UTF-8\)/\1/' "$root/etc/locale.gen"
grep -q '^ko_KR.UTF-8 UTF-8' "$root/etc/locale.gen" || echo 'ko_KR.UTF-8 UTF-8' >>"$root/etc/locale.gen"
in_root locale-gen >/dev/null
in_root suriball-setup demo --root '/root/VELTRA/수리볼'
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/kr.suriball.Suriball.desktop")
set +e
in_root env QT_QPA_PLATFORM=offscreen SURIBALL_WEBVIEW=plain timeout 20 $command >"$root/tmp/start.log" 2>&1
status=$?
set -e
cat "$root/tmp/start.log"
if [ "$status" -ne 124 ]; then
    echo "the program did not keep running (exit $status)" >&2
    exit 1
fi
echo "package checked: $deb"
