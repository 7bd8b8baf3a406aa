-- Demo menu and the rooms that may order.
INSERT INTO kamar (idkamar, namakamar, orderid, jual, statuschekin) VALUES
    (1, 'ROOM 01', 'BILL-0001', 1, 1),
    (2, 'ROOM 02', 'BILL-0002', 0, 0);

INSERT INTO kategorimenu (id, kategori, urutan) VALUES
    (1, 'MAKANAN', 1), (2, 'MINUMAN', 2), (3, 'SNACK', 3), (4, 'PAKET', 4);

INSERT INTO menu (idmenu, idkategori, menu, hargajual) VALUES
    ('MK001', 1, 'NASI GORENG SPESIAL', 45000), ('MK002', 1, 'MIE GORENG', 38000),
    ('MK003', 1, 'AYAM BAKAR', 52000), ('MK004', 1, 'SATE AYAM', 48000),
    ('MN001', 2, 'ES TEH MANIS', 12000), ('MN002', 2, 'JUS ALPUKAT', 25000),
    ('MN003', 2, 'KOPI SUSU', 22000), ('MN004', 2, 'AIR MINERAL', 8000),
    ('SN001', 3, 'KENTANG GORENG', 28000), ('SN002', 3, 'PISANG GORENG', 24000),
    ('SN003', 3, 'ROTI BAKAR', 26000),
    ('PK001', 4, 'PAKET BERDUA', 120000), ('PK002', 4, 'PAKET KELUARGA', 350000);
