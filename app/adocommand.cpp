#include "app/adocommand.h"

#include <QSqlError>
#include <QSqlQuery>
#include <chrono>
#include <stdexcept>

#include "app/adoconnection.h"
#include "app/dberror.h"

namespace {

// Client errors that mean the server is gone: the connection must then report
// itself closed, or it would fail every statement until the program restarts.
bool IsConnectionLost(int nativeCode) {
    constexpr int kServerGone = 2006;
    constexpr int kServerLost = 2013;
    constexpr int kConnectionError = 2002;
    constexpr int kConnHostError = 2003;
    return nativeCode == kServerGone || nativeCode == kServerLost ||
           nativeCode == kConnectionError || nativeCode == kConnHostError;
}

[[noreturn]] void ThrowQueryError(const QSqlQuery& query, TAdoConnection& connection,
                                  std::chrono::steady_clock::time_point started) {
    const QSqlError error = query.lastError();
    const int code = error.nativeErrorCode().toInt();
    const QString message = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (IsConnectionLost(code)) {
        connection.MarkLost(message, code, std::chrono::steady_clock::now() - started);
    }
    throw EDatabaseError(message, code);
}

}  // namespace

qint32 TField::AsInteger() const {
    if (value_.isNull()) {
        return 0;
    }
    bool ok = false;
    const qint32 number = value_.toInt(&ok);
    if (!ok) {
        const double real = value_.toDouble(&ok);
        if (ok) {
            return static_cast<qint32>(real);
        }
        throw std::runtime_error(QStringLiteral("'%1' is not a valid integer value")
                                     .arg(value_.toString())
                                     .toStdString());
    }
    return number;
}

double TField::AsFloat() const {
    return value_.isNull() ? 0.0 : value_.toDouble();
}

QString TField::AsString() const {
    return value_.isNull() ? QString() : value_.toString();
}

QDateTime TField::AsDateTime() const {
    if (value_.isNull()) {
        return {};
    }
    return value_.toDateTime();
}

TAdoCommand::TAdoCommand(QString name, TAdoConnection* connection, Kind kind)
    : name_(std::move(name)), connection_(connection), kind_(kind) {}

QString TAdoCommand::StatementText() const {
    return kind_ == Kind::StoredProc ? QStringLiteral("CALL ") + text_ : text_;
}

QSqlQuery TAdoCommand::Run() {
    Close();
    connection_->EnsureOpen();
    QSqlQuery query(connection_->Database());
    query.setForwardOnly(true);
    sentAt_ = std::chrono::steady_clock::now();
    if (!query.exec(StatementText())) {
        ThrowQueryError(query, *connection_, sentAt_);
    }
    return query;
}

void TAdoCommand::Open() {
    QSqlQuery query = Run();
    // A procedure's result comes with a status result behind it; every result
    // must be read before the connection takes the next statement.
    bool first = true;
    do {
        if (query.isSelect() && first) {
            while (query.next()) {
                rows_.push_back(query.record());
            }
            first = false;
        }
    } while (query.nextResult());
    if (query.lastError().isValid()) {
        rows_.clear();
        ThrowQueryError(query, *connection_, sentAt_);
    }
    active_ = true;
    current_ = 0;
}

qint64 TAdoCommand::Execute() {
    QSqlQuery query = Run();
    const qint64 affected = query.numRowsAffected();
    while (query.nextResult()) {
    }
    if (query.lastError().isValid()) {
        ThrowQueryError(query, *connection_, sentAt_);
    }
    return affected;
}

void TAdoCommand::Close() {
    active_ = false;
    rows_.clear();
    current_ = 0;
}

void TAdoCommand::Next() {
    if (current_ < rows_.size()) {
        ++current_;
    }
}

TField TAdoCommand::FieldByName(const QString& column) const {
    if (Eof()) {
        throw std::runtime_error(QStringLiteral("%1: no current record").arg(name_).toStdString());
    }
    const QSqlRecord& row = rows_.at(current_);
    const int index = row.indexOf(column);
    if (index < 0) {
        throw std::runtime_error(
            QStringLiteral("%1: Field '%2' not found").arg(name_, column).toStdString());
    }
    return TField(row.value(index));
}
