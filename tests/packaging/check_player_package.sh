#!/usr/bin/env bash
# Checks the playback PC's package, lyrabox-player_<version>_<arch>.deb: its
# control fields, maintainer scripts, contents, example settings, the kiosk
# unit, and what the kiosk session starts. Unpacks with dpkg-deb -x only;
# nothing is installed on this machine.
#   check_player_package.sh PLAYER_DEB CONSOLE_DEB
set -uo pipefail

deb=$1
console_deb=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# --- control fields -------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
relation_names() { field "$1" | sed -e 's/([^)]*)//g' | tr -d ' \t' | tr ',|' '\n' | grep -v '^$'; }

[ "$(field Package)" = lyrabox-player ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$(dpkg-deb -f "$console_deb" Version)" ] ||
    fail "Version '$(field Version)' is not the console's '$(dpkg-deb -f "$console_deb" Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
    fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
summary=$(field Description | sed -n 1p)
[[ "$summary" == *"room player"* ]] || fail "the description's summary is '$summary'"

depends=$(relation_names Depends)
for package in \
    libmpv2 libqt6core6 libqt6sql6 libstdc++6 \
    libqt6sql6-mysql fonts-dejavu-core libgl1-mesa-dri \
    xserver-xorg-core xserver-xorg-input-libinput xinit libpam-systemd adduser; do
    grep -qx -- "$package" <<<"$depends" || fail "Depends lacks $package (Depends: $(field Depends))"
done
# The playback PC runs no console: none of the console's own packages.
for package in lyrabox ntpsec-ntpdate qml6-module-qtquick libqt6quickwidgets6; do
    ! grep -qx -- "$package" <<<"$(relation_names Depends; relation_names Recommends)" ||
        fail "the player's package pulls in $package"
done

# --- maintainer scripts ---------------------------------------------------
dpkg-deb -e "$deb" "$work/control"
sort "$work/control/conffiles" 2>/dev/null >"$work/conffiles"
printf '%s\n' /etc/default/lyrabox-player /etc/lyrabox-player/setting.ini | cmp -s - "$work/conffiles" ||
    fail "conffiles are '$(tr '\n' ' ' <"$work/conffiles")'"
for script in postinst prerm postrm; do
    if [ ! -x "$work/control/$script" ]; then
        fail "maintainer script $script missing or not executable"
        continue
    fi
    sh -n "$work/control/$script" || fail "$script is not valid sh"
    ! grep -qE 'systemctl[^#]*(enable|start|restart)|deb-systemd-(helper|invoke)[^#]*(enable|start)' \
        "$work/control/$script" || fail "$script enables or starts a service"
    # The console's scripts belong to the console's package.
    ! grep -qE 'lyrabox-kiosk|/var/lib/lyrabox(/| |$)' "$work/control/$script" ||
        fail "$script acts on the console's files"
done
grep -qE 'adduser --system .*--home /var/lib/lyrabox-player .*lyrabox-player$' "$work/control/postinst" ||
    fail "postinst does not create the lyrabox-player account"
grep -q 'systemctl stop lyrabox-player-kiosk.service' "$work/control/prerm" ||
    fail "prerm does not stop the kiosk"
# The venue's song files survive a purge.
! grep -qE 'rm -[a-z]*r[a-z]* .*/var/lib/lyrabox-player' "$work/control/postrm" ||
    fail "postrm deletes the media folder"

# --- contents -------------------------------------------------------------
dpkg-deb -c "$deb" >"$work/contents"
awk '{ path = $6; for (i = 7; i <= NF; i++) path = path " " $i; print path }' \
    "$work/contents" | sed 's:/$::' >"$work/paths"
mode_of() { awk -v p="./$1" '$6 == p || $6 == p "/" { print $1 }' "$work/contents"; }

for executable in usr/bin/lyrabox-player usr/lib/lyrabox-player/kiosk-session; do
    [[ "$(mode_of "$executable")" == -rwxr-xr-x ]] ||
        fail "$executable missing or not executable (mode '$(mode_of "$executable")')"
done
for file in etc/lyrabox-player/setting.ini etc/default/lyrabox-player \
    lib/systemd/system/lyrabox-player-kiosk.service usr/share/doc/lyrabox-player/README.md; do
    [[ "$(mode_of "$file")" == -rw-r--r-- ]] || fail "$file missing (mode '$(mode_of "$file")')"
done
[[ "$(mode_of var/lib/lyrabox-player/media)" == drwxr-xr-x ]] ||
    fail "no media folder (mode '$(mode_of var/lib/lyrabox-player/media)')"
while IFS= read -r path; do
    case "$path" in
        ./ | ./usr | ./usr/bin | ./usr/bin/lyrabox-player) ;;
        ./etc | ./etc/lyrabox-player | ./etc/lyrabox-player/setting.ini) ;;
        ./etc/default | ./etc/default/lyrabox-player) ;;
        ./usr/share | ./usr/share/doc | ./usr/share/doc/lyrabox-player | ./usr/share/doc/lyrabox-player/*) ;;
        ./var | ./var/lib | ./var/lib/lyrabox-player | ./var/lib/lyrabox-player/media) ;;
        ./lib | ./lib/systemd | ./lib/systemd/system | ./lib/systemd/system/lyrabox-player-kiosk.service) ;;
        ./usr/lib | ./usr/lib/lyrabox-player | ./usr/lib/lyrabox-player/kiosk-session) ;;
        *) fail "unexpected entry $path" ;;
    esac
done <"$work/paths"

root=$work/root
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/lyrabox-player" --help >"$work/help" 2>&1 || fail "the packaged player does not run"
grep -q -- '--media' "$work/help" || fail "the packaged player's usage names no --media"

# --- the example settings -------------------------------------------------
settings=$root/etc/lyrabox-player/setting.ini
ini_value() { sed -n "s/^[[:space:]]*$1[[:space:]]*=[[:space:]]*//Ip" "$settings" | tr -d '\r'; }
for key in ServerLaguHost ServerLaguBackup; do
    value=$(ini_value "$key")
    [[ "$value" =~ ^[A-Za-z0-9.-]+\.invalid(:[0-9]+)?$ ]] ||
        fail "setting.ini: $key='$value' is not a placeholder host under .invalid"
