#pragma once

#include <QSqlDatabase>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "app/unansweredservers.h"

// One database connection, opened from an ODBC-style connection string such as
// "Driver={...};Server=host;Database=name;User=...;Password=...;Option=3;".
// It stands in for the ODBC driver: the string's Server, Database, User,
// Password and Option keys are what it reads; a Server written host:port picks
// a port other than MariaDB's default.
class TAdoConnection {
public:
    explicit TAdoConnection(const QString& name);
    ~TAdoConnection();
    TAdoConnection(const TAdoConnection&) = delete;
    TAdoConnection& operator=(const TAdoConnection&) = delete;

    QString Name() const { return name_; }
    QString ConnectionString() const { return connectionString_; }
    void SetConnectionString(const QString& text) { connectionString_ = text; }
    // No one answers a login dialog on a kiosk; kept so the connect routine
    // reads as the venue's administrators know it.
    bool LoginPrompt = false;

    // Where a command object gets a fresh connection string when it finds the
    // connection down and opens it itself.
    void SetConnectionStringSource(std::function<QString()> source) { source_ = std::move(source); }

    // Throws EDatabaseError (or std::runtime_error for a host that loopback-only
    // mode forbids); the connection stays closed then. Also throws while a
    // transaction is open on a connection that went away (see BeginTrans).
    //
    // A failed open is not tried again by the open right behind it (the
    // connect routine's and its statement's, within a second): that one
    // throws the same failure at once, and the next tries again.
    // A server that let a connection wait and then failed it (it does not
    // answer) rests for RetryPause(), for every connection to it: each
    // attempt on it costs a whole connect or read limit (10 s), and the pause
    // makes that one wait per guest action, not one per keystroke, per
    // statement of the same action, or per connection.
    void Open();
    void Close();
    bool Connected() const;
    // Makes the connection usable for a statement. A kept session (outside a
    // transaction) is checked first: one that the server ended (a restart, an
    // idle time-out) is opened again at once; one on a server that does not
    // answer fails as a connect would. A closed connection opens with a fresh
    // string from the source.
    void EnsureOpen();
    // Called by a command whose statement failed because the server went away
    // after `waited`: the connection then reports itself closed. A session
    // that the server ended at once is opened again by the next statement; a
    // server that let the statement wait is not tried again for RetryPause().
    void MarkLost(const QString& message, int nativeCode,
                  std::chrono::steady_clock::duration waited);

    std::chrono::milliseconds RetryPause() const { return retryPause_; }
    void SetRetryPause(std::chrono::milliseconds pause) { retryPause_ = pause; }

    // One transaction at a time on this connection (the server has no nested
    // ones). BeginTrans opens a closed connection first. While a transaction is
    // open, a connection that went away is not reopened behind the caller's
    // back: the server dropped the transaction's work with the session, so the
    // next statement fails (EDatabaseError) instead of running on its own.
    // CommitTrans throws EDatabaseError when the server refuses, and the
    // transaction then still needs RollbackTrans. RollbackTrans never throws:
    // when the server cannot be told, the connection is closed, which discards
    // the work just the same. TAdoTransaction (adotransaction.h) pairs them.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    QSqlDatabase Database() const;

private:
    // Closes; remembers the failure for this connection, and for the server
    // when it came after a wait; throws it.
    [[noreturn]] void Fail(const QString& message, int nativeCode,
                           std::chrono::steady_clock::duration waited);
    // The failure the next open throws instead of trying: one handed on by
    // the open just before it (taken once), or the server's own.
    std::optional<TDatabaseFailure> RecentFailure();
    bool SessionAnswers();

    QString name_;
    QString qtName_;  // unique per instance, so that test programs may make several
    QString connectionString_;
    std::function<QString()> source_;
    bool inTransaction_ = false;
    std::chrono::milliseconds retryPause_{5000};
    QString server_;  // "host:port" of the last open
    std::optional<TDatabaseFailure> handedOn_;
    QString failedString_;  // the connection string handedOn_ met
};
