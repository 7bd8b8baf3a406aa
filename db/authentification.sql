-- Authentication database "authentification": turns a room's check-in code into
-- the room and the address of its room player.

CREATE TABLE IF NOT EXISTS remote (
    kode       VARCHAR(20) NOT NULL PRIMARY KEY COMMENT 'check-in code typed on the standby screen',
    idroom     INT NOT NULL,
    port       INT NOT NULL COMMENT 'TCP port of the room player',
    channel    VARCHAR(20) NOT NULL DEFAULT '',
    ip_address VARCHAR(45) NOT NULL COMMENT 'address of the room player'
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_nopad_bin;

DELIMITER //

CREATE OR REPLACE PROCEDURE remote_room(IN check_in_code VARCHAR(20))
    READS SQL DATA
BEGIN
    SELECT idroom, port, channel, ip_address FROM remote WHERE kode = check_in_code;
END//

DELIMITER ;
