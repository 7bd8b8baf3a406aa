#include "console/ordersubmission.h"

#include <stdexcept>

#include "app/adocommand.h"
#include "app/adoconnection.h"
#include "app/adotransaction.h"
#include "app/dberror.h"
#include "app/sqltext.h"

using sqltext::QuotedStr;

namespace {

// The server's code for an insert whose key is already taken.
constexpr int kDuplicateKey = 1062;

QString DayText(const QDate& day) {
    return day.toString(QStringLiteral("yyMMdd"));
}

}  // namespace

QString TOrderSubmission::RoomCheckText(const QString& room) {
    return QStringLiteral(
               "select idkamar, namakamar, orderid from kamar where jual=1 and statuschekin=1 "
               "and namakamar = ") +
           QuotedStr(room);
}

QString TOrderSubmission::HighestNumberText(const QDate& day) {
    return QStringLiteral(" SELECT MAX(RIGHT(co, 4)) AS id  FROM  torder_room  WHERE  (co LIKE ") +
           QuotedStr(QStringLiteral("RO") + DayText(day) + QStringLiteral("%")) +
           QStringLiteral(")");
}

QString TOrderSubmission::HeadText(const QString& co, int idkamar, const QDateTime& jamorder,
                                   const QString& catatan) {
    return QStringLiteral(
               "INSERT INTO torder_room (co, idroom, jamorder, catatan, status) VALUES (") +
           QuotedStr(co) + QStringLiteral(", ") + QString::number(idkamar) + QStringLiteral(",") +
           QuotedStr(jamorder.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) +
           QStringLiteral(", ") + QuotedStr(catatan) + QStringLiteral(", 1)");
}

QString TOrderSubmission::LineText(const QString& co, const TOrderLine& line,
                                   const QString& orderid) {
    return QStringLiteral(
               "INSERT INTO torderroom_rinci (co, idmenu, qty, idorder, catatan) VALUES  (") +
           QuotedStr(co) + QStringLiteral(", ") + QuotedStr(line.idmenu) + QStringLiteral(", ") +
           QString::number(line.qty) + QStringLiteral(",") + QuotedStr(orderid) +
           QStringLiteral(",") + QuotedStr(line.catatan) + QStringLiteral(");");
}

QString TOrderSubmission::OrderNumber(const QDate& day, int sequence) {
    return QStringLiteral("RO") + DayText(day) +
           QStringLiteral("%1").arg(sequence, 4, 10, QLatin1Char('0'));
}

int TOrderSubmission::SequenceValue(const QString& id) {
    bool ok = false;
    const int value = id.trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

std::optional<TOrderSubmission::Room> TOrderSubmission::CheckRoom(const QString& room) {
    save_.Close();
    save_.SetText(RoomCheckText(room));
    save_.Open();
    save_.First();
    if (save_.RecordCount() != 1) {
        return std::nullopt;
    }
    return Room{save_.FieldByName(QStringLiteral("idkamar")).AsInteger(),
                save_.FieldByName(QStringLiteral("orderid")).AsString()};
}

int TOrderSubmission::HighestSequence(const QDate& day) {
    save_.Close();
    save_.SetText(HighestNumberText(day));
    save_.Open();
    return SequenceValue(save_.FieldByName(QStringLiteral("id")).AsString());
}

QString TOrderSubmission::InsertHead(const QDate& day, const Room& room, const QString& orderNote,
                                     const QDateTime& now) {
    const int first = HighestSequence(day) + 1;
    for (int sequence = first; sequence < first + kMaxNumberAttempts; ++sequence) {
        if (sequence > kLastSequence) {
            throw std::runtime_error(
                QStringLiteral("All %1 order numbers of %2 are taken; the order was not saved")
                    .arg(kLastSequence)
                    .arg(day.toString(QStringLiteral("yyyy-MM-dd")))
                    .toStdString());
        }
        const QString co = OrderNumber(day, sequence);
        save_.Close();
        save_.SetText(HeadText(co, room.idkamar, now, orderNote));
        try {
            save_.Execute();
            return co;
        } catch (const EDatabaseError& error) {
            // Another console took this number since it was read: the server
            // undid only the failed insert, the transaction goes on.
            if (error.nativeCode() != kDuplicateKey) {
                throw;
            }
        }
    }
    throw std::runtime_error(
        QStringLiteral("Order numbers %1 to %2 are all taken; the order was not saved")
            .arg(OrderNumber(day, first), OrderNumber(day, first + kMaxNumberAttempts - 1))
            .toStdString());
}

TOrderSubmission::Result TOrderSubmission::Submit(const QString& room, const QString& orderNote,
                                                  const QList<TOrderLine>& lines,
                                                  const QDateTime& now) {
    if (lines.isEmpty()) {
        throw std::invalid_argument("an order without rows is not submitted");
    }
    const std::optional<Room> found = CheckRoom(room);
    if (!found) {
        return {Outcome::RoomNotCheckedIn, QString()};
    }
    // One date for the whole order, so that the number's date, its sequence
    // and the order time agree even across midnight.
    const QDate day = now.date();
    TAdoTransaction transaction(*save_.Connection());
    const QString co = InsertHead(day, *found, orderNote, now);
    for (const TOrderLine& line : lines) {
        save_.Close();
        save_.SetText(LineText(co, line, found->orderid));
        save_.Execute();
    }
    transaction.Commit();
    save_.Close();
    return {Outcome::Submitted, co};
}
