#pragma once

#include <QObject>
#include <QString>

#include "app/adoconnection.h"

// The settings holder: what "setting.ini" says, the built-in database account,
// and the three database connections with their connect routines. It lives for
// the whole run and opens nothing until a routine asks.
class Tfmodule : public QObject {
    Q_OBJECT

public:
    explicit Tfmodule(QObject* parent = nullptr);

    // Reads the settings; run once, by the constructor.
    void DataModuleCreate();

    // Each makes sure its connection is open. A failure is swallowed: the
    // connection stays closed and the caller's next statement fails instead.
    void Connected();
    void ConnectedAuthen();
    void ConnectedTransaksi();

    // The connection strings, built afresh from the fields.
    QString SongsConnectionString() const;
    QString AuthenConnectionString() const;
    QString TransaksiConnectionString() const;

    TAdoConnection AdoConn{QStringLiteral("AdoConn")};
    TAdoConnection AdoAuthen{QStringLiteral("AdoAuthen")};
    TAdoConnection ADOTransaksi{QStringLiteral("ADOTransaksi")};

    QString PullPath;
    QString ServerLaguHost;
    QString ServerLaguBackup;
    QString DatabaseLagu;
    QString ServerTransaksi;
    QString DatabaseTransaksi;
    QString UserDBLagu;
    QString PassDBLagu;
    QString UserTransaksi;
    QString PassTransaksi;
    qint32 iVolMas = 0;
    qint32 iVolAwal = 0;
    qint32 intervalpromo = 0;
    qint32 monitor = 0;

private:
    static void Connect(TAdoConnection& connection, const QString& connectionString);
};

extern Tfmodule* fmodule;
