// The data access layer and the connect routines against the real server, as
// the console's own account sees it.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/adocommand.h"
#include "app/dberror.h"
#include "app/sqltext.h"
#include "app/umodule.h"
#include "loopback_peer.h"
#include "support/admin_db.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using testsupport::AdminDb;
using testsupport::ProgramFolder;

class DatabaseTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    std::unique_ptr<Tfmodule> module = std::make_unique<Tfmodule>();
    TAdoCommand SpCall{"SpCall", &module->AdoConn, TAdoCommand::Kind::StoredProc};
    TAdoCommand SpCallAuthen{"SpCallAuthen", &module->AdoAuthen, TAdoCommand::Kind::StoredProc};
    TAdoCommand Adosave{"Adosave", &module->ADOTransaksi, TAdoCommand::Kind::Query};
};

TEST_F(DatabaseTest, ConnectRoutinesOpenEachConnectionOnItsOwnDatabase) {
    module->Connected();
    module->ConnectedAuthen();
    module->ConnectedTransaksi();
    ASSERT_TRUE(module->AdoConn.Connected());
    ASSERT_TRUE(module->AdoAuthen.Connected());
    ASSERT_TRUE(module->ADOTransaksi.Connected());
    EXPECT_EQ(module->AdoConn.ConnectionString(), module->SongsConnectionString());

    TAdoCommand which{"which", &module->AdoAuthen, TAdoCommand::Kind::Query};
    which.SetText("SELECT DATABASE() AS db");
    which.Open();
    EXPECT_EQ(which.FieldByName("db").AsString(), "authentification");
    which.SetConnection(&module->ADOTransaksi);
    which.Open();
    EXPECT_EQ(which.FieldByName("db").AsString(), AdminDb::transaksiDatabase());
}

TEST_F(DatabaseTest, ConnectRoutineOnAnOpenConnectionChangesNothing) {
    module->Connected();
    const QString before = module->AdoConn.ConnectionString();
    module->DatabaseLagu = "no_such_database";
    module->Connected();
    EXPECT_TRUE(module->AdoConn.Connected());
    EXPECT_EQ(module->AdoConn.ConnectionString(), before);
}

TEST_F(DatabaseTest, FailedConnectIsSilentAndTheNextStatementCarriesTheServersMessage) {
    module->DatabaseLagu = "no_such_database";
    EXPECT_NO_THROW(module->Connected());
    EXPECT_FALSE(module->AdoConn.Connected());
    SpCall.SetText("ViewKategori;");
    try {
        SpCall.Open();
        FAIL() << "a statement on a connection that cannot open must fail";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(QString(error.what()).indexOf("no_such_database"), -1) << error.what();
    }
}

TEST_F(DatabaseTest, ACommandOpensItsConnectionItselfWithAFreshString) {
    ASSERT_FALSE(module->AdoConn.Connected());
    SpCall.SetText("ViewKategori;");
    SpCall.Open();
    EXPECT_TRUE(module->AdoConn.Connected());
    EXPECT_EQ(SpCall.RecordCount(), 12);
    EXPECT_EQ(SpCall.FieldByName("golongan").AsString(), "INDONESIA");
    EXPECT_EQ(SpCall.FieldByName("idgolongan").AsInteger(), 1);
}

TEST_F(DatabaseTest, ProcedureCallsWalkRowsAndLeaveTheConnectionUsable) {
    SpCall.SetText("CekRoom_id(1)");
    EXPECT_EQ(SpCall.StatementText(), "CALL CekRoom_id(1)");
    SpCall.Open();
    ASSERT_FALSE(SpCall.Eof());
    EXPECT_EQ(SpCall.FieldByName("namaroom").AsString(), "ROOM 01");
    EXPECT_EQ(SpCall.FieldByName("status").AsInteger(), 1);
    EXPECT_TRUE(SpCall.FieldByName("jam").AsDateTime().isValid());
    SpCall.Next();
    EXPECT_TRUE(SpCall.Eof());
    EXPECT_THROW(SpCall.FieldByName("namaroom"), std::runtime_error);

    // A second call on the same connection right after: every result of the
    // first was read.
    SpCall.SetText("ViewKategori;");
    SpCall.Open();
    EXPECT_EQ(SpCall.RecordCount(), 12);
    SpCall.Close();
    EXPECT_FALSE(SpCall.Active());
    EXPECT_TRUE(SpCall.Eof());
}

