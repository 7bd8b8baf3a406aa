// Transactions on a connection and the scoped guard, against the real server
// with the console's own account: what is committed is seen by others, what
// is not is gone, also when the connection is lost half-way.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/adocommand.h"
#include "app/adotransaction.h"
#include "app/dberror.h"
#include "app/umodule.h"
#include "support/admin_db.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using testsupport::AdminDb;

// Rows of kamar with ids no other test uses.
class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
    void clean() { admin.exec("DELETE FROM kamar WHERE idkamar BETWEEN 7191 AND 7199"); }

    void insert(int idkamar) {
        Adosave.SetText(QStringLiteral("INSERT INTO kamar (idkamar, namakamar, orderid) VALUES "
                                       "(%1, 'TX TEST', 'TX')")
                            .arg(idkamar));
        Adosave.Execute();
    }
    // What another session sees.
    int saved() {
        return admin.scalar("SELECT COUNT(*) FROM kamar WHERE idkamar BETWEEN 7191 AND 7199")
            .toInt();
    }

    testsupport::ProgramFolder folder;
    std::unique_ptr<Tfmodule> module = std::make_unique<Tfmodule>();
    TAdoConnection& connection = module->ADOTransaksi;
    TAdoCommand Adosave{"Adosave", &module->ADOTransaksi, TAdoCommand::Kind::Query};
    AdminDb admin{AdminDb::transaksiDatabase()};
};

TEST_F(TransactionTest, CommittedWorkIsSavedAndEverythingElseIsNot) {
    const struct {
        const char* how;
        std::function<void()> end;  // how the scope is left
        int saved;
    } cases[] = {
        {"commit", [] {}, 2},
        {"leaving without commit", [] {}, 0},
        {"an exception", [] { throw std::runtime_error("half-way"); }, 0},
    };
    for (const auto& c : cases) {
        clean();
        try {
            TAdoTransaction transaction(connection);
            EXPECT_TRUE(connection.InTransaction()) << c.how;
            insert(7191);
            insert(7192);
            EXPECT_EQ(saved(), 0) << c.how << ": nothing is seen before the commit";
            c.end();
            if (c.saved > 0) {
                transaction.Commit();
                EXPECT_TRUE(transaction.Committed());
            }
        } catch (const std::runtime_error&) {
        }
        EXPECT_FALSE(connection.InTransaction()) << c.how;
        EXPECT_EQ(saved(), c.saved) << c.how;
    }
    // Outside a transaction each statement stands on its own again.
    insert(7193);
    EXPECT_EQ(saved(), 1);
}

TEST_F(TransactionTest, BeginOpensAClosedConnection) {
    ASSERT_FALSE(connection.Connected());
    TAdoTransaction transaction(connection);
    EXPECT_TRUE(connection.Connected());
    insert(7191);
    transaction.Commit();
    EXPECT_EQ(saved(), 1);
}

TEST_F(TransactionTest, MisuseIsRefused) {
    EXPECT_THROW(connection.CommitTrans(), EDatabaseError);
    EXPECT_NO_THROW(connection.RollbackTrans());
    TAdoTransaction transaction(connection);
    EXPECT_THROW(connection.BeginTrans(), EDatabaseError);
    EXPECT_TRUE(connection.InTransaction());
}

TEST_F(TransactionTest, AConnectionLostInATransactionIsNotReopenedBehindIt) {
    {
        TAdoTransaction transaction(connection);
        insert(7191);
        TAdoCommand session{"session", &connection, TAdoCommand::Kind::Query};
        session.SetText("SELECT CONNECTION_ID() AS id");
        session.Open();
        admin.exec("KILL CONNECTION " + session.FieldByName("id").AsString());

        // The first statement meets the lost session; the next must not run
        // on a fresh one, where it would be saved without the first.
        EXPECT_THROW(insert(7192), EDatabaseError);
        module->ConnectedTransaksi();
        EXPECT_FALSE(connection.Connected()) << "the connect routine reopened it";
        try {
            insert(7193);
            ADD_FAILURE() << "a statement ran outside the transaction";
        } catch (const EDatabaseError& error) {
            EXPECT_TRUE(QString(error.what()).contains("lost during a transaction"))
                << error.what();
        }
        EXPECT_THROW(transaction.Commit(), EDatabaseError);
    }
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(saved(), 0);
    // Once the transaction is over, the connection opens again as usual.
    insert(7194);
    EXPECT_EQ(saved(), 1);
}

}  // namespace
