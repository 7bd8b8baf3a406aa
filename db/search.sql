-- Catalogue search of the songs database: the indexes behind it, the tables of
-- words and artists kept in step with the songs, and CariJudulArtis. Sourced by
-- songs.sql after the table lagu exists; db/README.md describes the matching.
--
-- Words are the runs of characters between blanks. A searched word matches a
-- word of the title (or artist) that starts with it, ignoring case and accents
-- (the tables' collation); several searched words match in their order.

-- Every order the search lists songs in is an index, and every column the search
-- filters on is in it, so a list is read in order from one index and stops after
-- the rows asked for. The song id follows the sort columns: ties between equal
-- titles and artists keep one order, so paging is stable.
ALTER TABLE lagu
    DROP INDEX IF EXISTS lagu_judul,
    DROP INDEX IF EXISTS lagu_artis,
    DROP INDEX IF EXISTS lagu_golongan,
    ADD INDEX IF NOT EXISTS lagu_cari_judul
        (judul, artis, idlagu, idgolongan, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk),
    ADD INDEX IF NOT EXISTS lagu_cari_artis
        (artis, judul, idlagu, idgolongan, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk),
    ADD INDEX IF NOT EXISTS lagu_cari_golongan
        (idgolongan, judul, artis, idlagu, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk),
    ADD INDEX IF NOT EXISTS lagu_cari_golongan_artis
        (idgolongan, artis, judul, idlagu, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk),
    ADD INDEX IF NOT EXISTS lagu_cari_hits
        (hits, jumlahputar DESC, judul, artis, idlagu, idgolongan, idgenre),
    ADD INDEX IF NOT EXISTS lagu_cari_baru
        (baru, tanggalmasuk DESC, judul, artis, idlagu, idgolongan, idgenre),
    ADD INDEX IF NOT EXISTS lagu_cari_main
        (jumlahputar DESC, judul, artis, idlagu, idgolongan, idgenre);

-- Every word of a title but the first, with its position (urutan counts blanks,
-- so it starts at 2) and a copy of the song's columns that the search filters
-- and sorts on: a song found here is checked against every searched word and
-- sorted without reading lagu. A title that starts with the searched word is
-- found through lagu's own indexes; this table finds the titles where a later
-- word starts with it. A word is here once for every list it is in (daftar:
-- 0 Songlist, 1 Hits, 2 New, 3 Popular, 4 HD), so that a search in one list
-- reads that list's words only. Keyed by the list, then posisi, the position
-- with 4 standing for 4 and later (where the first searched word is not the
-- first word, the second can only be the third word or later, and those are
-- far fewer), then the word; a second key puts the group before the position,
-- so that a search within one group reads that group's words only.
CREATE TABLE IF NOT EXISTS katalagu (
    daftar       TINYINT UNSIGNED NOT NULL,
    idgolongan   INT NOT NULL,
    posisi       TINYINT UNSIGNED NOT NULL COMMENT 'LEAST(urutan, 4)',
    kata         VARCHAR(150) NOT NULL,
    idlagu       INT NOT NULL,
    urutan       TINYINT UNSIGNED NOT NULL,
    judul        VARCHAR(150) NOT NULL,
    artis        VARCHAR(150) NOT NULL,
    idgenre      INT NOT NULL,
    hits         TINYINT NOT NULL,
    baru         TINYINT NOT NULL,
    hd           TINYINT NOT NULL,
    jumlahputar  INT NOT NULL,
    tanggalmasuk DATE NOT NULL,
    PRIMARY KEY (daftar, posisi, kata, idgolongan, idlagu, urutan),
    KEY katalagu_golongan (daftar, idgolongan, posisi, kata)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- The artists, one row per name and group with its number of songs, and every
-- word of a name but the first. Names are far fewer than songs: an artist
-- search finds its names here, knows at once how many songs they have, and
-- reads those songs from lagu's artist index.
CREATE TABLE IF NOT EXISTS artislagu (
    artis      VARCHAR(150) NOT NULL,
    idgolongan INT NOT NULL,
    jumlah     INT NOT NULL COMMENT 'songs of this name in this group',
    PRIMARY KEY (artis, idgolongan)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS kataartis (
    kata   VARCHAR(150) NOT NULL,
    artis  VARCHAR(150) NOT NULL,
    urutan TINYINT UNSIGNED NOT NULL,
    PRIMARY KEY (kata, artis, urutan),
    KEY kataartis_artis (artis)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

DELIMITER //

-- ---- Keeping the tables in step ------------------------------------------------
-- Maintenance routines run with the caller's rights: the console's account may
-- execute them but may not write the tables, so only triggers and
-- administrators change them.

CREATE OR REPLACE PROCEDURE KataLaguTambah(IN song_id INT)
    MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
    INSERT INTO katalagu (daftar, idgolongan, posisi, kata, idlagu, urutan, judul, artis, idgenre,
                          hits, baru, hd, jumlahputar, tanggalmasuk)
    SELECT d.seq, l.idgolongan, LEAST(n.seq, 4),
           SUBSTRING_INDEX(SUBSTRING_INDEX(l.judul, ' ', n.seq), ' ', -1), l.idlagu, n.seq,
           l.judul, l.artis, l.idgenre, l.hits, l.baru, l.hd, l.jumlahputar, l.tanggalmasuk
      FROM lagu l JOIN seq_2_to_150 n
        ON n.seq <= 1 + CHAR_LENGTH(l.judul) - CHAR_LENGTH(REPLACE(l.judul, ' ', ''))
      JOIN seq_0_to_4 d
        ON d.seq = 0 OR d.seq = 1 AND l.hits = 1 OR d.seq = 2 AND l.baru = 1
        OR d.seq = 3 AND l.jumlahputar > 0 OR d.seq = 4 AND l.hd = 1
     WHERE l.idlagu = song_id
       AND SUBSTRING_INDEX(SUBSTRING_INDEX(l.judul, ' ', n.seq), ' ', -1) <> '';
END//

-- The rows of a title's words are found by their keys, computed from the title.
CREATE OR REPLACE PROCEDURE KataLaguHapus(IN song_id INT, IN group_id INT, IN title VARCHAR(150))
    MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
    DELETE k FROM katalagu k
      JOIN (SELECT n.seq AS urutan, SUBSTRING_INDEX(SUBSTRING_INDEX(title, ' ', n.seq), ' ', -1) AS kata
              FROM seq_2_to_150 n
             WHERE n.seq <= 1 + CHAR_LENGTH(title) - CHAR_LENGTH(REPLACE(title, ' ', ''))) w
        ON k.daftar IN (0, 1, 2, 3, 4) AND k.posisi = LEAST(w.urutan, 4) AND k.kata = w.kata
       AND k.idgolongan = group_id AND k.idlagu = song_id AND k.urutan = w.urutan;
END//

CREATE OR REPLACE PROCEDURE ArtisLaguTambah(IN artist VARCHAR(150), IN group_id INT)
    MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
    INSERT INTO artislagu (artis, idgolongan, jumlah) VALUES (artist, group_id, 1)
        ON DUPLICATE KEY UPDATE jumlah = jumlah + 1;
    INSERT IGNORE INTO kataartis (kata, artis, urutan)
    SELECT SUBSTRING_INDEX(SUBSTRING_INDEX(artist, ' ', n.seq), ' ', -1), artist, n.seq
      FROM seq_2_to_150 n
     WHERE n.seq <= 1 + CHAR_LENGTH(artist) - CHAR_LENGTH(REPLACE(artist, ' ', ''))
       AND SUBSTRING_INDEX(SUBSTRING_INDEX(artist, ' ', n.seq), ' ', -1) <> '';
END//

-- A name's words go with its last song.
CREATE OR REPLACE PROCEDURE ArtisLaguHapus(IN artist VARCHAR(150), IN group_id INT)
    MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
    UPDATE artislagu SET jumlah = jumlah - 1 WHERE artis = artist AND idgolongan = group_id;
    DELETE FROM artislagu WHERE artis = artist AND idgolongan = group_id AND jumlah <= 0;
    IF NOT EXISTS (SELECT 1 FROM artislagu WHERE artis = artist) THEN
        DELETE FROM kataartis WHERE artis = artist;
    END IF;
END//

-- Rebuilds the tables from the songs from first_song on (all songs for 1 or
-- less), in bulk: after a catalogue loaded with @catalogue_bulk_load set, or to
-- repair them. The artists are always counted again in full.
CREATE OR REPLACE PROCEDURE KataLaguSusunUlang(IN first_song INT)
    MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
    DECLARE saved_join_cache INT DEFAULT @@SESSION.join_cache_level;
    DECLARE saved_unique_checks INT DEFAULT @@SESSION.unique_checks;
    DECLARE saved_foreign_key_checks INT DEFAULT @@SESSION.foreign_key_checks;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        SET SESSION join_cache_level = saved_join_cache, unique_checks = saved_unique_checks,
            foreign_key_checks = saved_foreign_key_checks;
        RESIGNAL;
    END;
    IF IFNULL(first_song, 1) <= 1 THEN
        -- Into an empty table without these checks InnoDB sorts the rows and
        -- builds the indexes at once instead of row by row.
        TRUNCATE TABLE katalagu;
        SET SESSION unique_checks = 0, foreign_key_checks = 0;
    ELSE
        DELETE FROM katalagu WHERE idlagu >= first_song;
    END IF;
    -- Each song is joined to the positions of its own words only; a join buffer
    -- would test every position against every song instead.
    SET SESSION join_cache_level = 0;
    INSERT INTO katalagu (daftar, idgolongan, posisi, kata, idlagu, urutan, judul, artis, idgenre,
                          hits, baru, hd, jumlahputar, tanggalmasuk)
    SELECT d.seq, l.idgolongan, LEAST(n.seq, 4),
           SUBSTRING_INDEX(SUBSTRING_INDEX(l.judul, ' ', n.seq), ' ', -1), l.idlagu, n.seq,
           l.judul, l.artis, l.idgenre, l.hits, l.baru, l.hd, l.jumlahputar, l.tanggalmasuk
      FROM lagu l STRAIGHT_JOIN seq_2_to_150 n
        ON n.seq <= 1 + CHAR_LENGTH(l.judul) - CHAR_LENGTH(REPLACE(l.judul, ' ', ''))
      STRAIGHT_JOIN seq_0_to_4 d
        ON d.seq = 0 OR d.seq = 1 AND l.hits = 1 OR d.seq = 2 AND l.baru = 1
        OR d.seq = 3 AND l.jumlahputar > 0 OR d.seq = 4 AND l.hd = 1
     WHERE l.idlagu >= IFNULL(first_song, 1)
       AND SUBSTRING_INDEX(SUBSTRING_INDEX(l.judul, ' ', n.seq), ' ', -1) <> '';
    SET SESSION join_cache_level = saved_join_cache, unique_checks = saved_unique_checks,
        foreign_key_checks = saved_foreign_key_checks;

    TRUNCATE TABLE artislagu;
    TRUNCATE TABLE kataartis;
    INSERT INTO artislagu (artis, idgolongan, jumlah)
    SELECT artis, idgolongan, COUNT(*) FROM lagu GROUP BY artis, idgolongan;
    INSERT IGNORE INTO kataartis (kata, artis, urutan)
    SELECT SUBSTRING_INDEX(SUBSTRING_INDEX(a.artis, ' ', n.seq), ' ', -1), a.artis, n.seq
      FROM (SELECT DISTINCT artis FROM artislagu) a JOIN seq_2_to_150 n
        ON n.seq <= 1 + CHAR_LENGTH(a.artis) - CHAR_LENGTH(REPLACE(a.artis, ' ', ''))
     WHERE SUBSTRING_INDEX(SUBSTRING_INDEX(a.artis, ' ', n.seq), ' ', -1) <> '';
END//

-- A bulk load sets @catalogue_bulk_load to 1 and calls KataLaguSusunUlang after.
CREATE OR REPLACE TRIGGER lagu_cari_tambah AFTER INSERT ON lagu FOR EACH ROW
BEGIN
    IF IFNULL(@catalogue_bulk_load, 0) = 0 THEN
        CALL KataLaguTambah(NEW.idlagu);
        CALL ArtisLaguTambah(NEW.artis, NEW.idgolongan);
    END IF;
END//

-- A change of a column the word table copies writes the song's words again; a
-- play (jumlahputar) rewrites a few rows.
CREATE OR REPLACE TRIGGER lagu_cari_ubah AFTER UPDATE ON lagu FOR EACH ROW
BEGIN
    IF IFNULL(@catalogue_bulk_load, 0) = 0 THEN
        IF NOT (OLD.idlagu = NEW.idlagu AND OLD.idgolongan = NEW.idgolongan
                AND BINARY OLD.judul = BINARY NEW.judul AND BINARY OLD.artis = BINARY NEW.artis
                AND OLD.idgenre = NEW.idgenre AND OLD.hits = NEW.hits AND OLD.baru = NEW.baru
                AND OLD.hd = NEW.hd AND OLD.jumlahputar = NEW.jumlahputar
                AND OLD.tanggalmasuk = NEW.tanggalmasuk) THEN
            CALL KataLaguHapus(OLD.idlagu, OLD.idgolongan, OLD.judul);
            CALL KataLaguTambah(NEW.idlagu);
        END IF;
        IF NOT (BINARY OLD.artis = BINARY NEW.artis AND OLD.idgolongan = NEW.idgolongan) THEN
            CALL ArtisLaguHapus(OLD.artis, OLD.idgolongan);
            CALL ArtisLaguTambah(NEW.artis, NEW.idgolongan);
        END IF;
    END IF;
END//

CREATE OR REPLACE TRIGGER lagu_cari_hapus AFTER DELETE ON lagu FOR EACH ROW
BEGIN
    IF IFNULL(@catalogue_bulk_load, 0) = 0 THEN
        CALL KataLaguHapus(OLD.idlagu, OLD.idgolongan, OLD.judul);
        CALL ArtisLaguHapus(OLD.artis, OLD.idgolongan);
    END IF;
END//

-- ---- Patterns -------------------------------------------------------------------

-- The words of a pattern as the console sends it, separated by one blank each:
-- an unescaped "%" or a blank separates words, "\" makes the next character
-- part of the word (the console sends a typed percent sign as "\%"), a "\" at
-- the end is dropped. Every other character stands for itself.
CREATE OR REPLACE FUNCTION KataDariPola(pattern VARCHAR(400))
    RETURNS VARCHAR(400) CHARSET utf8mb4 COLLATE utf8mb4_unicode_ci
    DETERMINISTIC NO SQL
BEGIN
    -- Binary comparisons: under the tables' collation other characters would
    -- equal "%" or "\".
    DECLARE words, word VARCHAR(400) CHARSET utf8mb4 COLLATE utf8mb4_bin DEFAULT '';
    DECLARE c VARCHAR(1) CHARSET utf8mb4 COLLATE utf8mb4_bin;
    DECLARE separates BOOLEAN;
    DECLARE i INT DEFAULT 1;
    DECLARE n INT DEFAULT CHAR_LENGTH(IFNULL(pattern, ''));
    WHILE i <= n + 1 DO
        SET c = SUBSTRING(pattern, i, 1);
        IF c = '\' THEN
            SET i = i + 1;
            SET c = SUBSTRING(pattern, i, 1);
            SET separates = c = ' ' OR i > n;
        ELSE
            SET separates = c = '%' OR c = ' ' OR i > n;
        END IF;
        IF NOT separates THEN
            SET word = CONCAT(word, c);
        ELSEIF word <> '' THEN
            SET words = CONCAT_WS(' ', NULLIF(words, ''), word);
            SET word = '';
        END IF;
        SET i = i + 1;
    END WHILE;
    RETURN words;
END//

-- A LIKE pattern (escape character "|") for a text whose first word starts with
-- the first of the words, a later word with the second, and so on.
CREATE OR REPLACE FUNCTION PolaAwalKata(words VARCHAR(400))
    RETURNS VARCHAR(1300) CHARSET utf8mb4 COLLATE utf8mb4_unicode_ci
    DETERMINISTIC NO SQL
BEGIN
    IF words = '' THEN
        RETURN '';
    END IF;
    RETURN CONCAT(REPLACE(REPLACE(REPLACE(REPLACE(words, '|', '||'), '%', '|%'), '_', '|_'),
                          ' ', '% '), '%');
END//

-- "text LIKE pattern" as SQL text. The pattern goes in as a hexadecimal literal:
-- whatever the guest typed, it cannot end the literal, in any SQL mode.
CREATE OR REPLACE FUNCTION SqlLike(text_sql TEXT, pattern VARCHAR(1300))
    RETURNS TEXT CHARSET utf8mb4 DETERMINISTIC NO SQL
BEGIN
    RETURN CONCAT(text_sql, ' LIKE _utf8mb4 X''', HEX(CONVERT(pattern USING utf8mb4)),
                  ''' COLLATE utf8mb4_unicode_ci ESCAPE ''|''');
END//

-- ---- Reading a tier ---------------------------------------------------------------

-- Runs `query`, a statement that sets @cari_hitung, and returns that value.
-- Runs with the caller's rights, since it runs the text it is given.
CREATE OR REPLACE PROCEDURE CariNilai(IN query TEXT, OUT found INT)
    READS SQL DATA SQL SECURITY INVOKER
BEGIN
    SET @cari_hitung = NULL, @cari_hitung_sql = query;
    PREPARE cari_hitung FROM @cari_hitung_sql;
    EXECUTE cari_hitung;
    DEALLOCATE PREPARE cari_hitung;
    SET found = IFNULL(@cari_hitung, 0);
END//

-- Counts up to `enough` rows of a query.
CREATE OR REPLACE PROCEDURE CariHitung(IN rows_query TEXT, IN enough INT, OUT found INT)
    READS SQL DATA SQL SECURITY INVOKER
BEGIN
    CALL CariNilai(CONCAT('SELECT COUNT(*) INTO @cari_hitung FROM (SELECT 1 FROM (', rows_query,
                          ') r LIMIT ', enough, ') counted'), found);
END//

-- Takes `candidates` ("FROM ... WHERE ...") as the source when none is taken yet
-- and it has fewer than `enough` rows; the count stops at `enough`.
CREATE OR REPLACE PROCEDURE CariSumber(IN candidates TEXT, IN enough INT, INOUT source TEXT)
    READS SQL DATA SQL SECURITY INVOKER
BEGIN
    DECLARE beyond INT;
    IF source IS NULL THEN
        CALL CariNilai(CONCAT('SELECT 1 INTO @cari_hitung ', candidates,
                              ' LIMIT ', GREATEST(enough, 1) - 1, ', 1'), beyond);
        IF beyond = 0 AND enough > 0 THEN
            SET source = candidates;
        END IF;
    END IF;
END//

-- Whether walking an index finds `reach` rows that pass `match_sql` among its
-- first `examined` rows: `found` is how many it finds there, at most `reach`.
-- `walk` is "FROM ... WHERE ..." for the rows the walk passes, in `sort_keys`.
CREATE OR REPLACE PROCEDURE CariCobaJalan(IN match_sql TEXT, IN walk TEXT, IN sort_keys TEXT,
                                          IN examined INT, IN reach INT, OUT found INT)
    READS SQL DATA SQL SECURITY INVOKER
BEGIN
    CALL CariHitung(CONCAT('SELECT 1 FROM (SELECT (', match_sql, ') AS hit ', walk,
                           ' ORDER BY ', sort_keys, ' LIMIT ', examined, ') w WHERE hit'),
                    reach, found);
END//

-- "FROM katalagu ... WHERE ..." for the title words of list `list_order` at
-- position min_position or later that start with `word`, in the group when it
-- is not 0.
CREATE OR REPLACE FUNCTION SqlKataLagu(list_order INT, group_id INT, word VARCHAR(400),
                                       min_position INT)
    RETURNS TEXT CHARSET utf8mb4 DETERMINISTIC NO SQL
BEGIN
    RETURN CONCAT('FROM katalagu FORCE INDEX (', IF(group_id <> 0, 'katalagu_golongan', 'PRIMARY'),
                  ') WHERE daftar = ', list_order,
                  IF(group_id <> 0, CONCAT(' AND idgolongan = ', group_id), ''),
                  ' AND posisi IN (', CASE WHEN min_position <= 2 THEN '2, 3, 4'
                                           WHEN min_position = 3 THEN '3, 4' ELSE '4' END,
                  ') AND ', SqlLike('kata', PolaAwalKata(word)));
END//

-- A tier's SELECT from its source. A song with two words found in the word
-- table is there twice.
CREATE OR REPLACE FUNCTION SqlTingkat(tier_template TEXT, source TEXT)
    RETURNS TEXT CHARSET utf8mb4 DETERMINISTIC NO SQL
BEGIN
    RETURN REPLACE(REPLACE(tier_template, '{source}', source),
                   '{distinct}', IF(source LIKE 'FROM katalagu %', 'DISTINCT', ''));
END//

-- ---- The search -----------------------------------------------------------------
--
-- Rows come in two tiers: songs whose title (or artist) starts with the
-- searched words, then the other matches; within a tier, in the list mode's
-- order. Each tier is read one of two ways:
-- - in order: walk the list mode's index from its start, keep the matching
--   rows, stop after offset + count of them. Cheap when matches are dense.
-- - collected: take the candidates of one source, keep the matching ones and
--   sort them. Cheap when the source is small.
-- An artist search finds the matching names first and so knows how many songs
-- a tier has: it collects them when they are few and walks otherwise. A title
-- search counts its sources, up to a bound that grows with the rows asked for
-- and the catalogue: the titles in the index range of the first word (first
-- tier) and, for each searched word, the word table's titles (both tiers), and
-- collects the first source under the bound. When none is, one searched word
-- is walked in order: its matches are as dense as its sources are large.
-- Several words may match together far more rarely than each alone, so their
-- walk is first tried on a limited number of rows; when it finds too few there,
-- the first tier reads the first word's range and the second collects the
-- songs of the last word, which stands furthest back and so is the rarest.
-- The first tier is read once into a table of the session; when it fills the
-- rows asked for, the second is not read.
CREATE OR REPLACE PROCEDURE CariJudulArtis(
    IN keyword_class INT, IN group_id INT, IN category_id INT, IN list_mode INT,
    IN title_pattern VARCHAR(400), IN artist_pattern VARCHAR(400),
    IN row_offset INT, IN row_count INT)
    READS SQL DATA
BEGIN
    DECLARE title_words, artist_words, target_words, last_word
        VARCHAR(400) CHARSET utf8mb4 COLLATE utf8mb4_unicode_ci;
    DECLARE by_artist BOOLEAN;
    DECLARE target, columns_read, sort_keys, ordered_index, range_index, filters,
            target_filter, other_filter, starts_with, first_word, walk, walk_start, range_source,
            range_walk, name_rows, songs_of_names, first_source, second_source, first_tier,
            second_tier TEXT;
    DECLARE list_order, first_row, wanted, reach, songs, enough, few, word_count, found, i INT;

    SET title_words = KataDariPola(title_pattern);
    SET artist_words = KataDariPola(artist_pattern);
    SET by_artist = title_words = '' AND artist_words <> '';
    SET target_words = IF(by_artist, artist_words, title_words);
    SET target = IF(by_artist, 'artis', 'judul');
    SET group_id = IFNULL(group_id, 0);
    SET list_order = IF(list_mode IN (1, 2, 3, 4), list_mode, 0);
    SET first_row = GREATEST(IFNULL(row_offset, 0), 0);
    SET wanted = GREATEST(IFNULL(row_count, 0), 0);
    SET reach = first_row + wanted;
    -- Collecting a candidate from the word tables costs about eight times as
    -- much as walking past a row: the two cost the same for
    -- sqrt(reach * songs / 8) candidates. A session may set the bound in
    -- @cari_batas: 0 walks every tier, a large bound collects wherever it can
    -- (the rows are the same, only slower).
    CALL CariNilai('SELECT MAX(idlagu) INTO @cari_hitung FROM lagu', songs);
    SET enough = IFNULL(@cari_batas, LEAST(20000, GREATEST(500, CEIL(SQRT(reach * songs / 8)))));

    -- The cheap comparisons first: a row they reject is not matched against
    -- the words.
    SET filters = CONCAT(
        CASE list_order WHEN 1 THEN ' AND hits = 1' WHEN 2 THEN ' AND baru = 1'
                        WHEN 3 THEN ' AND jumlahputar > 0' WHEN 4 THEN ' AND hd = 1' ELSE '' END,
        IF(group_id <> 0, CONCAT(' AND idgolongan = ', group_id), ''),
        IF(IFNULL(category_id, 0) <> 0, CONCAT(' AND idgenre = ', category_id), ''));
    SET target_filter = IF(target_words = '', '', CONCAT(' AND ', SqlLike(
        CONCAT('CONCAT('' '', ', IF(by_artist, 'artis', 'judul'), ')'),
        CONCAT('% ', PolaAwalKata(IF(by_artist, artist_words, title_words))))));
    -- A title search may also name an artist: then both must match.
    SET other_filter = IF(by_artist OR artist_words = '', '', CONCAT(' AND ', SqlLike(
        'CONCAT('' '', artis)', CONCAT('% ', PolaAwalKata(artist_words)))));
    SET sort_keys = CASE
        WHEN list_order IN (1, 3) THEN 'jumlahputar DESC, judul, artis, idlagu'
        WHEN list_order = 2 THEN 'tanggalmasuk DESC, judul, artis, idlagu'
        WHEN by_artist THEN 'artis, judul, idlagu'
        ELSE 'judul, artis, idlagu' END;
    SET columns_read = CONCAT('judul, artis, idlagu', CASE
        WHEN list_order IN (1, 3) THEN ', jumlahputar' WHEN list_order = 2 THEN ', tanggalmasuk'
        ELSE '' END);
    SET range_index = CASE
        WHEN group_id <> 0 THEN IF(by_artist, 'lagu_cari_golongan_artis', 'lagu_cari_golongan')
        ELSE IF(by_artist, 'lagu_cari_artis', 'lagu_cari_judul') END;
    SET ordered_index = CASE list_order
        WHEN 1 THEN 'lagu_cari_hits' WHEN 2 THEN 'lagu_cari_baru' WHEN 3 THEN 'lagu_cari_main'
        ELSE range_index END;
    SET walk = CONCAT('FROM lagu FORCE INDEX (', ordered_index, ') WHERE TRUE');

    IF target_words = '' THEN
        -- No words: the whole list, or one group's songs when they are few.
        IF group_id <> 0 AND ordered_index <> range_index THEN
            CALL CariSumber(CONCAT('FROM lagu FORCE INDEX (', range_index,
                                   ') WHERE idgolongan = ', group_id), enough, first_source);
        END IF;
        SET @cari_sql = CONCAT('SELECT judul, artis, idlagu ', IFNULL(first_source, walk), filters,
                               other_filter,
                               ' ORDER BY ', sort_keys, ' LIMIT ', first_row, ', ', wanted);
    ELSE
        SET starts_with = SqlLike(target, PolaAwalKata(target_words));
        SET first_word = SqlLike(target, PolaAwalKata(SUBSTRING_INDEX(target_words, ' ', 1)));
        SET word_count = 1 + CHAR_LENGTH(target_words) - CHAR_LENGTH(REPLACE(target_words, ' ', ''));
        SET last_word = SUBSTRING_INDEX(target_words, ' ', -1);
        -- Several words are tried on a walk (below) unless a source is quite small.
        SET few = IF(word_count > 1, IFNULL(@cari_batas, LEAST(enough, 10 * reach + 100)), enough);
        SET first_tier = CONCAT('SELECT {distinct} 1 AS tier, ', columns_read, ' {source}', filters,
                                ' AND ', starts_with, other_filter,
                                ' ORDER BY ', sort_keys, ' LIMIT ', reach);
        SET second_tier = CONCAT('SELECT {distinct} 2 AS tier, ', columns_read, ' {source}', filters,
                                 ' AND NOT ', starts_with, target_filter, other_filter,
                                 ' ORDER BY ', sort_keys, ' LIMIT ', reach);
        IF by_artist THEN
            -- The names of the first tier and how many songs they have in the
            -- group; the songs of a name are one range of the artist index.
            SET songs_of_names = CONCAT(') n STRAIGHT_JOIN lagu FORCE INDEX (', range_index, ') ON ',
                                        IF(group_id <> 0, CONCAT('lagu.idgolongan = ', group_id, ' AND '), ''),
                                        'lagu.artis = n.nama WHERE TRUE');
            SET name_rows = CONCAT('FROM artislagu a WHERE ', SqlLike('a.artis', PolaAwalKata(target_words)),
                               IF(group_id <> 0, CONCAT(' AND a.idgolongan = ', group_id), ''));
            CALL CariNilai(CONCAT('SELECT SUM(a.jumlah) INTO @cari_hitung ', name_rows), found);
            SET first_source = IF(found < enough,
                CONCAT('FROM (SELECT DISTINCT a.artis AS nama ', name_rows, songs_of_names), walk);
        ELSE
            -- The rows a walk passes: its index's range, which in the title's own
            -- order starts at the first word for the first tier.
            SET walk_start = CONCAT('FROM lagu FORCE INDEX (', ordered_index, ') WHERE ', CASE
                list_order WHEN 1 THEN 'hits = 1' WHEN 2 THEN 'baru = 1' WHEN 3 THEN 'jumlahputar > 0'
                ELSE IF(group_id <> 0, CONCAT('idgolongan = ', group_id), 'TRUE') END);

            -- First tier: the j-th searched word starts word j or later.
            SET range_source = CONCAT('FROM lagu FORCE INDEX (', range_index, ') WHERE ',
                                      IF(group_id <> 0, CONCAT('idgolongan = ', group_id, ' AND '), ''),
                                      first_word);
            -- In Songlist and HD the range is read in the list's own order, so a
            -- walk reads it as cheaply. Elsewhere its rows are sorted, which is
            -- worth it while they are fewer than a walk passes.
            IF ordered_index <> range_index THEN
                CALL CariSumber(range_source, IF(word_count > 1, few, IFNULL(@cari_batas,
                                    LEAST(50000, CEIL(SQRT(reach * songs))))), first_source);
            END IF;
            -- Read as a source, the range comes from the words' own condition.
            SET range_walk = CONCAT('FROM lagu FORCE INDEX (', range_index, ') WHERE TRUE');
            IF first_source = range_source THEN
                SET first_source = range_walk;
            END IF;
            SET i = word_count;
            WHILE i > 1 AND first_source IS NULL DO
                CALL CariSumber(SqlKataLagu(list_order, group_id, SUBSTRING_INDEX(
                                    SUBSTRING_INDEX(target_words, ' ', i), ' ', -1), i),
                                few, first_source);
                SET i = i - 1;
            END WHILE;
            IF first_source IS NULL AND word_count > 1 THEN
                CALL CariCobaJalan(CONCAT('TRUE', filters, ' AND ', starts_with, other_filter),
                                   CONCAT(walk_start, IF(ordered_index = range_index,
                                                         CONCAT(' AND ', first_word), '')),
                                   sort_keys, enough, reach, found);
                -- Past the trial, the range of the first word: read in order in
                -- Songlist and HD, where it is the walk itself.
                IF found < reach AND enough > 0 THEN
                    SET first_source = range_walk;
                END IF;
            END IF;
        END IF;
        -- The first tier is read once, into a table of the session.
        CREATE TEMPORARY TABLE IF NOT EXISTS cari_tingkat_satu (
            tier TINYINT NOT NULL, judul VARCHAR(150) NOT NULL, artis VARCHAR(150) NOT NULL,
            idlagu INT NOT NULL, jumlahputar INT NULL, tanggalmasuk DATE NULL
        ) ENGINE=MEMORY DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
        TRUNCATE TABLE cari_tingkat_satu;
        CALL CariNilai(CONCAT('INSERT INTO cari_tingkat_satu (tier, ', columns_read, ') ',
                              SqlTingkat(first_tier, IFNULL(first_source, walk))), found);
        CALL CariNilai('SELECT COUNT(*) INTO @cari_hitung FROM cari_tingkat_satu', found);
        SET first_tier = CONCAT('SELECT tier, ', columns_read, ' FROM cari_tingkat_satu');
        IF found >= reach THEN
            -- The first tier fills the rows asked for: the second is not read.
            SET @cari_sql = CONCAT('SELECT judul, artis, idlagu FROM cari_tingkat_satu',
                                   ' ORDER BY ', sort_keys, ' LIMIT ', first_row, ', ', wanted);
        ELSE
            IF by_artist THEN
                -- Second tier: names with a later word starting with the last
                -- searched word, which is then word j + 1 or later.
                SET name_rows = CONCAT('FROM kataartis k STRAIGHT_JOIN artislagu a ON a.artis = k.artis',
                                   ' WHERE ', SqlLike('k.kata', PolaAwalKata(last_word)),
                                   ' AND k.urutan > ', word_count,
                                   ' AND NOT ', SqlLike('a.artis', PolaAwalKata(target_words)),
                                   ' AND ', SqlLike('CONCAT('' '', a.artis)',
                                                    CONCAT('% ', PolaAwalKata(target_words))),
                                   IF(group_id <> 0, CONCAT(' AND a.idgolongan = ', group_id), ''));
                CALL CariNilai(CONCAT('SELECT SUM(a.jumlah) INTO @cari_hitung ', name_rows), found);
                SET second_source = IF(found < enough,
                    CONCAT('FROM (SELECT DISTINCT a.artis AS nama ', name_rows, songs_of_names), walk);
            ELSE
                -- Second tier: the first word is not the first of the title, so
                -- the j-th searched word starts word j + 1 or later.
                SET i = word_count;
                WHILE i >= 1 AND second_source IS NULL DO
                    CALL CariSumber(SqlKataLagu(list_order, group_id, SUBSTRING_INDEX(
                                        SUBSTRING_INDEX(target_words, ' ', i), ' ', -1), i + 1),
                                    few, second_source);
                    SET i = i - 1;
                END WHILE;
                IF second_source IS NULL AND word_count > 1 THEN
                    CALL CariCobaJalan(CONCAT('TRUE', filters, ' AND NOT ', starts_with, target_filter,
                                              other_filter),
                                       walk_start, sort_keys,
                                       enough, reach, found);
                    IF found < reach AND enough > 0 THEN
                        SET second_source = SqlKataLagu(list_order, group_id, last_word,
                                                        word_count + 1);
                    END IF;
                END IF;
            END IF;
            SET @cari_sql = CONCAT('SELECT judul, artis, idlagu FROM ((', first_tier, ') UNION ALL (',
                                   SqlTingkat(second_tier, IFNULL(second_source, walk)),
                                   ')) hasil ORDER BY tier, ', sort_keys,
                                   ' LIMIT ', first_row, ', ', wanted);
        END IF;
    END IF;
    PREPARE cari_lagu FROM @cari_sql;
    EXECUTE cari_lagu;
    DEALLOCATE PREPARE cari_lagu;
END//

-- A catalogue loaded before these tables existed (or with one of them newly
-- made) gets its words once.
BEGIN NOT ATOMIC
    IF NOT EXISTS (SELECT 1 FROM artislagu) AND EXISTS (SELECT 1 FROM lagu)
       OR NOT EXISTS (SELECT 1 FROM katalagu) AND EXISTS (SELECT 1 FROM lagu WHERE judul LIKE '% %')
    THEN
        CALL KataLaguSusunUlang(1);
    END IF;
END//

DELIMITER ;
