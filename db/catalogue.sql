-- Catalogue generator: fills the songs database with @catalogue_size invented songs,
-- reproducibly (the same size gives the same catalogue). Run by an administrator
-- against the songs database, for example:
--   mariadb -e "SET @catalogue_size = 500000; SOURCE db/catalogue.sql;" songs_db
-- Titles of one to five words and artists of one or two names are drawn from word
-- lists whose words range from two to eleven letters, so words repeat across songs
-- as they do in a real catalogue.

CREATE TEMPORARY TABLE gen_word (
    list TINYINT NOT NULL, pos INT NOT NULL, word VARCHAR(20) NOT NULL,
    PRIMARY KEY (list, pos)
);
-- list 1: title words, list 2: artist first names, list 3: artist last names
INSERT INTO gen_word (list, pos, word)
SELECT 1, seq - 1, ELT(seq,
    'LOVE', 'CINTA', 'MY', 'HATI', 'RINDU', 'NIGHT', 'MALAM', 'DREAM', 'BINTANG', 'SKY',
    'KASIH', 'FOREVER', 'SAYANG', 'HEART', 'BULAN', 'RAIN', 'HUJAN', 'YOU', 'AKU', 'KAMU',
    'SUMMER', 'PELANGI', 'FIRE', 'SENJA', 'OCEAN', 'LAUT', 'GOLDEN', 'JALAN', 'HOME', 'PULANG',
    'STAY', 'TERINDAH', 'WILD', 'KENANGAN', 'LIGHT', 'CAHAYA', 'BABY', 'MIMPI', 'TONIGHT', 'JANJI',
    'ANGEL', 'SEMESTA', 'WINGS', 'LANGIT', 'SILENT', 'SEPI', 'DANCE', 'LAGU', 'SWEET', 'MANIS',
    'BROKEN', 'PATAH', 'SOUL', 'JIWA', 'MORNING', 'PAGI', 'RIVER', 'SUNGAI', 'ONE', 'SATU',
    'TIME', 'WAKTU', 'WORLD', 'DUNIA', 'STARLIGHT', 'KEMBALI', 'ALWAYS', 'SELAMANYA', 'BLUE', 'BIRU',
    'ROAD', 'CERITA', 'HEAVEN', 'SURGA', 'SHADOW', 'BAYANGAN', 'FLOWER', 'BUNGA', 'MELODY', 'NADA')
    FROM seq_1_to_80;
INSERT INTO gen_word (list, pos, word)
SELECT 2, seq - 1, ELT(seq,
    'ARI', 'BAYU', 'CITRA', 'DEWI', 'EKA', 'FAJAR', 'GITA', 'HANA', 'INDRA', 'JAKA',
    'KIRANA', 'LINTANG', 'MAYA', 'NADIA', 'OKA', 'PUTRI', 'RAKA', 'SEKAR', 'TARA', 'WULAN',
    'ALMA', 'BRUNO', 'CELINE', 'DAVID', 'ELENA', 'FELIX', 'GRACE', 'HUGO', 'IVY', 'JONAS',
    'KAI', 'LUNA', 'MILO', 'NORA', 'OSCAR', 'PAULA', 'QUINN', 'ROSA', 'SAMUEL', 'VERA')
    FROM seq_1_to_40;
INSERT INTO gen_word (list, pos, word)
SELECT 3, seq - 1, ELT(seq,
    'MARS', 'SANTOSO', 'WIJAYA', 'LESTARI', 'HARTONO', 'KUSUMA', 'PRATAMA', 'SARI', 'NUGRAHA', 'UTAMI',
    'RIVERS', 'STONE', 'BELL', 'CROSS', 'HALE', 'KNIGHT', 'LANE', 'MOON', 'NASH', 'PIERCE',
    'BAND', 'PROJECT', 'TRIO', 'ORCHESTRA', 'SISTERS', 'BROTHERS', 'COLLECTIVE', 'QUARTET', 'CREW', 'ENSEMBLE')
    FROM seq_1_to_30;

SET @title_words = (SELECT COUNT(*) FROM gen_word WHERE list = 1);
SET @first_names = (SELECT COUNT(*) FROM gen_word WHERE list = 2);
SET @last_names = (SELECT COUNT(*) FROM gen_word WHERE list = 3);

-- A song's n-th word is picked by a hash of (song number, n): reproducible and
-- spread evenly without a random generator.
SET @generate = CONCAT(
'INSERT INTO lagu (judul, artis, idgolongan, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk, durasi)
 SELECT
   CONCAT_WS('' '',
     (SELECT word FROM gen_word WHERE list = 1 AND pos = CRC32(CONCAT(s.seq, ''a'')) MOD @title_words),
     IF(CRC32(CONCAT(s.seq, ''n'')) MOD 10 >= 2,
        (SELECT word FROM gen_word WHERE list = 1 AND pos = CRC32(CONCAT(s.seq, ''b'')) MOD @title_words), NULL),
     IF(CRC32(CONCAT(s.seq, ''n'')) MOD 10 >= 5,
        (SELECT word FROM gen_word WHERE list = 1 AND pos = CRC32(CONCAT(s.seq, ''c'')) MOD @title_words), NULL),
     IF(CRC32(CONCAT(s.seq, ''n'')) MOD 10 >= 8,
        (SELECT word FROM gen_word WHERE list = 1 AND pos = CRC32(CONCAT(s.seq, ''d'')) MOD @title_words), NULL),
     IF(CRC32(CONCAT(s.seq, ''n'')) MOD 10 >= 9,
        (SELECT word FROM gen_word WHERE list = 1 AND pos = CRC32(CONCAT(s.seq, ''e'')) MOD @title_words), NULL)),
   CONCAT_WS('' '',
     (SELECT word FROM gen_word WHERE list = 2 AND pos = CRC32(CONCAT(s.seq DIV 7, ''f'')) MOD @first_names),
     IF(CRC32(CONCAT(s.seq DIV 7, ''m'')) MOD 4 > 0,
        (SELECT word FROM gen_word WHERE list = 3 AND pos = CRC32(CONCAT(s.seq DIV 7, ''l'')) MOD @last_names), NULL)),
   1 + CRC32(CONCAT(s.seq DIV 7, ''g'')) MOD 12,
   CRC32(CONCAT(s.seq, ''k'')) MOD 6,
   CRC32(CONCAT(s.seq, ''h'')) MOD 10 = 0,
   CRC32(CONCAT(s.seq, ''w'')) MOD 12 = 0,
   CRC32(CONCAT(s.seq, ''q'')) MOD 3 = 0,
   IF(CRC32(CONCAT(s.seq, ''p'')) MOD 4 = 0, CRC32(CONCAT(s.seq, ''c'')) MOD 500, 0),
   DATE_SUB(''2026-12-01'', INTERVAL CRC32(CONCAT(s.seq, ''t'')) MOD 2000 DAY),
   150 + CRC32(CONCAT(s.seq, ''d'')) MOD 180
 FROM seq_1_to_', @catalogue_size, ' s');
PREPARE generate_songs FROM @generate;
EXECUTE generate_songs;
DEALLOCATE PREPARE generate_songs;
DROP TEMPORARY TABLE gen_word;