done
[ -n "$(ini_value DatabaseLagu)" ] || fail "setting.ini: DatabaseLagu is empty"
grep -qx '\[PlayerKaraoke\]' "$settings" || fail "setting.ini has no [PlayerKaraoke]"
grep -qx '\[RoomPlayer\]' "$settings" || fail "setting.ini has no [RoomPlayer]"
# Every key of [RoomPlayer] is shown, commented, at its default.
for key in VocalChannel=right Screen=0 AudioDevice=auto MicrophoneCard=default MicrophoneControl=; do
    grep -qx ";$key" "$settings" || fail "setting.ini does not show ;$key"
    [ -z "$(ini_value "${key%%=*}")" ] || fail "setting.ini sets ${key%%=*} instead of showing it"
done

# --- the kiosk's environment file -----------------------------------------
defaults=$root/etc/default/lyrabox-player
# systemd's EnvironmentFile: comments, blank lines and NAME=VALUE only.
grep -vE '^(#.*|[[:space:]]*|[A-Z_]+=[^"'"'"'$`\\]*)$' "$defaults" >"$work/bad-lines" &&
    fail "$(basename "$defaults") has lines systemd and sh read differently: $(cat "$work/bad-lines")"
default_value() { sed -n "s/^$1=//p" "$defaults"; }
for key in LISTEN ROOM MEDIA; do
    grep -q "^$key=" "$defaults" || fail "/etc/default/lyrabox-player has no $key"
done
[ "$(default_value MEDIA)" = /var/lib/lyrabox-player/media ] ||
    fail "MEDIA is '$(default_value MEDIA)', not the packaged folder"
[[ "$(default_value LISTEN)" =~ ^0\.0\.0\.0:[0-9]+$ ]] ||
    fail "LISTEN '$(default_value LISTEN)' is not every address of the PC"

