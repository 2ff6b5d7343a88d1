#!/bin/sh
# Builds the Debian package of a build folder, as make package does but without the slow parts (no
# dependency search, fast compression), and checks that it holds exactly what make install installs below
# /usr, with the modes a system installation wants. Exits 77 (skipped), saying why, without dpkg-deb.
# usage: package_test.sh BUILD_DIR
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

build=$1
if ! command -v dpkg-deb >/dev/null 2>&1; then
    echo "skipped: dpkg-deb is not installed; the package is built and read with Debian's tools"
    exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/tazen-package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" -D CPACK_DEBIAN_PACKAGE_SHLIBDEPS=OFF \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip -D CPACK_STRIP_FILES=OFF >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fail "cpack failed"
    exit 1
}
package=$(ls "$work"/out/tazen_*.deb)

# What make install brings, by its own list: below a staging folder, for the prefix /usr.
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    fail "cmake --install failed"
    exit 1
}
# The package adds the login step that merges Thunar's actions into each user's uca.xml.
{ grep -v -x lib/tazen/install_manifest.txt "$work/stage/usr/lib/tazen/install_manifest.txt" | sed 's|^|/usr/|' &&
    echo /etc/xdg/autostart/io.codeberg.tazen.thunar-actions.desktop; } | LC_ALL=C sort >"$work/installed"
# dpkg-deb lists "MODE OWNER SIZE DATE TIME ./PATH"; links add " -> TARGET".
dpkg-deb -c "$package" | grep -v '^d' | sed -e 's|^.* \./|/|' -e 's| -> .*$||' | LC_ALL=C sort >"$work/packaged"
diff "$work/installed" "$work/packaged" >"$work/difference" || {
    cat "$work/difference" >&2
    fail "the package (>) holds other files than make install's list (<)"
}

dpkg-deb -c "$package" >"$work/listing"
grep -q '^-rwxr-xr-x root/root .* \./usr/lib/tazen/tazen$' "$work/listing" || fail "usr/lib/tazen/tazen is not 0755 root"
grep -q '^lrwxrwxrwx root/root .* \./usr/bin/tazen-cli -> \.\./lib/tazen/tazen-cli$' "$work/listing" ||
    fail "usr/bin/tazen-cli is not a link to ../lib/tazen/tazen-cli"
grep -q '^-rw-r--r-- root/root .* \./usr/share/kio/servicemenus/io.codeberg.tazen.encrypt.desktop$' "$work/listing" ||
    fail "a service menu below /usr is not a plain 0644 file"
dpkg-deb -x "$package" "$work/unpacked"
grep -q -x 'Exec=/usr/bin/tazen --encrypt %F' \
    "$work/unpacked/usr/share/nemo/actions/io.codeberg.tazen.encrypt.nemo_action" ||
    fail "Nemo's encrypt action does not start /usr/bin/tazen --encrypt %F"
grep -q -x 'Exec=/usr/lib/tazen/thunar-actions login /usr/lib/tazen/thunar-actions.xml' \
    "$work/unpacked/etc/xdg/autostart/io.codeberg.tazen.thunar-actions.desktop" ||
    fail "the login step does not merge the Thunar actions"
dpkg-deb -I "$package" conffiles | grep -q -x /etc/xdg/autostart/io.codeberg.tazen.thunar-actions.desktop ||
    fail "the login step is not a conffile"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed" >&2
    exit 1
fi
echo "the package holds the $(wc -l <"$work/packaged") files make install installs"
