#pragma once

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>
#include <chrono>

class TAdoConnection;

// The value of one column of the current row, read the way the console reads
// its columns: a NULL reads as 0, the empty text or the zero date-time.
class TField {
public:
    explicit TField(QVariant value) : value_(std::move(value)) {}
    bool IsNull() const { return value_.isNull(); }
    qint32 AsInteger() const;
    double AsFloat() const;
    QString AsString() const;
    QDateTime AsDateTime() const;
    QVariant Value() const { return value_; }

private:
    QVariant value_;
};

// A command object: a statement text bound to one connection, executed, or
// opened and walked row by row. A stored-procedure command sends "CALL " + text;
// a query command sends its text as it stands. Failures throw EDatabaseError
// carrying the server's message.
class TAdoCommand {
public:
    enum class Kind { StoredProc, Query };

    TAdoCommand(QString name, TAdoConnection* connection, Kind kind);

    QString Name() const { return name_; }
    TAdoConnection* Connection() const { return connection_; }
    void SetConnection(TAdoConnection* connection) { connection_ = connection; }
    QString Text() const { return text_; }
    void SetText(const QString& text) { text_ = text; }
    // The statement exactly as it goes to the server.
    QString StatementText() const;

    // Runs the statement and keeps its rows; the current row is the first.
    void Open();
    // Runs the statement for its effect; returns the rows it matched.
    qint64 Execute();
    // Drops the rows; a closed command can be given a new text.
    void Close();
    bool Active() const { return active_; }

    qsizetype RecordCount() const { return rows_.size(); }
    bool Eof() const { return !active_ || current_ >= rows_.size(); }
    void First() { current_ = 0; }
    void Next();
    // The named column of the current row; throws when there is no current row
    // or no such column.
    TField FieldByName(const QString& column) const;

private:
    // Closes, opens the connection when it is down and sends the statement.
    QSqlQuery Run();

    QString name_;
    TAdoConnection* connection_;
    Kind kind_;
    QString text_;
    bool active_ = false;
    QVector<QSqlRecord> rows_;
    qsizetype current_ = 0;
    // When the statement went to the server: a server lost after a long wait
    // is not tried again at once.
    std::chrono::steady_clock::time_point sentAt_;
};
