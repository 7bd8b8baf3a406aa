#!/usr/bin/env bash
# Replaces the catalogue of a private server's songs database with SIZE invented
# songs from db/catalogue.sql (the same size always gives the same songs, with
# ids from 1), and fills the search's word table. Playlists and groups stay.
#
#   catalogue.sh DIR DATABASE SIZE
#       DIR is the server folder given to "mariadb-server.sh start", DATABASE the
#       songs database (DatabaseLagu of its setting.ini).
#
# A large catalogue wants the server's cache to hold it: start the server with
# LYRABOX_DB_BUFFER_POOL=1G for 500,000 songs.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

die() { echo "catalogue: $*" >&2; exit 1; }

[ $# -eq 3 ] || { sed -n '2,12p' "$0" >&2; exit 2; }
dir=$1 database=$2 size=$3
[[ $database =~ ^[A-Za-z0-9_]+$ ]] || die "the database name must be a plain name"
[[ $size =~ ^[0-9]+$ ]] && [ "$size" -gt 0 ] || die "SIZE must be a positive number"

started=$(date +%s.%N)
# TRUNCATE restarts the song ids at 1; the generator fills the word table itself.
# The search's indexes are dropped first and built again from search.sql after
# the load: building an index from all rows at once is several times faster
# than keeping it up to date row by row. Without unique and foreign key checks
# InnoDB also fills the emptied song table in bulk.
(cd "$repo/db" && "$repo/scripts/mariadb-server.sh" client "$dir" --database="$database" -e "
    SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES');
    TRUNCATE TABLE lagu;
    SET @drop_search_indexes = (
        SELECT CONCAT('ALTER TABLE lagu ', GROUP_CONCAT(DISTINCT 'DROP INDEX ', index_name))
          FROM information_schema.statistics
         WHERE table_schema = DATABASE() AND table_name = 'lagu'
           AND index_name LIKE 'lagu|_cari|_%' ESCAPE '|');
    EXECUTE IMMEDIATE IFNULL(@drop_search_indexes, 'DO 0');
    SET @catalogue_size = $size;
    SET SESSION unique_checks = 0, foreign_key_checks = 0;
    SOURCE catalogue.sql;
    SET SESSION unique_checks = 1, foreign_key_checks = 1;
    SOURCE search.sql;
    ANALYZE TABLE lagu, katalagu;") >/dev/null || die "loading the catalogue failed"
finished=$(date +%s.%N)

counts=$("$repo/scripts/mariadb-server.sh" client "$dir" --database="$database" -N -e \
    "SELECT (SELECT COUNT(*) FROM lagu), (SELECT COUNT(*) FROM katalagu)")
read -r songs words <<<"$counts"
printf 'catalogue: %s songs (%s words after the first) in %.1f s\n' \
    "$songs" "$words" "$(echo "$finished - $started" | bc)"
