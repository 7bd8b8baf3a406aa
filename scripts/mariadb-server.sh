#!/usr/bin/env bash
# A private MariaDB server for the demo and the tests: an ordinary process with its
# own data folder, listening on 127.0.0.1 only, never a system service.
#
#   mariadb-server.sh start DIR SETTING_INI [--fresh] [--demo] [--account FILE]
#       Starts the server in DIR unless it already runs there, then makes sure the
#       three databases exist: the songs and transaction databases named in
#       SETTING_INI and "authentification". The port is taken from the settings'
#       ServerLaguHost, which must read 127.0.0.1:PORT. --fresh drops and reloads
#       the databases; --demo loads the demo data into newly created ones.
#       The console's account comes from FILE (default build/db/account.env).
#       LYRABOX_DB_BUFFER_POOL sizes the server's cache (default 256M); a large
#       generated catalogue wants it to hold the whole songs database.
#   mariadb-server.sh stop DIR
#   mariadb-server.sh client DIR [ARGS...]   an administrator's client on the socket
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

die() { echo "mariadb-server: $*" >&2; exit 1; }

# Reads KEY from [SECTION] of a Windows-style INI file, ignoring case in names.
ini_value() {
    local file=$1 section=$2 key=$3
    awk -v section="$section" -v key="$key" '
        BEGIN { section = tolower(section); key = tolower(key) }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ { current = tolower($0); gsub(/^[ \t]*\[|\][ \t]*$/, "", current); next }
        current == section {
            eq = index($0, "="); if (eq == 0) next
            name = substr($0, 1, eq - 1); gsub(/^[ \t]+|[ \t]+$/, "", name)
            if (tolower(name) == key) { value = substr($0, eq + 1); gsub(/^[ \t]+|[ \t]+$/, "", value); print value; exit }
        }' "$file"
}

client() {
    local dir=$1; shift
    mariadb --no-defaults --socket="$dir/mysqld.sock" --user=root "$@"
}

is_running() {
    local dir=$1
    [ -S "$dir/mysqld.sock" ] && mariadb-admin --no-defaults --socket="$dir/mysqld.sock" \
        --user=root --connect-timeout=2 ping >/dev/null 2>&1
}

start_server() {
    local dir=$1 port=$2
    if is_running "$dir"; then
        return 0
    fi
    mkdir -p "$dir/tmp"
    dir=$(cd "$dir" && pwd)
    local user
    user=$(id -un)
    if [ ! -d "$dir/data/mysql" ]; then
        echo "mariadb-server: initialising $dir/data"
        # A temporary folder of its own: two servers initialised at once in the
        # shared /tmp have clashed over their temporary tables.
        mariadb-install-db --no-defaults --datadir="$dir/data" --user="$user" --tmpdir="$dir/tmp" \
            --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1 ||
            { cat "$dir/install.log" >&2; die "initialisation failed"; }
    fi
    echo "mariadb-server: starting on 127.0.0.1:$port"
    nohup mariadbd --no-defaults --datadir="$dir/data" --socket="$dir/mysqld.sock" \
        --pid-file="$dir/mysqld.pid" --log-error="$dir/mysqld.err" --tmpdir="$dir/tmp" --user="$user" \
        --bind-address=127.0.0.1 --port="$port" --skip-name-resolve \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
        --innodb-buffer-pool-size="${LYRABOX_DB_BUFFER_POOL:-256M}" --innodb-flush-log-at-trx-commit=2 \
        --max-connections=200 >/dev/null 2>&1 &
    for _ in $(seq 1 120); do
        if is_running "$dir"; then
            return 0
        fi
        sleep 0.5
    done
    tail -n 30 "$dir/mysqld.err" >&2 || true
    die "the server did not start"
}

# Prints a schema file with its "SOURCE file;" lines replaced by that file, so
# that an error anywhere stops the load (the client only warns inside SOURCE).
expand_sources() {
    local line
    while IFS= read -r line || [ -n "$line" ]; do
        if [[ $line =~ ^SOURCE[[:space:]]+([A-Za-z0-9_./-]+)\;$ ]]; then
            expand_sources "${BASH_REMATCH[1]}"
        else
            printf '%s\n' "$line"
        fi
    done <"$1"
}

# Loads one schema file into DATABASE; procedures are created with the same
# NO_BACKSLASH_ESCAPES mode that the console's sessions use.
load_sql() {
    local dir=$1 database=$2 file=$3
    (cd "$repo/db" && { echo "SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES');"; expand_sources "$file"; } |
        client "$dir" --database="$database") || die "loading $file into $database failed"
}

database_exists() {
    local dir=$1 database=$2
    [ -n "$(client "$dir" -N -e "SHOW DATABASES LIKE '$database'")" ]
}