# --- the kiosk unit -------------------------------------------------------
unit=$root/lib/systemd/system/lyrabox-player-kiosk.service
unit_value() { sed -n "s/^$1=//p" "$unit"; }
[ "$(unit_value User)" = lyrabox-player ] || fail "the unit's User is '$(unit_value User)'"
[ "$(unit_value WorkingDirectory)" = /var/lib/lyrabox-player ] ||
    fail "the unit's WorkingDirectory is '$(unit_value WorkingDirectory)'"
[ "$(unit_value EnvironmentFile)" = -/etc/default/lyrabox-player ] ||
    fail "the unit's EnvironmentFile is '$(unit_value EnvironmentFile)'"
[ "$(unit_value Restart)" = always ] || fail "the unit does not restart the player"
[ "$(unit_value Conflicts)" = getty@tty1.service ] || fail "the unit does not take tty1 from getty"
grep -qx 'WantedBy=graphical.target' "$unit" || fail "the unit has no [Install] target"
read -r -a exec_start <<<"$(unit_value ExecStart)"
[ "${exec_start[0]:-}" = /usr/bin/xinit ] || fail "the unit does not start xinit"
[ "${exec_start[1]:-}" = /usr/lib/lyrabox-player/kiosk-session ] && [ -x "$root${exec_start[1]}" ] ||
    fail "the unit's session ${exec_start[1]:-} is not the packaged one"
[ "${exec_start[2]:-}" = -- ] && [ "${exec_start[3]:-}" = /usr/bin/Xorg ] ||
    fail "the unit's X server is '${exec_start[3]:-}'"
for argument in vt1 -nolisten -nocursor; do
    printf '%s\n' "${exec_start[@]}" | grep -qx -- "$argument" || fail "Xorg is started without $argument"
done

# --- what the session starts ----------------------------------------------
# The session run with the packaged defaults and a stand-in player that
# prints its arguments, one a line.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@"\n' >"$work/bin/lyrabox-player"
chmod +x "$work/bin/lyrabox-player"
session() {
    (
        set -a
        # shellcheck disable=SC1090
        . "$defaults"
        for assignment in "$@"; do export "${assignment?}"; done
        PATH="$work/bin:$PATH" sh "$root/usr/lib/lyrabox-player/kiosk-session" 2>"$work/session.err"
    )
}
expected_room=$(printf '%s\n' --listen 0.0.0.0:5000 --room "ROOM 07" \
    --settings /etc/lyrabox-player/setting.ini --media /var/lib/lyrabox-player/media \
    --mpv "geometry=100%x100%+0+0")
[ "$(session "ROOM=ROOM 07")" = "$expected_room" ] ||
    fail "the session with ROOM=\"ROOM 07\" starts: $(session "ROOM=ROOM 07" | tr '\n' ' ')"
expected_bare=$(printf '%s\n' --listen 0.0.0.0:5000 --settings /etc/lyrabox-player/setting.ini \
    --media /var/lib/lyrabox-player/media --mpv "geometry=100%x100%+0+0")
[ "$(session ROOM=)" = "$expected_bare" ] ||
    fail "the session without ROOM starts: $(session ROOM= | tr '\n' ' ')"
session ROOM= >/dev/null
grep -q 'no ROOM' "$work/session.err" || fail "the session does not say that no ROOM is set"
expected_listen=$(printf '%s\n' --listen 192.0.2.7:6000 --settings /etc/lyrabox-player/setting.ini \
    --media /srv/songs --mpv "geometry=100%x100%+0+0")
[ "$(session ROOM= LISTEN=192.0.2.7:6000 MEDIA=/srv/songs)" = "$expected_listen" ] ||
    fail "the session ignores LISTEN or MEDIA"
grep -q 'not readable' "$work/session.err" || fail "the session does not say that MEDIA is missing"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed for $(basename "$deb")" >&2
    exit 1
fi
echo "$(basename "$deb"): control fields, scripts, contents, settings and session as expected"
