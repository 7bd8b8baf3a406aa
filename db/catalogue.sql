-- Catalogue generator: adds @catalogue_size invented songs to the songs database,
-- reproducibly (the same size gives the same songs). Run by an administrator
-- against the songs database, for example:
--   mariadb -e "SET @catalogue_size = 500000; SOURCE db/catalogue.sql;" songs_db
-- or with scripts/catalogue.sh against a private server.
--
-- What makes it look like a venue's catalogue:
-- - Titles of one to six words drawn from a list of about 330 words, from "I"
--   to twelve-letter words, in English, Indonesian and a few accented
--   languages, with signs where real titles have them (DON'T, 100%, (LIVE), &).
--   The list is ordered from common to rare and picked with a skew, so a few
--   words (I, YOU, LOVE, CINTA) appear in many titles and most in few.
-- - Artists from a pool of about one per 25 songs, also picked with a skew
--   (a few artists have hundreds of songs, most have a handful): a first and a
--   last name, a single name, or a band. An artist keeps one song group, and
--   the groups have uneven sizes (Indonesian and Western songs dominate).
-- - List-mode flags: about 10% hits, 33% HD, the songs added in the last 150
--   days new (about 7%), a quarter played at least once with a long tail of play
--   counts; dates added spread over five and a half years.

CREATE TEMPORARY TABLE gen_word (
    list TINYINT NOT NULL, pos INT NOT NULL, word VARCHAR(20) NOT NULL,
    PRIMARY KEY (list, pos)
) ENGINE=MEMORY DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- list 1: title words, most common first
INSERT INTO gen_word (list, pos, word)
SELECT 1, seq - 1, ELT(seq,
    'I', 'YOU', 'LOVE', 'MY', 'CINTA', 'THE', 'ME', 'AKU', 'KAMU', 'A',
    'BABY', 'HEART', 'RINDU', 'NIGHT', 'HATI', 'DON''T', 'SAYANG', 'ONE', 'TIME', 'MALAM',
    'TO', 'IN', 'KITA', 'I''M', 'DREAM', 'YANG', 'OF', 'SATU', 'LIFE', 'TAK',
    'STAY', 'ALL', 'KASIH', 'WORLD', 'BINTANG', 'IT''S', 'HOME', 'JANJI', 'SKY', 'DI',
    'NO', 'FOREVER', 'LAGU', 'SOUL', 'MIMPI', 'FIRE', 'CAN''T', 'HUJAN', 'GIRL', 'BULAN',
    'BOY', 'JIWA', 'SUMMER', 'SENJA', 'RAIN', 'PULANG', 'LIGHT', 'CAHAYA', 'BLUE', 'LANGIT',
    'WILD', 'KENANGAN', 'DANCE', 'PAGI', 'SWEET', 'DUNIA', 'ANGEL', 'AIR', 'GO', 'MATA',
    'SAY', 'WAKTU', 'WE', 'BERSAMA', 'HEAVEN', 'LAUT', 'TONIGHT', 'SEMESTA', 'SONG', 'CERITA',
    'MOON', 'PERGI', 'BROKEN', 'TERINDAH', 'ALWAYS', 'KEMBALI', 'STAR', 'SEPI', 'GOOD', 'MANIS',
    'BAD', 'BUNGA', 'OH', 'JALAN', 'BE', 'RUMAH', 'LOST', 'SAHABAT', 'RIVER', 'DIA',
    '(LIVE)', 'UP', 'SELAMANYA', 'HOLD', 'SUNGAI', 'DAY', 'PELANGI', 'LET', 'BAYANGAN', 'MORE',
    'GOLDEN', 'AMOR', 'COME', 'ANGIN', 'BACK', 'PATAH', 'FEEL', 'SURGA', 'ON', 'RASA',
    'KISS', 'CORAZÓN', 'WALK', 'TERBAIK', 'OCEAN', 'PUTIH', 'SHADOW', 'MERAH', 'FLOWER', 'HIJAU',
    'MELODY', 'NADA', 'MORNING', 'TANPA', 'WINGS', 'HANYA', 'SILENT', 'BUKAN', '&', 'UNTUK',
    'CRAZY', 'LUKA', 'HAPPY', 'SENYUM', 'TEARS', 'AIRMATA', 'ROAD', 'PANTAI', 'CITY', 'KOTA',
    'YOUNG', 'MUDA', 'OLD', 'LAMA', 'NEW', 'BARU', 'BEAUTIFUL', 'CANTIK', 'SUNSHINE', 'MENTARI',
    'RUN', 'LARI', 'FALL', 'JATUH', 'FLY', 'TERBANG', 'FREE', 'BEBAS', 'TRUE', 'SETIA',
    'ÉTÉ', 'CAFÉ', 'NIÑA', 'MAÑANA', 'ÁNGEL', 'CANCIÓN', 'BÉSAME', 'DÉJÀ', 'RÊVE', 'ÉTOILE',
    '100%', 'WON''T', 'YOU''RE', '''TIL', 'ROCK''N''ROLL', 'MR.', '#1', '(REMIX)', '(ACOUSTIC)', '50%',
    'GOODBYE', 'SELAMAT', 'TINGGAL', 'MISS', 'MEMORIES', 'KERINDUAN', 'PERPISAHAN', 'KESEPIAN', 'HELLO', 'HALO',
    'FRIEND', 'TEMAN', 'FAMILY', 'KELUARGA', 'MOTHER', 'IBU', 'FATHER', 'AYAH', 'CHILD', 'ANAK',
    'SUN', 'MATAHARI', 'CLOUD', 'AWAN', 'STORM', 'BADAI', 'SNOW', 'SALJU', 'WIND', 'EMBUN',
    'SPRING', 'MUSIM', 'AUTUMN', 'GUGUR', 'WINTER', 'DINGIN', 'WARM', 'HANGAT', 'COLD', 'BEKU',
    'FOOL', 'BODOH', 'WISE', 'BIJAK', 'KING', 'RAJA', 'QUEEN', 'RATU', 'PRINCE', 'PANGERAN',
    'PRINCESS', 'PUTRI', 'HERO', 'PAHLAWAN', 'LEGEND', 'LEGENDA', 'MAGIC', 'AJAIB', 'MIRACLE', 'KEAJAIBAN',
    'EVERLASTING', 'CELEBRATION', 'REMEMBRANCE', 'PERSAHABATAN', 'KEBAHAGIAAN', 'KERINGAT', 'PERJALANAN', 'PETUALANGAN', 'HORIZON', 'CAKRAWALA',
    'ELECTRIC', 'NEON', 'DIAMOND', 'BERLIAN', 'SILVER', 'PERAK', 'GOLD', 'EMAS', 'VELVET', 'SUTRA',
    'TRAIN', 'KERETA', 'BUS', 'KAPAL', 'PLANE', 'PESAWAT', 'STREET', 'JALANAN', 'BRIDGE', 'JEMBATAN',
    'MIDNIGHT', 'TENGAH', 'SUNRISE', 'FAJAR', 'SUNSET', 'PETANG', 'YESTERDAY', 'KEMARIN', 'TOMORROW', 'BESOK',
    'PROMISE', 'SUMPAH', 'SECRET', 'RAHASIA', 'TRUTH', 'JUJUR', 'LIAR', 'DUSTA', 'FAITH', 'IMAN',
    'HOPE', 'HARAPAN', 'PRAYER', 'DOA', 'GRACE', 'RAHMAT', 'GLORY', 'KEMULIAAN', 'PEACE', 'DAMAI',
    'ISLAND', 'PULAU', 'MOUNTAIN', 'GUNUNG', 'VALLEY', 'LEMBAH', 'FOREST', 'HUTAN', 'DESERT', 'GURUN',
    'MÉLODIE', 'SEÑORITA', 'AÑOS', 'ÚLTIMA', 'CRÈME', 'NAÏVE', 'FÊTE', 'SCHÖN', 'ÜBER', 'JOLIE',
    'ZERO', 'XYLOPHONE', 'QUIET', 'QUEST', 'VOODOO', 'ZONE', 'JUKEBOX', 'YODEL', 'VIBE', 'XO')
    FROM seq_1_to_330;
-- list 2: first names, list 3: last names
INSERT INTO gen_word (list, pos, word)
SELECT 2, seq - 1, ELT(seq,
    'ARI', 'BAYU', 'CITRA', 'DEWI', 'EKA', 'FAJAR', 'GITA', 'HANA', 'INDRA', 'JAKA',
    'KIRANA', 'LINTANG', 'MAYA', 'NADIA', 'OKA', 'PUTRI', 'RAKA', 'SEKAR', 'TARA', 'WULAN',
    'ALMA', 'BRUNO', 'CELINE', 'DAVID', 'ELENA', 'FELIX', 'GRACE', 'HUGO', 'IVY', 'JONAS',
    'KAI', 'LUNA', 'MILO', 'NORA', 'OSCAR', 'PAULA', 'QUINN', 'ROSA', 'SAMUEL', 'VERA',
    'ANDI', 'BUDI', 'CAHYO', 'DIMAS', 'ERWIN', 'FITRI', 'GUNTUR', 'HENDRA', 'INTAN', 'JOKO',
    'KARTIKA', 'LESTARI', 'MELATI', 'NINA', 'OKTA', 'PRASETYO', 'RATNA', 'SITI', 'TEGUH', 'YUNI',
    'ADAM', 'BELLA', 'CHLOE', 'DANIEL', 'EMMA', 'FRANK', 'GEORGE', 'HARRY', 'ISABEL', 'JAMES',
    'KATE', 'LEO', 'MIA', 'NOAH', 'OLIVIA', 'PETER', 'RUBY', 'SOPHIE', 'TOM', 'ZOE',
    'JÓSE', 'RENÉ', 'ZOË', 'ANDRÉ', 'CHLOÉ', 'MARÍA', 'JÜRGEN', 'BJÖRK', 'SØREN', 'ÉLISE',
    'MEI', 'WEI', 'JIN', 'YUKI', 'HARU', 'MINHO', 'JISOO', 'ARJUN', 'PRIYA', 'RAVI')
    FROM seq_1_to_100;
INSERT INTO gen_word (list, pos, word)
SELECT 3, seq - 1, ELT(seq,
    'MARS', 'SANTOSO', 'WIJAYA', 'LESTARI', 'HARTONO', 'KUSUMA', 'PRATAMA', 'SARI', 'NUGRAHA', 'UTAMI',
    'RIVERS', 'STONE', 'BELL', 'CROSS', 'HALE', 'KNIGHT', 'LANE', 'MOON', 'NASH', 'PIERCE',
    'SETIAWAN', 'HIDAYAT', 'PURNAMA', 'SIREGAR', 'NASUTION', 'SIMANJUNTAK', 'WIBOWO', 'SUSANTO', 'GUNAWAN', 'HALIM',
    'SMITH', 'JONES', 'BROWN', 'TAYLOR', 'WILSON', 'EVANS', 'WALKER', 'WRIGHT', 'GREEN', 'HALL',
    'BAKER', 'CARTER', 'MORGAN', 'PARKER', 'REED', 'COOPER', 'HAYES', 'MYERS', 'FORD', 'WELLS',
    'TAN', 'LIM', 'WONG', 'CHEN', 'LEE', 'KIM', 'PARK', 'SATO', 'TANAKA', 'SUZUKI',
    'GARCÍA', 'MÜLLER', 'LÓPEZ', 'DUBOIS', 'PEÑA', 'MARTÍNEZ', 'LEFÈVRE', 'ÅBERG', 'NÚÑEZ', 'BRÜCKNER',
    'SHARMA', 'KAPOOR', 'KHAN', 'DAS', 'ROSSI', 'BIANCHI', 'SILVA', 'COSTA', 'NOVAK', 'IVANOV')
    FROM seq_1_to_80;
-- list 4: band names' first words, list 5: their last words
INSERT INTO gen_word (list, pos, word)
SELECT 4, seq - 1, ELT(seq,
    'MIDNIGHT', 'GOLDEN', 'SILVER', 'ELECTRIC', 'VELVET', 'NEON', 'WILD', 'BLUE', 'RED', 'BLACK',
    'SWEET', 'ROLLING', 'FLYING', 'LITTLE', 'BIG', 'SECRET', 'LOST', 'BROKEN', 'HAPPY', 'LONELY',
    'SENJA', 'LANGIT', 'PELANGI', 'BINTANG', 'MERAH', 'PUTIH', 'HUJAN', 'MALAM', 'SAMUDRA', 'RIMBA',
    'CRYSTAL', 'COSMIC', 'URBAN', 'ROYAL', 'SONIC', 'MAGIC', 'LUNAR', 'SOLAR', 'ATOMIC', 'ÉLAN')
    FROM seq_1_to_40;
INSERT INTO gen_word (list, pos, word)
SELECT 5, seq - 1, ELT(seq,
    'BAND', 'PROJECT', 'TRIO', 'ORCHESTRA', 'SISTERS', 'BROTHERS', 'COLLECTIVE', 'QUARTET', 'CREW', 'ENSEMBLE',
    'RIDERS', 'DREAMERS', 'KIDS', 'BOYS', 'GIRLS', 'HEARTS', 'SOULS', 'ANGELS', 'KINGS', 'LOVERS',
    'SQUAD', 'UNITED', 'PARADE', 'MACHINE', 'EXPRESS', 'EXPERIENCE', 'SOCIETY', 'SYNDICATE', 'CLUB', 'CIRCUS')
    FROM seq_1_to_30;

SET @title_words = (SELECT COUNT(*) FROM gen_word WHERE list = 1);
SET @first_names = (SELECT COUNT(*) FROM gen_word WHERE list = 2);
SET @last_names = (SELECT COUNT(*) FROM gen_word WHERE list = 3);
SET @band_firsts = (SELECT COUNT(*) FROM gen_word WHERE list = 4);
SET @band_lasts = (SELECT COUNT(*) FROM gen_word WHERE list = 5);
SET @artist_count = GREATEST(50, @catalogue_size DIV 25);
SET @generated_from = (SELECT IFNULL(MAX(idlagu), 0) + 1 FROM lagu);

-- Every choice is a 16-bit slice of an MD5 digest of (what is chosen, its
-- number), as a fraction in [0, 1): reproducible and independent of the other
-- choices (hashes such as CRC32 of similar texts are not). A fraction raised to
-- a power above 1 favours the front of a list.
CREATE TEMPORARY TABLE gen_artist (
    no INT NOT NULL PRIMARY KEY, name VARCHAR(150) NOT NULL, idgolongan INT NOT NULL
) ENGINE=MEMORY DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
SET @artist_sql = CONCAT(
'INSERT INTO gen_artist (no, name, idgolongan)
 SELECT a.no,
   CASE
     WHEN a.kind < 68 THEN CONCAT(
       (SELECT word FROM gen_word WHERE list = 2 AND pos = FLOOR(a.first * @first_names)), '' '',
       (SELECT word FROM gen_word WHERE list = 3 AND pos = FLOOR(a.last * @last_names)))
     WHEN a.kind < 76 THEN
       (SELECT word FROM gen_word WHERE list = 2 AND pos = FLOOR(a.first * @first_names))
     WHEN a.kind < 82 THEN CONCAT(
       (SELECT word FROM gen_word WHERE list = 2 AND pos = FLOOR(a.first * @first_names)), '' & '',
       (SELECT word FROM gen_word WHERE list = 2 AND pos = FLOOR(a.last * @first_names)))
     ELSE CONCAT(IF(a.kind < 90, ''THE '', ''''),
       (SELECT word FROM gen_word WHERE list = 4 AND pos = FLOOR(a.band * @band_firsts)), '' '',
       (SELECT word FROM gen_word WHERE list = 5 AND pos = FLOOR(a.crew * @band_lasts)))
   END,
   CASE
     WHEN a.grp < 28 THEN 1 WHEN a.grp < 52 THEN 2 WHEN a.grp < 62 THEN 3 WHEN a.grp < 70 THEN 4
     WHEN a.grp < 73 THEN 5 WHEN a.grp < 79 THEN 6 WHEN a.grp < 84 THEN 7 WHEN a.grp < 88 THEN 8
     WHEN a.grp < 94 THEN 9 WHEN a.grp < 97 THEN 10 WHEN a.grp < 99 THEN 11 ELSE 12
   END
 FROM (SELECT h.no,
              FLOOR(100 * (h.x & 65535) / 65536e0) AS kind,
              FLOOR(100 * (h.x >> 16 & 65535) / 65536e0) AS grp,
              (h.x >> 32 & 65535) / 65536e0 AS first,
              (h.x >> 48) / 65536e0 AS last,
              (h.y & 65535) / 65536e0 AS band,
              (h.y >> 16 & 65535) / 65536e0 AS crew
         FROM (SELECT d.no, CAST(CONV(LEFT(d.md5, 16), 16, 10) AS UNSIGNED) AS x,
                      CAST(CONV(RIGHT(d.md5, 16), 16, 10) AS UNSIGNED) AS y
                 FROM (SELECT seq - 1 AS no, MD5(CONCAT(''artist '', seq - 1)) AS md5
                         FROM seq_1_to_', @artist_count, ') d) h) a');
PREPARE generate_artists FROM @artist_sql;
EXECUTE generate_artists;
DEALLOCATE PREPARE generate_artists;

-- Title words are picked from the front of the list with the power 1.9 and
-- artists with the power 1.7.
SET @song_sql = CONCAT(
'INSERT INTO lagu (judul, artis, idgolongan, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk, durasi)
 SELECT s.judul, (SELECT name FROM gen_artist WHERE no = s.artist),
        (SELECT idgolongan FROM gen_artist WHERE no = s.artist), s.genre, s.hits, s.age < 150,
        s.hd, s.plays, DATE_SUB(''2026-12-01'', INTERVAL s.age DAY), s.durasi
 FROM (
   SELECT
     CONCAT_WS('' '',
       (SELECT word FROM gen_word WHERE list = 1 AND pos = t.w1),
       IF(t.n >= 14, (SELECT word FROM gen_word WHERE list = 1 AND pos = t.w2), NULL),
       IF(t.n >= 44, (SELECT word FROM gen_word WHERE list = 1 AND pos = t.w3), NULL),
       IF(t.n >= 70, (SELECT word FROM gen_word WHERE list = 1 AND pos = t.w4), NULL),
       IF(t.n >= 86, (SELECT word FROM gen_word WHERE list = 1 AND pos = t.w5), NULL),
       IF(t.n >= 95, (SELECT word FROM gen_word WHERE list = 1 AND pos = t.w6), NULL)) AS judul,
     t.artist, t.genre, t.hits, t.hd, t.plays, t.age, t.durasi
   FROM (
     SELECT
       FLOOR(100 * u.n) AS n,
       FLOOR(@title_words * POW(u.w1, 1.9)) AS w1,
       FLOOR(@title_words * POW(u.w2, 1.9)) AS w2,
       FLOOR(@title_words * POW(u.w3, 1.9)) AS w3,
       FLOOR(@title_words * POW(u.w4, 1.9)) AS w4,
       FLOOR(@title_words * POW(u.w5, 1.9)) AS w5,
       FLOOR(@title_words * POW(u.w6, 1.9)) AS w6,
       FLOOR(@artist_count * POW(u.artist, 1.7)) AS artist,
       FLOOR(6 * u.genre) AS genre,
       u.hits < 0.1 AS hits,
       u.hd < 1 / 3 AS hd,
       IF(u.played < 0.25, 1 + FLOOR(1500 * POW(u.plays, 3)), 0) AS plays,
       FLOOR(2000 * u.age) AS age,
       150 + FLOOR(180 * u.durasi) AS durasi
     FROM (
       SELECT
         (h.x & 65535) / 65536e0 AS n,
         (h.x >> 16 & 65535) / 65536e0 AS w1,
         (h.x >> 32 & 65535) / 65536e0 AS w2,
         (h.x >> 48) / 65536e0 AS w3,
         (h.y & 65535) / 65536e0 AS w4,
         (h.y >> 16 & 65535) / 65536e0 AS w5,
         (h.y >> 32 & 65535) / 65536e0 AS w6,
         (h.y >> 48) / 65536e0 AS artist,
         (h.z & 65535) / 65536e0 AS genre,
         (h.z >> 16 & 65535) / 65536e0 AS hits,
         (h.z >> 32 & 65535) / 65536e0 AS hd,
         (h.z >> 48) / 65536e0 AS played,
         (h.v & 65535) / 65536e0 AS plays,
         (h.v >> 16 & 65535) / 65536e0 AS age,
         (h.v >> 32 & 65535) / 65536e0 AS durasi
       FROM (SELECT CAST(CONV(LEFT(d.a, 16), 16, 10) AS UNSIGNED) AS x,
                    CAST(CONV(RIGHT(d.a, 16), 16, 10) AS UNSIGNED) AS y,
                    CAST(CONV(LEFT(d.b, 16), 16, 10) AS UNSIGNED) AS z,
                    CAST(CONV(RIGHT(d.b, 16), 16, 10) AS UNSIGNED) AS v
               FROM (SELECT MD5(CONCAT(''title '', seq)) AS a, MD5(CONCAT(''song '', seq)) AS b
                       FROM seq_1_to_', @catalogue_size, ') d) h) u) t
 ) s');
-- Each derived table is computed once (merged, every use of a digest would
-- compute it again), in memory. The search's word table is filled in bulk
-- afterwards, not song by song.
SET @saved_optimizer_switch = @@SESSION.optimizer_switch;
SET @saved_heap_size = @@SESSION.max_heap_table_size, @saved_tmp_size = @@SESSION.tmp_table_size;
SET SESSION optimizer_switch = 'derived_merge=off';
SET SESSION max_heap_table_size = 1073741824, tmp_table_size = 1073741824;
SET @catalogue_bulk_load = 1;
PREPARE generate_songs FROM @song_sql;
EXECUTE generate_songs;
DEALLOCATE PREPARE generate_songs;
SET @catalogue_bulk_load = NULL;
SET SESSION optimizer_switch = @saved_optimizer_switch;
SET SESSION max_heap_table_size = @saved_heap_size, tmp_table_size = @saved_tmp_size;
CALL KataLaguSusunUlang(@generated_from);
DROP TEMPORARY TABLE gen_artist;
DROP TEMPORARY TABLE gen_word;
