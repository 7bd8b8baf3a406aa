#include "support/admin_db.h"

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

namespace testsupport {

AdminDb::AdminDb(const QString& database)
    : AdminDb(database, QStringLiteral(LYRABOX_TEST_DB_SOCKET)) {}

AdminDb::AdminDb(const QString& database, const QString& socketPath) {
    static int serial = 0;
    name_ = QStringLiteral("admin#%1").arg(++serial);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name_);
    db.setUserName(QStringLiteral("root"));
    db.setDatabaseName(database);
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socketPath);
    if (!db.open()) {
        throw std::runtime_error("admin connection failed: " + db.lastError().text().toStdString());
    }
    QSqlQuery(db).exec(
        QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')"));
}

AdminDb::~AdminDb() {
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
}

void AdminDb::exec(const QString& statements) {
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    for (const QString& statement : statements.split(QStringLiteral(";\n"), Qt::SkipEmptyParts)) {
        if (statement.trimmed().isEmpty()) {
            continue;
        }
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            ADD_FAILURE() << "admin statement failed: " << statement.toStdString() << ": "
                          << query.lastError().text().toStdString();
        }
    }
}

QList<QStringList> AdminDb::rows(const QString& queryText) {
    QSqlQuery query(QSqlDatabase::database(name_, false));
    QList<QStringList> result;
    if (!query.exec(queryText)) {
        ADD_FAILURE() << "admin query failed: " << queryText.toStdString() << ": "
                      << query.lastError().text().toStdString();
        return result;
    }
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i) {
            row << (query.value(i).isNull() ? QStringLiteral("NULL") : query.value(i).toString());
        }
        result << row;
    }
    return result;
}

QVariant AdminDb::scalar(const QString& queryText) {
    QSqlQuery query(QSqlDatabase::database(name_, false));
    if (!query.exec(queryText) || !query.next()) {
        ADD_FAILURE() << "admin scalar failed: " << queryText.toStdString() << ": "
                      << query.lastError().text().toStdString();
        return {};
    }
    return query.value(0);
}

void AdminDb::replaceCatalogue(const QString& values) {
    exec(QStringLiteral("CREATE TEMPORARY TABLE saved_lagu AS SELECT * FROM lagu;\n"
                        "DELETE FROM lagu;\n"
                        "INSERT INTO lagu (idlagu, judul, artis, idgolongan, idgenre, hits, baru, "
                        "hd, jumlahputar, tanggalmasuk) VALUES ") +
         values);
}

void AdminDb::restoreCatalogue() {
    exec(
        QStringLiteral("DELETE FROM lagu;\n"
                       "INSERT INTO lagu SELECT * FROM saved_lagu;\n"
                       "DROP TEMPORARY TABLE saved_lagu"));
}

}  // namespace testsupport
