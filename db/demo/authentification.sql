-- Demo check-in codes; both room players run on this machine.
INSERT INTO remote (kode, idroom, port, channel, ip_address) VALUES
    ('1111', 1, 5001, 'CH1', '127.0.0.1'),
    ('2222', 2, 5002, 'CH2', '127.0.0.1');
