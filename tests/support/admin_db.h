#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace testsupport {

// An administrator's connection to the test suite's private MariaDB, over its
// Unix socket: for preparing rows and checking what the console wrote, never
// for the console's own statements (those use the console's account over TCP).
class AdminDb {
public:
    explicit AdminDb(const QString& database = QString());
    // The same on another private server's socket.
    AdminDb(const QString& database, const QString& socketPath);
    ~AdminDb();
    AdminDb(const AdminDb&) = delete;
    AdminDb& operator=(const AdminDb&) = delete;

    // Runs statements separated by ";\n"; fails the test on an error.
    void exec(const QString& statements);
    // Rows of a query, each as its column texts ("NULL" for a null).
    QList<QStringList> rows(const QString& query);
    QVariant scalar(const QString& query);

    // Sets the song catalogue aside for a test and fills it with these rows of
    // (idlagu, judul, artis, idgolongan, idgenre, hits, baru, hd, jumlahputar,
    // tanggalmasuk), written as an SQL VALUES list; restoreCatalogue() puts the
    // demo songs back. On a songs-database connection only.
    void replaceCatalogue(const QString& values);
    void restoreCatalogue();

    static QString songsDatabase() { return QStringLiteral("test_lagu"); }
    static QString transaksiDatabase() { return QStringLiteral("test_transaksi"); }

private:
    QString name_;
};

}  // namespace testsupport