TEST_F(DatabaseTest, FailedStatementCarriesTheServersText) {
    const struct {
        TAdoCommand::Kind kind;
        QString text;
        QString expected;
    } cases[] = {
        {TAdoCommand::Kind::StoredProc, "NoSuchProcedure(1);", "does not exist"},
        {TAdoCommand::Kind::Query, "select nothing from nowhere", "nowhere"},
        {TAdoCommand::Kind::Query, "select idkamar from kamar where", "SQL syntax"},
    };
    for (const auto& c : cases) {
        TAdoCommand command{"command", &module->ADOTransaksi, c.kind};
        command.SetText(c.text);
        try {
            command.Open();
            ADD_FAILURE() << "no error for " << c.text.toStdString();
        } catch (const EDatabaseError& error) {
            EXPECT_NE(QString(error.what()).indexOf(c.expected), -1) << error.what();
        }
        EXPECT_TRUE(module->ADOTransaksi.Connected()) << "a failed statement is no lost link";
    }
}

TEST_F(DatabaseTest, ExecuteReportsMatchedRowsAsOption3Asks) {
    AdminDb admin(AdminDb::transaksiDatabase());
    admin.exec(
        "DELETE FROM kamar WHERE idkamar = 901;\n"
        "INSERT INTO kamar VALUES (901, 'ROOM FOUND', 'B-901', 1, 1)");
    // Unchanged values still count: the update matched the row.
    Adosave.SetText("UPDATE kamar SET jual=1 WHERE idkamar=901");
    EXPECT_EQ(Adosave.Execute(), 1);
    admin.exec("DELETE FROM kamar WHERE idkamar = 901");
}

// A server restart or an idle time-out ends the kept session on the server's
// side; the client learns it only when it next speaks. The first statement
// after that must still go through.
TEST_F(DatabaseTest, AKeptSessionThatTheServerEndedIsOpenedAgainBeforeTheNextStatement) {
    module->ConnectedTransaksi();
    Adosave.SetText("SELECT CONNECTION_ID() AS id");
    Adosave.Open();
    const qint64 sessionId = Adosave.FieldByName("id").AsInteger();
    AdminDb admin;
    admin.exec(QStringLiteral("KILL CONNECTION %1").arg(sessionId));

    module->ConnectedTransaksi();
    Adosave.Open();
    EXPECT_NE(Adosave.FieldByName("id").AsInteger(), sessionId);
    EXPECT_TRUE(module->ADOTransaksi.Connected());
}

// A server that does not let the console in costs one attempt per guest
// action, not one in the connect routine and another in the statement right
// behind it. The next action tries again: a refused connect costs nothing,
// and a restarted server is found as soon as it is up.
TEST_F(DatabaseTest, AServerThatDidNotLetUsInIsTriedOncePerAction) {
    TLoopbackPeer closesAtOnce([](TIMCPeer&) {});
    const QString testServer = module->ServerLaguHost;
    module->ServerLaguHost = QStringLiteral("127.0.0.1:%1").arg(closesAtOnce.Port());
    SpCall.SetText("ViewKategori;");

    for (int action = 1; action <= 3; ++action) {
        SCOPED_TRACE(action);
        module->Connected();
        try {
            SpCall.Open();
            ADD_FAILURE() << "nobody answered the connect";
        } catch (const EDatabaseError& error) {
            EXPECT_FALSE(QString(error.what()).isEmpty());
        }
        EXPECT_EQ(closesAtOnce.Connections(), action) << "the statement connected again";
    }

    // Settings that name another server are tried at once.
    module->ServerLaguHost = testServer;
    module->Connected();
    SpCall.Open();
    EXPECT_EQ(SpCall.RecordCount(), 12);
}

// A statement that waited on the server and then lost it met a server that
// stopped answering: no connection to that server waits on it again at once,
// neither with a kept session nor with a new one.
TEST_F(DatabaseTest, AServerLostAfterAWaitRestsForEveryConnectionToIt) {
    module->ConnectedTransaksi();
    module->Connected();
    ASSERT_TRUE(module->AdoConn.Connected());
    Adosave.SetText("SELECT CONNECTION_ID() AS id");
    Adosave.Open();
    const QString sessionId = Adosave.FieldByName("id").AsString();
    std::thread killer([sessionId] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        AdminDb admin;
        admin.exec("KILL CONNECTION " + sessionId);
    });
    Adosave.SetText("SELECT SLEEP(30) AS slept");
    QString lostMessage;
    try {
        Adosave.Open();
        ADD_FAILURE() << "the statement's session was ended";
    } catch (const EDatabaseError& error) {
        lostMessage = error.what();
    }
    killer.join();
    EXPECT_FALSE(module->ADOTransaksi.Connected());

    TAdoCommand songs{"songs", &module->AdoConn, TAdoCommand::Kind::Query};
    TAdoCommand authen{"authen", &module->AdoAuthen, TAdoCommand::Kind::Query};
    const struct {
        const char* what;
        TAdoCommand* command;
    } cases[] = {{"the same connection", &Adosave},
                 {"a kept session on the same server", &songs},
                 {"a new connection to the same server", &authen}};
    for (const auto& c : cases) {
        c.command->SetText("SELECT 1 AS one");
        try {
            c.command->Open();
            ADD_FAILURE() << c.what << ": waited on the lost server again at once";
        } catch (const EDatabaseError& error) {
            EXPECT_EQ(QString(error.what()), lostMessage) << c.what;
        }
        EXPECT_FALSE(c.command->Connection()->Connected()) << c.what;
    }

    for (const auto& c : cases) {
        c.command->Connection()->SetRetryPause(std::chrono::milliseconds(0));
        c.command->Open();
        EXPECT_EQ(c.command->FieldByName("one").AsInteger(), 1) << c.what;
    }
}

