#!/usr/bin/env bash
# Builds the Debian packages of a build tree into a temporary folder and checks
# the console's control fields, maintainer scripts and contents, then the
# player's with check_player_package.sh. Unpacks with dpkg-deb -x only; nothing
# is installed on this machine.
#   check_package.sh BUILD_DIR SOURCE_DIR
set -uo pipefail

build_dir=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack did not make the package" >&2
    exit 1
fi
# One run makes both packages: the console tablet's and the playback PC's.
mapfile -t debs < <(find "$work/out" -maxdepth 1 -name '*.deb' -printf '%f\n' | LC_ALL=C sort)
if [ ${#debs[@]} -ne 2 ] || [[ ${debs[0]} != lyrabox-player_*.deb ]] || [[ ${debs[1]} != lyrabox_*.deb ]]; then
    echo "FAIL: expected lyrabox_*.deb and lyrabox-player_*.deb, found: ${debs[*]}" >&2
    exit 1
fi
deb=$work/out/${debs[1]}
player_deb=$work/out/${debs[0]}

# --- control fields -------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
# The package names of a relation field, one a line, without versions.
relation_names() { field "$1" | sed -e 's/([^)]*)//g' | tr -d ' \t' | tr ',|' '\n' | grep -v '^$'; }

[ "$(field Package)" = lyrabox ] || fail "Package is '$(field Package)'"
[ -n "$(field Version)" ] || fail "no Version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"

depends=$(relation_names Depends)
recommends=$(relation_names Recommends)
required_depends=(
    # what the binaries link, found by dpkg-shlibdeps
    libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6network6
    libqt6qml6 libqt6quickwidgets6 libstdc++6
    # what the console loads at run time
    libqt6sql6-mysql fonts-dejavu-core
    # the kiosk session
    xserver-xorg-core xserver-xorg-input-libinput xinit
)
# Every QML module the default skin imports (import QtQuick -> qml6-module-qtquick).
mapfile -t skin_imports < <(grep -rhoE '^[[:space:]]*import[[:space:]]+[A-Za-z][A-Za-z.]*' \
    --include='*.qml' "$source_dir/assets/gambar" | awk '{print $2}' | sort -u)
[ ${#skin_imports[@]} -gt 0 ] || fail "found no QML imports in the default skin"
for module in "${skin_imports[@]}"; do
    required_depends+=("qml6-module-$(echo "$module" | tr 'A-Z.' 'a-z-')")
done
for package in "${required_depends[@]}"; do
    grep -qx -- "$package" <<<"$depends" || fail "Depends lacks $package (Depends: $(field Depends))"
done
grep -qx ntpsec-ntpdate <<<"$recommends" || fail "Recommends lacks ntpsec-ntpdate"
! grep -qx ntpsec-ntpdate <<<"$depends" || fail "ntpsec-ntpdate is a Depends, not a Recommends"

# --- maintainer scripts ---------------------------------------------------
dpkg-deb -e "$deb" "$work/control"
grep -qx /etc/lyrabox/setting.ini "$work/control/conffiles" 2>/dev/null ||
    fail "setting.ini is not a conffile"
for script in postinst prerm postrm; do
    if [ ! -x "$work/control/$script" ]; then
        fail "maintainer script $script missing or not executable"
        continue
    fi
    sh -n "$work/control/$script" || fail "$script is not valid sh"
    # The venue enables the kiosk itself; installing starts nothing.
    ! grep -qE 'systemctl[^#]*(enable|start|restart)|deb-systemd-(helper|invoke)[^#]*(enable|start)' \
        "$work/control/$script" || fail "$script enables or starts a service"
done
grep -qE 'adduser --system .*lyrabox$' "$work/control/postinst" ||
    fail "postinst does not create the lyrabox account"
grep -q 'chown lyrabox:lyrabox /var/lib/lyrabox/log' "$work/control/postinst" ||
    fail "postinst does not give the log folder to the lyrabox account"

# --- contents -------------------------------------------------------------
dpkg-deb -c "$deb" >"$work/contents"
# "./path" or "./path -> target" for every entry, and its mode.
awk '{ path = $6; for (i = 7; i <= NF; i++) path = path " " $i; print path }' \
    "$work/contents" | sed 's:/$::' >"$work/paths"
mode_of() { awk -v p="./$1" '$6 == p || $6 == p "/" { print $1 }' "$work/contents"; }

for executable in usr/bin/lyrabox usr/bin/roomplayer-sim usr/lib/lyrabox/kiosk-session; do
    [[ "$(mode_of "$executable")" == -rwxr-xr-x ]] ||
        fail "$executable missing or not executable (mode '$(mode_of "$executable")')"
done
for file in etc/lyrabox/setting.ini lib/systemd/system/lyrabox-kiosk.service \
    usr/share/doc/lyrabox/README.md usr/share/doc/lyrabox/skin.md; do
    [[ "$(mode_of "$file")" == -rw-r--r-- ]] || fail "$file missing (mode '$(mode_of "$file")')"
done
[[ "$(mode_of var/lib/lyrabox/log)" == d* ]] || fail "the program folder has no log/"
grep -qx './var/lib/lyrabox/setting.ini -> ../../../etc/lyrabox/setting.ini' "$work/paths" ||
    fail "the program folder's setting.ini is not the relative link to /etc/lyrabox/setting.ini"
grep -qx './var/lib/lyrabox/tools/gambar -> ../../../../usr/share/lyrabox/gambar' "$work/paths" ||
    fail "the program folder's tools/gambar is not the relative link to /usr/share/lyrabox/gambar"
# Every file the build copies into a program folder's tools/gambar.
while IFS= read -r asset; do
    grep -qxF "./usr/share/lyrabox/gambar/$asset" "$work/paths" || fail "asset $asset not packaged"
done < <(cd "$source_dir/assets/gambar" && find . -type f | sed 's:^\./::' | sort)
# Nothing else: no headers, static libraries, test programs or /usr/local.
while IFS= read -r path; do
    case "$path" in
        ./ | ./usr | ./usr/bin | ./usr/bin/lyrabox | ./usr/bin/roomplayer-sim) ;;
        ./etc | ./etc/lyrabox | ./etc/lyrabox/setting.ini) ;;
        ./usr/share | ./usr/share/lyrabox | ./usr/share/lyrabox/gambar | ./usr/share/lyrabox/gambar/*) ;;
        ./usr/share/doc | ./usr/share/doc/lyrabox | ./usr/share/doc/lyrabox/*) ;;
        ./var | ./var/lib | ./var/lib/lyrabox | ./var/lib/lyrabox/*) ;;
        ./lib | ./lib/systemd | ./lib/systemd/system | ./lib/systemd/system/lyrabox-kiosk.service) ;;
        ./usr/lib | ./usr/lib/lyrabox | ./usr/lib/lyrabox/kiosk-session) ;;
        *) fail "unexpected entry $path" ;;
    esac
done <"$work/paths"

# --- the unpacked tree is a program folder --------------------------------
root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/var/lib/lyrabox
[ -r "$program/setting.ini" ] || fail "setting.ini does not resolve inside the package"
[ -r "$program/tools/gambar/main.qml" ] || fail "tools/gambar/main.qml does not resolve inside the package"
[ -r "$program/tools/gambar/loading.gif" ] || fail "tools/gambar/loading.gif does not resolve inside the package"

# The example names a placeholder host that never resolves, and both databases.
ini_value() { sed -n "s/^[[:space:]]*$1[[:space:]]*=[[:space:]]*//Ip" "$program/setting.ini" | tr -d '\r'; }
for key in ServerLaguHost ServerLaguBackup ServerTransaksi; do
    value=$(ini_value "$key")
    [[ "$value" =~ ^[A-Za-z0-9.-]+\.invalid(:[0-9]+)?$ ]] ||
        fail "setting.ini: $key='$value' is not a placeholder host under .invalid"
done
for key in DatabaseLagu DatabaseTransaksi; do
    [ -n "$(ini_value "$key")" ] || fail "setting.ini: $key is empty"
done

# The unit runs the packaged session in the program folder as the account
# postinst creates.
unit=$root/lib/systemd/system/lyrabox-kiosk.service
unit_value() { sed -n "s/^$1=//p" "$unit"; }
[ "$(unit_value WorkingDirectory)" = /var/lib/lyrabox ] ||
    fail "the unit's WorkingDirectory is '$(unit_value WorkingDirectory)'"
[ "$(unit_value User)" = lyrabox ] || fail "the unit's User is '$(unit_value User)'"
read -r -a exec_start <<<"$(unit_value ExecStart)"
[ "${exec_start[0]:-}" = /usr/bin/xinit ] || fail "the unit does not start xinit"
[ -x "$root${exec_start[1]:-/missing}" ] ||
    fail "the unit's session ${exec_start[1]:-} is not in the package"
grep -qx 'exec lyrabox "$@"' "$root/usr/lib/lyrabox/kiosk-session" ||
    fail "the session does not end in the console"
grep -qx 'WantedBy=graphical.target' "$unit" || fail "the unit has no [Install] target"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed for $(basename "$deb")" >&2
else
    echo "$(basename "$deb"): control fields, scripts and contents as expected"
fi
"$(dirname "${BASH_SOURCE[0]}")/check_player_package.sh" "$player_deb" "$deb" || failures=$((failures + 1))
[ "$failures" -eq 0 ]
