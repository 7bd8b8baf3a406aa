#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

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
    void Open();
    void Close();
    bool Connected() const;
    // Opens with a fresh string from the source when the connection is down.
    void EnsureOpen();
    // Called by a command whose statement failed because the server went away:
    // the connection then reports itself closed and the next connect reopens it.
    void MarkLost();

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
    QString name_;
    QString qtName_;  // unique per instance, so that test programs may make several
    QString connectionString_;
    std::function<QString()> source_;
    bool inTransaction_ = false;
};
