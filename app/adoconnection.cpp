#include "app/adoconnection.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <utility>

#include "app/dberror.h"
#include "app/loopbackguard.h"

namespace {

// Seconds the client waits for a server that does not answer at all.
constexpr int kConnectTimeoutSeconds = 10;

// Seconds a statement waits for a server that stopped answering mid-session
// (a frozen or unplugged host sends no reset). Without a limit the console
// would hang until the kernel gives up on the socket, minutes later; 10 s is
// long enough for the slowest search the venue's database answers and short
// enough that the guest sees an error instead of a frozen screen.
constexpr int kReadWriteTimeoutSeconds = 10;

// The client library's code for a server that went away mid-session.
constexpr int kServerLost = 2013;

// A session check that fails within this time met a session the server ended
// (a restart, an idle time-out): a new one is opened at once. One that took
// longer met a server that does not answer, and a connect now would be another
// whole wait.
constexpr std::chrono::milliseconds kPromptFailure{1000};

// A failed connect is handed on to the next open within this time instead of
// trying again: the connect routine and the statement right behind it are one
// attempt. The open after that tries again, since a refused connect costs
// nothing and a restarted server is to be found as soon as it is up.
constexpr std::chrono::milliseconds kSameAction{1000};

QString ErrorText(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

[[noreturn]] void ThrowError(const QSqlError& error) {
    throw EDatabaseError(ErrorText(error), error.nativeErrorCode().toInt());
}

QHash<QString, QString> ParseConnectionString(const QString& text) {
    QHash<QString, QString> values;
    for (const QString& part : text.split(';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf('=');
        if (eq > 0) {
            values.insert(part.left(eq).trimmed().toLower(), part.mid(eq + 1));
        }
    }
    return values;
}

}  // namespace

TAdoConnection::TAdoConnection(const QString& name) : name_(name) {
    // Test programs make connections on several threads at once.
    static std::atomic<int> serial = 0;
    qtName_ = name_ + QLatin1Char('#') + QString::number(++serial);
    QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), qtName_);
}

TAdoConnection::~TAdoConnection() {
    Close();
    QSqlDatabase::removeDatabase(qtName_);
}

QSqlDatabase TAdoConnection::Database() const {
    return QSqlDatabase::database(qtName_, false);
}

bool TAdoConnection::Connected() const {
    return Database().isOpen();
}

void TAdoConnection::Close() {
    QSqlDatabase db = Database();
    if (db.isOpen()) {
        db.close();
    }
}

void TAdoConnection::MarkLost(const QString& message, int nativeCode,
                              std::chrono::steady_clock::duration waited) {
    Close();
    if (waited >= kPromptFailure) {
        unansweredservers::Remember(
            server_, TDatabaseFailure{message, nativeCode, std::chrono::steady_clock::now()});
    }
}

void TAdoConnection::Fail(const QString& message, int nativeCode,
                          std::chrono::steady_clock::duration waited) {
    Close();
    const TDatabaseFailure failure{message, nativeCode, std::chrono::steady_clock::now()};
    handedOn_ = failure;
    failedString_ = connectionString_;
    if (waited >= kPromptFailure) {
        unansweredservers::Remember(server_, failure);
    }
    throw EDatabaseError(message, nativeCode);
}

std::optional<TDatabaseFailure> TAdoConnection::RecentFailure() {
    std::optional<TDatabaseFailure> handedOn = std::exchange(handedOn_, std::nullopt);
    // Changed settings are tried at once.
    if (handedOn && connectionString_ == failedString_ &&
        std::chrono::steady_clock::now() - handedOn->at < std::min(kSameAction, retryPause_)) {
        return handedOn;
    }
    return unansweredservers::Recent(server_, retryPause_);
}

