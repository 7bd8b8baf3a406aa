-- Transaction database: menu, rooms that may order, orders and service calls.
-- Loaded into the database that "setting.ini" names in [Transaksi] DatabaseTransaksi.

CREATE TABLE IF NOT EXISTS kamar (
    idkamar      INT NOT NULL PRIMARY KEY,
    namakamar    VARCHAR(50) NOT NULL,
    orderid      VARCHAR(20) NOT NULL COMMENT 'the room''s current bill, carried on every order line',
    jual         TINYINT NOT NULL DEFAULT 0 COMMENT '1 = the room is sold',
    statuschekin TINYINT NOT NULL DEFAULT 0 COMMENT '1 = the room is checked in',
    KEY kamar_nama (namakamar)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS kategorimenu (
    id       INT NOT NULL PRIMARY KEY,
    kategori VARCHAR(50) NOT NULL,
    urutan   INT NOT NULL DEFAULT 0
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS menu (
    idmenu     VARCHAR(20) NOT NULL PRIMARY KEY,
    idkategori INT NOT NULL,
    menu       VARCHAR(100) NOT NULL,
    hargajual  DECIMAL(12, 2) NOT NULL,
    aktif      TINYINT NOT NULL DEFAULT 1,
    KEY menu_kategori (idkategori, menu)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Order heads. The order number "RO" + yyMMdd + daily sequence is the key, so two
-- consoles can never file two orders under one number.
CREATE TABLE IF NOT EXISTS torder_room (
    co       VARCHAR(12) NOT NULL PRIMARY KEY,
    idroom   INT NOT NULL,
    jamorder DATETIME NOT NULL,
    catatan  TEXT NOT NULL,
    status   TINYINT NOT NULL DEFAULT 1
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS torderroom_rinci (
    id      BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    co      VARCHAR(12) NOT NULL,
    idmenu  VARCHAR(20) NOT NULL,
    qty     INT NOT NULL,
    idorder VARCHAR(20) NOT NULL,
    catatan VARCHAR(50) NOT NULL DEFAULT '',
    KEY rinci_co (co),
    CONSTRAINT rinci_head FOREIGN KEY (co) REFERENCES torder_room (co) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS panggilan (
    id       BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    namaroom VARCHAR(50) NOT NULL,
    jenis    TINYINT NOT NULL COMMENT 'call kind: 1 or 2, as the skin asked',
    waktu    DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP,
    selesai  TINYINT NOT NULL DEFAULT 0 COMMENT 'set by the staff when answered',
    KEY panggilan_terbuka (selesai, waktu)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

DELIMITER //

CREATE OR REPLACE PROCEDURE Caller(IN room_name VARCHAR(50), IN call_kind INT)
    MODIFIES SQL DATA
BEGIN
    INSERT INTO panggilan (namaroom, jenis, waktu) VALUES (room_name, call_kind, NOW());
END//

CREATE OR REPLACE PROCEDURE ViewCategoryMenu()
    READS SQL DATA
BEGIN
    SELECT kategori, id FROM kategorimenu ORDER BY urutan, id;
END//

CREATE OR REPLACE PROCEDURE ViewItemMenu(IN category_id INT)
    READS SQL DATA
BEGIN
    SELECT menu, hargajual, idmenu FROM menu
     WHERE idkategori = category_id AND aktif = 1
     ORDER BY menu;
END//

DELIMITER ;
