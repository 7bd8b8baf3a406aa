#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class TAdoCommand;

// One row of an order as the guest composed it.
struct TOrderLine {
    QString idmenu;
    int qty = 0;
    QString catatan;
};

// Writes a verified order to the transaction database: checks that the room
// is sold and checked in, numbers the order "RO" + yyMMdd + the day's
// four-digit sequence, and writes the head and one line per row.
//
// The head and its lines go in one transaction: an order is saved whole or
// not at all, so a failed submission can simply be tried again. Consoles of
// several rooms may number an order at the same moment; the number is the
// head's key, so the second insert of a number meets a duplicate key and the
// order takes the next number instead.
//
// Usable on any thread whose connection the command is bound to; it keeps no
// state between submissions.
class TOrderSubmission {
public:
    // How many order numbers one submission tries before it gives up.
    static constexpr int kMaxNumberAttempts = 100;
    static constexpr int kLastSequence = 9999;

    // save runs plain statements on the transaction connection.
    explicit TOrderSubmission(TAdoCommand& save) : save_(save) {}

    enum class Outcome { Submitted, RoomNotCheckedIn };
    struct Result {
        Outcome outcome;
        QString co;  // the order's number when submitted
    };

    // now is the order's moment: its date numbers the order, and it is the
    // order time of the head. lines must not be empty. Database failures
    // throw EDatabaseError after the transaction was rolled back.
    Result Submit(const QString& room, const QString& orderNote, const QList<TOrderLine>& lines,
                  const QDateTime& now);

    // The statements, exactly as the transaction database receives them.
    static QString RoomCheckText(const QString& room);
    static QString HighestNumberText(const QDate& day);
    static QString HeadText(const QString& co, int idkamar, const QDateTime& jamorder,
                            const QString& catatan);
    static QString LineText(const QString& co, const TOrderLine& line, const QString& orderid);

    static QString OrderNumber(const QDate& day, int sequence);
    // The day's highest sequence as the highest-number query reads it: 0
    // for an empty or non-numeric value.
    static int SequenceValue(const QString& id);

private:
    struct Room {
        int idkamar = 0;
        QString orderid;
    };
    // Empty when the name matches no room or more than one.
    std::optional<Room> CheckRoom(const QString& room);
    int HighestSequence(const QDate& day);
    QString InsertHead(const QDate& day, const Room& room, const QString& orderNote,
                       const QDateTime& now);

    TAdoCommand& save_;
};