grant_account() {
    local dir=$1 songs=$2 transaksi=$3 account=$4
    [ -f "$account" ] || die "no account file $account (configure the build first)"
    # shellcheck disable=SC1090
    . "$account"
    local grants=""
    for host in 127.0.0.1 localhost; do
        local who="'$LYRABOX_DB_USER'@'$host'"
        grants+="CREATE USER IF NOT EXISTS $who IDENTIFIED BY '$LYRABOX_DB_PASSWORD';
ALTER USER $who IDENTIFIED BY '$LYRABOX_DB_PASSWORD';
GRANT EXECUTE ON \`$songs\`.* TO $who;
GRANT EXECUTE ON \`authentification\`.* TO $who;
GRANT EXECUTE ON \`$transaksi\`.* TO $who;
GRANT SELECT, INSERT, UPDATE, DELETE ON \`$songs\`.playlist TO $who;
GRANT SELECT, INSERT, UPDATE, DELETE ON \`$transaksi\`.kamar TO $who;
GRANT SELECT, INSERT, UPDATE, DELETE ON \`$transaksi\`.torder_room TO $who;
GRANT SELECT, INSERT, UPDATE, DELETE ON \`$transaksi\`.torderroom_rinci TO $who;
"
    done
    client "$dir" -e "$grants" || die "creating the console's account failed"
}

# --- The room player's account -------------------------------------------------
# The room-player simulator stands in for the room's playback PC, venue equipment
# with an account of its own: it reads the room playlist and the song lengths and
# removes the entries it plays. Its name and password come from
# roomplayer-account.env next to the console's account file (written when the
# build is configured); without that file no such account is made.
grant_room_player_account() {
    local dir=$1 songs=$2 account_dir
    account_dir=$(dirname "$3")
    local file="$account_dir/roomplayer-account.env"
    if [ ! -f "$file" ]; then
        echo "mariadb-server: no $file; the room player's account is not made"
        return 0
    fi
    # shellcheck disable=SC1090
    . "$file"
    local grants=""
    for host in 127.0.0.1 localhost; do
        local who="'$LYRABOX_PLAYER_DB_USER'@'$host'"
        grants+="CREATE USER IF NOT EXISTS $who IDENTIFIED BY '$LYRABOX_PLAYER_DB_PASSWORD';
ALTER USER $who IDENTIFIED BY '$LYRABOX_PLAYER_DB_PASSWORD';
GRANT SELECT ON \`$songs\`.lagu TO $who;
GRANT SELECT, DELETE ON \`$songs\`.playlist TO $who;
"
    done
    client "$dir" -e "$grants" || die "creating the room player's account failed"
}
# --- end of the room player's account ------------------------------------------

cmd_start() {
    local dir=${1:?DIR} ini=${2:?SETTING_INI}; shift 2
    local fresh=0 demo=0 account="$repo/build/db/account.env"
    while [ $# -gt 0 ]; do
        case $1 in
            --fresh) fresh=1 ;;
            --demo) demo=1 ;;
            --account) account=$2; shift ;;
            *) die "unknown option $1" ;;
        esac
        shift
    done
    [ -f "$ini" ] || die "no settings file $ini"
    local host songs transaksi transaksi_host
    host=$(ini_value "$ini" PlayerKaraoke ServerLaguHost)
    transaksi_host=$(ini_value "$ini" Transaksi ServerTransaksi)
    songs=$(ini_value "$ini" PlayerKaraoke DatabaseLagu)
    transaksi=$(ini_value "$ini" Transaksi DatabaseTransaksi)
    [[ $host =~ ^127\.0\.0\.1:([0-9]+)$ ]] || die "ServerLaguHost must be 127.0.0.1:PORT, not '$host'"
    local port=${BASH_REMATCH[1]}
    [ "$transaksi_host" = "$host" ] || die "ServerTransaksi must equal ServerLaguHost ($host)"
    [[ $songs =~ ^[A-Za-z0-9_]+$ && $transaksi =~ ^[A-Za-z0-9_]+$ ]] ||
        die "the database names must be plain names"

    start_server "$dir" "$port"

    local name file
    for name in "$songs:songs.sql" "authentification:authentification.sql" "$transaksi:transaksi.sql"; do
        local database=${name%%:*}
        file=${name#*:}
        if [ $fresh = 1 ]; then
            client "$dir" -e "DROP DATABASE IF EXISTS \`$database\`"
        fi
        if ! database_exists "$dir" "$database"; then
            client "$dir" -e "CREATE DATABASE \`$database\` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"
            load_sql "$dir" "$database" "$file"
            if [ $demo = 1 ]; then
                load_sql "$dir" "$database" "demo/$file"
            fi
        else
            # Procedures are replaced on every start so that a new console's schema applies.
            load_sql "$dir" "$database" "$file"
        fi
    done
    grant_account "$dir" "$songs" "$transaksi" "$account"
    grant_room_player_account "$dir" "$songs" "$account"
    echo "mariadb-server: ready on 127.0.0.1:$port ($songs, authentification, $transaksi)"
}

cmd_stop() {
    local dir=${1:?DIR}
    [ -f "$dir/mysqld.pid" ] || { echo "mariadb-server: not running in $dir"; return 0; }
    local pid
    pid=$(cat "$dir/mysqld.pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        for _ in $(seq 1 120); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.5
        done
        kill -0 "$pid" 2>/dev/null && die "the server (pid $pid) did not stop"
    fi
    rm -f "$dir/mysqld.pid"
    echo "mariadb-server: stopped"
}

case ${1:-} in
    start) shift; cmd_start "$@" ;;
    stop) shift; cmd_stop "$@" ;;
    client) shift; dir=${1:?DIR}; shift; client "$dir" "$@" ;;
    *) sed -n '2,17p' "$0" >&2; exit 2 ;;
esac
