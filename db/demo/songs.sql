-- Demo songs database: the twelve song groups, a few genres, an invented
-- catalogue and two rooms with their booking records.

INSERT INTO golongan (idgolongan, golongan, urutan) VALUES
    (1, 'INDONESIA', 1), (2, 'WESTERN', 2), (3, 'MANDARIN', 3), (4, 'DAERAH', 4),
    (5, 'CHILDREN', 5), (6, 'MALAYSIA', 6), (7, 'INDIA', 7), (8, 'JEPANG', 8),
    (9, 'KOREA', 9), (10, 'ROHANI', 10), (11, 'HOUSE MUSIC', 11), (12, 'EDM', 12);

INSERT INTO genre (idgenre, genre) VALUES
    (1, 'POP'), (2, 'ROCK'), (3, 'DANGDUT'), (4, 'JAZZ'), (5, 'BALLAD');

SET @catalogue_size = 400;
SOURCE catalogue.sql;

-- A few hand-written songs that the tests and the demo look for by name.
INSERT INTO lagu (judul, artis, idgolongan, idgenre, hits, baru, hd, jumlahputar, tanggalmasuk, durasi) VALUES
    ('MY LOVE', 'BRUNO MARS', 2, 1, 1, 0, 1, 120, '2020-05-01', 215),
    ('CINTA SEJATI', 'DEWI LESTARI', 1, 5, 1, 1, 0, 80, '2026-11-20', 263),
    ('50% OFF', 'THE DISCOUNTS', 2, 2, 0, 1, 0, 0, '2026-11-25', 181),
    ('DON''T STOP', 'NORA NASH', 2, 1, 0, 0, 1, 12, '2024-02-14', 199),
    ('ÉTÉ ÉTERNEL', 'CÉLINE MOON', 2, 4, 0, 0, 0, 3, '2023-07-07', 240);

INSERT INTO room (idroom, namaroom, status, players, jam, durasi, user) VALUES
    (1, 'ROOM 01', 1, 1, NOW(), 120, 'GUEST DEMO'),
    (2, 'ROOM 02', 0, 0, NULL, 0, '');

-- ROOM 01's playlist, so that its room player has songs to play right after check-in.
INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu)
SELECT demo.position, 'ROOM 01', demo.ukey, lagu.idlagu
FROM (SELECT 1 AS position, 'DEMO01' AS ukey, 'CINTA SEJATI' AS judul
      UNION ALL SELECT 2, 'DEMO02', 'MY LOVE'
      UNION ALL SELECT 3, 'DEMO03', 'DON''T STOP'
      UNION ALL SELECT 4, 'DEMO04', '50% OFF') AS demo
JOIN lagu ON lagu.judul = demo.judul;