// A check-in code or a note that ends its literal early must stay a text.
TEST_F(DatabaseTest, BackslashesAndQuotesStayInsideTheirLiteral) {
    module->ConnectedAuthen();
    const QString attack = R"(\' OR 1=1 -- )";
    SpCallAuthen.SetText(sqltext::CallText("remote_room", {attack}));
    SpCallAuthen.Open();
    EXPECT_EQ(SpCallAuthen.RecordCount(), 0) << "the code must find no room";

    SpCallAuthen.SetText(sqltext::CallText("remote_room", {QString("1111")}));
    SpCallAuthen.Open();
    EXPECT_EQ(SpCallAuthen.RecordCount(), 1) << "a real code still finds its room";

    const QString note = "C:\\temp\\ it''s \\\\' OR '1'='1 \\\nline two\\";
    AdminDb admin(AdminDb::transaksiDatabase());
    admin.exec("DELETE FROM torder_room WHERE co = 'RO000000TEST'");
    Adosave.SetText("INSERT INTO torder_room (co, idroom, jamorder, catatan, status) VALUES (" +
                    sqltext::QuotedStr("RO000000TEST") + ", 1," +
                    sqltext::QuotedStr("2026-12-10 10:00:00") + ", " + sqltext::QuotedStr(note) +
                    ", 1)");
    Adosave.Execute();
    EXPECT_EQ(admin.scalar("SELECT catatan FROM torder_room WHERE co = 'RO000000TEST'").toString(),
              note);
    EXPECT_EQ(admin.scalar("SELECT COUNT(*) FROM torder_room WHERE co = 'RO000000TEST'").toInt(),
              1);
    admin.exec("DELETE FROM torder_room WHERE co = 'RO000000TEST'");
}

TEST_F(DatabaseTest, TheConsolesAccountHasOnlyWhatTheConsoleNeeds) {
    const struct {
        TAdoConnection* connection;
        QString statement;
    } denied[] = {
        {&module->AdoConn, "DELETE FROM lagu"},
        {&module->AdoConn, "UPDATE room SET status = 1"},
        {&module->AdoAuthen, "SELECT * FROM remote"},
        {&module->ADOTransaksi, "DELETE FROM menu"},
        {&module->ADOTransaksi, "DROP TABLE kamar"},
    };
    for (const auto& c : denied) {
        TAdoCommand command{"command", c.connection, TAdoCommand::Kind::Query};
        command.SetText(c.statement);
        try {
            command.Execute();
            ADD_FAILURE() << "allowed: " << c.statement.toStdString();
        } catch (const EDatabaseError& error) {
            EXPECT_NE(QString(error.what()).indexOf("denied"), -1) << error.what();
        }
    }
    TAdoCommand allowed{"allowed", &module->AdoConn, TAdoCommand::Kind::Query};
    allowed.SetText("select ukey from playlist where namaroom = 'NOBODY'");
    EXPECT_NO_THROW(allowed.Open());
}

TEST(DatabaseGuardTest, WithoutSettingsTheDefaultVenueHostIsNeverContacted) {
    ProgramFolder folder(ProgramFolder::Settings::None);
    Tfmodule module;
    module.Connected();
    EXPECT_FALSE(module.AdoConn.Connected());
    TAdoCommand command{"SpCall", &module.AdoConn, TAdoCommand::Kind::StoredProc};
    command.SetText("ViewKategori;");
    try {
        command.Open();
        FAIL() << "the default host must be refused";
    } catch (const std::exception& error) {
        EXPECT_NE(QString(error.what()).indexOf("refusing to contact"), -1) << error.what();
    }
}

}  // namespace
