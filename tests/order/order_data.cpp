#include "order_data.h"

namespace ordertest {

Room RushRoom(int i) {
    const QString two = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return {7120 + i, QStringLiteral("ORDER RUSH ") + two, QStringLiteral("RUSH-") + two};
}

OrderData::OrderData() {
    removeOrders();
    QStringList rooms{
        QStringLiteral("(7101, 'ORDER ROOM A', 'BILL-7101', 1, 1)"),
        QStringLiteral("(7102, 'ORDER ROOM B', 'BILL-7102', 1, 1)"),
        QStringLiteral("(7103, 'ORDER ROOM IDLE', 'BILL-7103', 1, 0)"),
        QStringLiteral("(7104, 'ORDER ROOM UNSOLD', 'BILL-7104', 0, 1)"),
        QStringLiteral("(7105, 'ORDER ROOM TWIN', 'BILL-7105', 1, 1)"),
        QStringLiteral("(7106, 'ORDER ROOM TWIN', 'BILL-7106', 1, 1)"),
    };
    for (int i = 1; i <= kRushRooms; ++i) {
        const Room room = RushRoom(i);
        rooms << QStringLiteral("(%1, '%2', '%3', 1, 1)")
                     .arg(room.idkamar)
                     .arg(room.namakamar, room.orderid);
    }
    admin.exec(
        QStringLiteral(
            "DELETE FROM kamar WHERE idkamar BETWEEN 7101 AND 7199;\n"
            "DELETE FROM menu WHERE idkategori BETWEEN 7101 AND 7199;\n"
            "DELETE FROM kategorimenu WHERE id BETWEEN 7101 AND 7199;\n"
            "INSERT INTO kamar (idkamar, namakamar, orderid, jual, statuschekin) VALUES ") +
        rooms.join(QStringLiteral(", ")) +
        QStringLiteral(";\n"
                       "INSERT INTO kategorimenu (id, kategori, urutan) VALUES "
                       "(7101, 'T7 DRINKS', 71), (7102, 'T7 NOTHING YET', 72);\n"
                       "INSERT INTO menu (idmenu, idkategori, menu, hargajual, aktif) VALUES "
                       "('T7-TEA', 7101, 'T7 TEA', 25000, 1), "
                       "('T7-COMBO', 7101, 'T7 COMBO #1', 1234567.5, 1), "
                       "('T7-WATER', 7101, 'T7 WATER', 500, 1), "
                       "('T7-GONE', 7102, 'T7 GONE', 9000, 0)"));
}

OrderData::~OrderData() {
    removeOrders();
    admin.exec(
        QStringLiteral("DELETE FROM kamar WHERE idkamar BETWEEN 7101 AND 7199;\n"
                       "DELETE FROM menu WHERE idkategori BETWEEN 7101 AND 7199;\n"
                       "DELETE FROM kategorimenu WHERE id BETWEEN 7101 AND 7199"));
}

void OrderData::removeOrders() {
    // Lines go with their head.
    admin.exec(QStringLiteral("DELETE FROM torder_room WHERE co LIKE 'RO01%'"));
}

QList<QStringList> OrderData::heads(const QDate& day) {
    return admin.rows(
        QStringLiteral("SELECT co, idroom, DATE_FORMAT(jamorder, '%Y-%m-%d %H:%i:%s'), "
                       "catatan, status FROM torder_room WHERE co LIKE 'RO%1%' "
                       "ORDER BY co")
            .arg(day.toString(QStringLiteral("yyMMdd"))));
}

QList<QStringList> OrderData::lines(const QString& co) {
    return admin.rows(QStringLiteral("SELECT idmenu, qty, idorder, catatan FROM torderroom_rinci "
                                     "WHERE co = '%1' ORDER BY id")
                          .arg(co));
}

int OrderData::lineCount(const QDate& day) {
    return admin
        .scalar(QStringLiteral("SELECT COUNT(*) FROM torderroom_rinci WHERE co LIKE 'RO%1%'")
                    .arg(day.toString(QStringLiteral("yyMMdd"))))
        .toInt();
}

QString OrderNumber(const QDate& day, int sequence) {
    return QStringLiteral("RO") + day.toString(QStringLiteral("yyMMdd")) +
           QStringLiteral("%1").arg(sequence, 4, 10, QLatin1Char('0'));
}

}  // namespace ordertest
