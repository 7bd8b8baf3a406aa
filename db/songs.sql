-- Songs database: catalogue, song groups, room playlists and booking records.
-- Loaded into the database that "setting.ini" names in [PlayerKaraoke] DatabaseLagu.
-- Texts are literal: every session runs with NO_BACKSLASH_ESCAPES.

CREATE TABLE IF NOT EXISTS golongan (
    idgolongan INT NOT NULL PRIMARY KEY,
    golongan   VARCHAR(40) NOT NULL,
    urutan     INT NOT NULL DEFAULT 0 COMMENT 'position in the song-group list'
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS genre (
    idgenre INT NOT NULL PRIMARY KEY,
    genre   VARCHAR(40) NOT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS lagu (
    idlagu       INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    judul        VARCHAR(150) NOT NULL,
    artis        VARCHAR(150) NOT NULL,
    idgolongan   INT NOT NULL,
    idgenre      INT NOT NULL DEFAULT 0,
    hits         TINYINT NOT NULL DEFAULT 0 COMMENT 'list mode Hits',
    baru         TINYINT NOT NULL DEFAULT 0 COMMENT 'list mode New',
    hd           TINYINT NOT NULL DEFAULT 0 COMMENT 'list mode HD',
    jumlahputar  INT NOT NULL DEFAULT 0 COMMENT 'times played, orders list mode Popular',
    tanggalmasuk DATE NOT NULL COMMENT 'date the song joined the catalogue',
    durasi       INT NOT NULL DEFAULT 240 COMMENT 'length in seconds'
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- idplaylist is the entry's play position within its room, not a key: moving an
-- entry to the front renumbers the room's entries one statement at a time and
-- passes through duplicate positions on the way.
CREATE TABLE IF NOT EXISTS playlist (
    id         BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    idplaylist INT NOT NULL,
    namaroom   VARCHAR(50) NOT NULL,
    ukey       VARCHAR(10) NOT NULL COMMENT 'entry key chosen by the console',
    idlagu     INT NOT NULL,
    ditambah   DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
    KEY playlist_room_position (namaroom, idplaylist),
    KEY playlist_room_key (namaroom, ukey)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- One booking record per room; the venue's front desk sets status and players.
CREATE TABLE IF NOT EXISTS room (
    idroom   INT NOT NULL PRIMARY KEY,
    namaroom VARCHAR(50) NOT NULL UNIQUE,
    status   TINYINT NOT NULL DEFAULT 0 COMMENT '1 = checked in',
    players  TINYINT NOT NULL DEFAULT 0 COMMENT '1 = room player released for the booking',
    jam      DATETIME NULL COMMENT 'booking time: check-in, or end of the booked time',
    durasi   INT NOT NULL DEFAULT 0 COMMENT 'booked minutes',
    user     VARCHAR(60) NOT NULL DEFAULT ''
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- The catalogue search: its indexes on lagu, the word table and CariJudulArtis.
SOURCE search.sql;

DELIMITER //

CREATE OR REPLACE PROCEDURE ViewKategori()
    READS SQL DATA
BEGIN
    SELECT golongan, idgolongan FROM golongan ORDER BY urutan, idgolongan;
END//

CREATE OR REPLACE PROCEDURE ListPlayList(IN room_name VARCHAR(50))
    READS SQL DATA
BEGIN
    SELECT l.judul, l.artis, p.idplaylist, p.idlagu, p.ukey
      FROM playlist p JOIN lagu l ON l.idlagu = p.idlagu
     WHERE p.namaroom = room_name
     ORDER BY p.idplaylist, p.id;
END//

-- Appends after the room's last entry.
CREATE OR REPLACE PROCEDURE SavePlaylist(
    IN song_id INT, IN room_name VARCHAR(50), IN entry_key VARCHAR(10))
    MODIFIES SQL DATA
BEGIN
    INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu)
    SELECT IFNULL(MAX(idplaylist), 0) + 1, room_name, entry_key, song_id
      FROM playlist WHERE namaroom = room_name;
END//

CREATE OR REPLACE PROCEDURE DeleteLaguPlaylist(IN entry_id INT, IN room_name VARCHAR(50))
    MODIFIES SQL DATA
BEGIN
    DELETE FROM playlist WHERE namaroom = room_name AND idplaylist = entry_id;
END//

-- Swaps the play positions of two entries of the room.
CREATE OR REPLACE PROCEDURE GantiUrutanPlaylist(
    IN entry_id INT, IN neighbour_id INT, IN room_name VARCHAR(50))
    MODIFIES SQL DATA
BEGIN
    UPDATE playlist
       SET idplaylist = CASE WHEN idplaylist = entry_id THEN neighbour_id ELSE entry_id END
     WHERE namaroom = room_name AND idplaylist IN (entry_id, neighbour_id)
       AND entry_id <> neighbour_id;
END//

CREATE OR REPLACE PROCEDURE SelectLaguView(IN song_id INT)
    READS SQL DATA
BEGIN
    SELECT judul, artis FROM lagu WHERE idlagu = song_id;
END//

CREATE OR REPLACE PROCEDURE CekRoom_id(IN room_id INT)
    READS SQL DATA
BEGIN
    SELECT status, players, jam, durasi, namaroom, user FROM room WHERE idroom = room_id;
END//

DELIMITER ;

-- ---- Song requests ---------------------------------------------------------------
-- Songs a guest asks for that the catalogue lacks, or a free-text message, sent
-- from the console's request form and read by the venue's staff.

CREATE TABLE IF NOT EXISTS requestlagu (
    idrequest BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    namaroom  VARCHAR(50) NOT NULL,
    nama      VARCHAR(60) NOT NULL DEFAULT '',
    email     VARCHAR(100) NOT NULL DEFAULT '',
    telp      VARCHAR(20) NOT NULL DEFAULT '',
    judul1    VARCHAR(150) NOT NULL DEFAULT '',
    artis1    VARCHAR(150) NOT NULL DEFAULT '',
    judul2    VARCHAR(150) NOT NULL DEFAULT '',
    artis2    VARCHAR(150) NOT NULL DEFAULT '',
    judul3    VARCHAR(150) NOT NULL DEFAULT '',
    artis3    VARCHAR(150) NOT NULL DEFAULT '',
    judul4    VARCHAR(150) NOT NULL DEFAULT '',
    artis4    VARCHAR(150) NOT NULL DEFAULT '',
    judul5    VARCHAR(150) NOT NULL DEFAULT '',
    artis5    VARCHAR(150) NOT NULL DEFAULT '',
    pesan     TEXT NOT NULL,
    waktu     DATETIME NOT NULL COMMENT 'when the request arrived, by the server''s clock',
    selesai   TINYINT NOT NULL DEFAULT 0 COMMENT '1 = handled by the staff',
    KEY requestlagu_waktu (waktu),
    KEY requestlagu_room (namaroom, waktu)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

DELIMITER //

-- Stores one request with the server's current time. A request without any
-- title and without a message is refused (SQLSTATE 45000) and nothing is stored.
CREATE OR REPLACE PROCEDURE SimpanRequestLagu(
    IN room_name VARCHAR(50), IN guest_name VARCHAR(60), IN guest_email VARCHAR(100),
    IN guest_telp VARCHAR(20),
    IN title1 VARCHAR(150), IN artist1 VARCHAR(150), IN title2 VARCHAR(150),
    IN artist2 VARCHAR(150), IN title3 VARCHAR(150), IN artist3 VARCHAR(150),
    IN title4 VARCHAR(150), IN artist4 VARCHAR(150), IN title5 VARCHAR(150),
    IN artist5 VARCHAR(150), IN message TEXT)
    MODIFIES SQL DATA
BEGIN
    IF CONCAT(IFNULL(title1, ''), IFNULL(title2, ''), IFNULL(title3, ''), IFNULL(title4, ''),
              IFNULL(title5, ''), IFNULL(message, '')) REGEXP '^[[:space:]]*$' THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'A song request needs a title or a message';
    END IF;
    INSERT INTO requestlagu (namaroom, nama, email, telp, judul1, artis1, judul2, artis2,
                             judul3, artis3, judul4, artis4, judul5, artis5, pesan, waktu)
    VALUES (IFNULL(room_name, ''), IFNULL(guest_name, ''), IFNULL(guest_email, ''),
            IFNULL(guest_telp, ''), IFNULL(title1, ''), IFNULL(artist1, ''),
            IFNULL(title2, ''), IFNULL(artist2, ''), IFNULL(title3, ''), IFNULL(artist3, ''),
            IFNULL(title4, ''), IFNULL(artist4, ''), IFNULL(title5, ''), IFNULL(artist5, ''),
            IFNULL(message, ''), NOW());
END//

DELIMITER ;
