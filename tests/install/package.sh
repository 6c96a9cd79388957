#!/usr/bin/env bash
# The Debian package: built by CPack from the build folder into OUT, its
# control fields (library dependencies computed, the report's fonts, the
# section) and contents, and lintian's verdict (no errors).
#
#   package.sh BUILD_DIR OUT VERSION
set -euo pipefail
build=$1 out=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" || { cat "$out/cpack.log"; fail "cpack"; }
deb=$out/tenglan_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $deb: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tenglan && $(field Version) == "$version" ]] || fail "name or version: $(field Package) $(field Version)"
[[ $(field Section) == misc && -n $(field Maintainer) ]] || fail "section or maintainer"
depends=$(field Depends)
for dep in 'fonts-arphic-uming | fonts-wqy-zenhei' 'libc6 (>=' 'libstdc++6 (>=' 'libqt6widgets6 (>='; do
  [[ $depends == *"$dep"* ]] || fail "Depends lacks '$dep': $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/tenglan ./usr/bin/tenglan-cli ./usr/share/tenglan/help.txt ./usr/share/applications/tenglan.desktop \
         ./usr/share/icons/hicolor/256x256/apps/tenglan.png ./usr/share/man/man1/tenglan-cli.1.gz \
         ./usr/share/doc/tenglan/copyright; do
  grep -qx -- "$f" <<<"$contents" || fail "the package lacks $f"
done
# Owned by root, folders 0755, nothing beside the programs in bin.
dpkg-deb -c "$deb" | awk '$2 != "root/root" {bad = 1} $1 ~ /^d/ && $1 != "drwxr-xr-x" {bad = 1} END {exit bad}' ||
  fail "owners or folder modes: $(dpkg-deb -c "$deb")"

lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$out/lintian.txt" || fail "lintian found errors"
echo "package: $deb"