void TAdoConnection::Open() {
    if (Connected()) {
        return;
    }
    if (inTransaction_) {
        throw EDatabaseError(
            QStringLiteral("%1: the connection was lost during a transaction; nothing of it "
                           "was saved")
                .arg(name_),
            kServerLost);
    }
    const QHash<QString, QString> values = ParseConnectionString(connectionString_);
    QString host = values.value(QStringLiteral("server"));
    int port = 3306;
    const qsizetype colon = host.lastIndexOf(':');
    if (colon > 0) {
        bool ok = false;
        const int parsed = host.mid(colon + 1).toInt(&ok);
        if (ok && parsed > 0 && parsed < 65536) {
            port = parsed;
            host = host.left(colon);
        }
    }
    loopbackguard::CheckHostAllowed(host);
    server_ = host + QLatin1Char(':') + QString::number(port);
    if (const auto failure = RecentFailure()) {
        throw EDatabaseError(failure->message, failure->nativeCode);
    }

    QSqlDatabase db = Database();
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(values.value(QStringLiteral("database")));
    db.setUserName(values.value(QStringLiteral("user")));
    db.setPassword(values.value(QStringLiteral("password")));
    // Option 3 asks for column widths as declared (nothing to do here) and for
    // an update to report the rows it matched, which is CLIENT_FOUND_ROWS.
    QStringList options{QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1").arg(kConnectTimeoutSeconds),
                        QStringLiteral("MYSQL_OPT_READ_TIMEOUT=%1").arg(kReadWriteTimeoutSeconds),
                        QStringLiteral("MYSQL_OPT_WRITE_TIMEOUT=%1").arg(kReadWriteTimeoutSeconds)};
    if (values.value(QStringLiteral("option")).toInt() & 2) {
        options << QStringLiteral("CLIENT_FOUND_ROWS");
    }
    db.setConnectOptions(options.join(';'));
    const auto started = std::chrono::steady_clock::now();
    if (!db.open()) {
        const QSqlError error = db.lastError();
        Fail(ErrorText(error), error.nativeErrorCode().toInt(),
             std::chrono::steady_clock::now() - started);
    }
    // The console quotes texts by doubling single quotes. Without this mode a
    // backslash would escape the closing quote and let a typed text out of its
    // literal.
    QSqlQuery mode(db);
    if (!mode.exec(
            QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')"))) {
        const QSqlError error = mode.lastError();
        Fail(ErrorText(error), error.nativeErrorCode().toInt(),
             std::chrono::steady_clock::now() - started);
    }
    unansweredservers::Forget(server_);
}

bool TAdoConnection::SessionAnswers() {
    const auto started = std::chrono::steady_clock::now();
    QSqlQuery check(Database());
    if (check.exec(QStringLiteral("SELECT 1"))) {
        return true;
    }
    const QSqlError error = check.lastError();
    const auto waited = std::chrono::steady_clock::now() - started;
    if (waited >= kPromptFailure) {
        Fail(ErrorText(error), error.nativeErrorCode().toInt(), waited);
    }
    Close();
    return false;
}

void TAdoConnection::EnsureOpen() {
    if (Connected() && !inTransaction_) {
        // Another connection just waited on this server in vain: checking
        // this session would be the same wait.
        if (const auto failure = unansweredservers::Recent(server_, retryPause_)) {
            Close();
            throw EDatabaseError(failure->message, failure->nativeCode);
        }
    }
    if (Connected() && (inTransaction_ || SessionAnswers())) {
        return;
    }
    if (source_) {
        connectionString_ = source_();
    }
    Open();
}

void TAdoConnection::BeginTrans() {
    if (inTransaction_) {
        throw EDatabaseError(QStringLiteral("%1: a transaction is already open").arg(name_), 0);
    }
    EnsureOpen();
    QSqlDatabase db = Database();
    if (!db.transaction()) {
        ThrowError(db.lastError());
    }
    inTransaction_ = true;
}

void TAdoConnection::CommitTrans() {
    if (!inTransaction_) {
        throw EDatabaseError(QStringLiteral("%1: no transaction to commit").arg(name_), 0);
    }
    EnsureOpen();  // throws when the connection went away: nothing was saved
    QSqlDatabase db = Database();
    if (!db.commit()) {
        ThrowError(db.lastError());
    }
    inTransaction_ = false;
}

void TAdoConnection::RollbackTrans() {
    if (!inTransaction_) {
        return;
    }
    inTransaction_ = false;
    QSqlDatabase db = Database();
    if (db.isOpen() && !db.rollback()) {
        // Ending the session is the server's own rollback.
        db.close();
    }
}
