#include "app/umodule.h"

#include <gtest/gtest.h>

#include <QDir>

#include "app/buildconfig.h"
#include "support/journal_capture.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using testsupport::ProgramFolder;

const QString kDriver = "Driver={MySQL ODBC 5.1 Driver};Server=";

TEST(TfmoduleTest, ReadsEverySettingAndBuildsTheThreeConnectionStrings) {
    ProgramFolder folder(ProgramFolder::Settings::None);
    folder.writeFile("setting.ini",
                     "[PlayerKaraoke]\n"
                     "ServerLaguHost=10.20.0.5\n"
                     "ServerLaguBackup=10.20.0.6\n"
                     "DatabaseLagu=lagu_venue\n"
                     "VolMaster=80\n"
                     "VolAwal=$20\n"
                     "MonitorPerintah=1\n"
                     "IntervalPromo=0x10\n"
                     "[Transaksi]\n"
                     "ServerTransaksi=10.20.0.9\n"
                     "DatabaseTransaksi=pos\n");
    const Tfmodule module;
    EXPECT_EQ(module.PullPath, QDir::currentPath() + "/");
    EXPECT_EQ(module.ServerLaguHost, "10.20.0.5");
    EXPECT_EQ(module.ServerLaguBackup, "10.20.0.6");
    EXPECT_EQ(module.DatabaseLagu, "lagu_venue");
    EXPECT_EQ(module.iVolMas, 80);
    EXPECT_EQ(module.iVolAwal, 32);
    EXPECT_EQ(module.monitor, 1);
    EXPECT_EQ(module.intervalpromo, 16);
    EXPECT_EQ(module.ServerTransaksi, "10.20.0.9");
    EXPECT_EQ(module.DatabaseTransaksi, "pos");

    const QString user = buildconfig::kDatabaseUser;
    const QString password = buildconfig::kDatabasePassword;
    EXPECT_EQ(module.SongsConnectionString(), kDriver + "10.20.0.5;Database=lagu_venue;User=" +
                                                  user + ";Password=" + password + ";Option=3;");
    EXPECT_EQ(module.AuthenConnectionString(),
              kDriver + "10.20.0.5;Database=authentification;User=" + user +
                  ";Password=" + password + ";Option=3;");
    EXPECT_EQ(module.TransaksiConnectionString(), kDriver + "10.20.0.9;Database=pos;User=" + user +
                                                      ";Password=" + password + ";Option=3;");
}

TEST(TfmoduleTest, TheBuiltInAccountFillsAllFourAccountFields) {
    ProgramFolder folder(ProgramFolder::Settings::None);
    const Tfmodule module;
    EXPECT_EQ(module.UserDBLagu.size(), 16);
    EXPECT_EQ(module.PassDBLagu.size(), 37);
    EXPECT_EQ(module.UserTransaksi, module.UserDBLagu);
    EXPECT_EQ(module.PassTransaksi, module.PassDBLagu);
}

TEST(TfmoduleTest, WithoutSettingsFileEveryKeyTakesItsDefault) {
    ProgramFolder folder(ProgramFolder::Settings::None);
    const Tfmodule module;
    const QString host = buildconfig::kDefaultHost;
    EXPECT_EQ(module.ServerLaguHost, host);
    EXPECT_EQ(module.ServerLaguBackup, host);
    EXPECT_EQ(module.ServerTransaksi, host);
    EXPECT_TRUE(module.DatabaseLagu.isEmpty());
    EXPECT_TRUE(module.DatabaseTransaksi.isEmpty());
    EXPECT_EQ(module.monitor, 0);
    EXPECT_EQ(module.iVolMas, 0);
    EXPECT_TRUE(module.SongsConnectionString().contains(";Database=;"));
}

TEST(TfmoduleTest, NonNumericIntegersReadAsZero) {
    const struct {
        const char* value;
        int monitor;
    } cases[] = {{"1", 1}, {"0x1", 1}, {"$1", 1}, {"yes", 0}, {"1st", 0}, {"", 0}, {"2", 2}};
    for (const auto& c : cases) {
        ProgramFolder folder(ProgramFolder::Settings::None);
        folder.writeFile("setting.ini",
                         QByteArray("[PlayerKaraoke]\nMonitorPerintah=") + c.value + "\n");
        EXPECT_EQ(Tfmodule().monitor, c.monitor) << c.value;
    }
}

TEST(TfmoduleTest, SettingsComeFromTheWorkingDirectoryNotTheProgramsFolder) {
    ProgramFolder elsewhere(ProgramFolder::Settings::None);
    elsewhere.writeFile("setting.ini", "[playerkaraoke]\ndatabaselagu=from_here\n");
    const Tfmodule module;
    EXPECT_EQ(module.DatabaseLagu, "from_here");
    EXPECT_EQ(module.PullPath, elsewhere.path() + "/");
}

// A venue that writes "; comment" after a value keeps the comment in the value
// and reaches no server: the journal must say which setting is wrong.
TEST(TfmoduleTest, AHostOrDatabaseNameWithABlankOrASemicolonIsReportedToTheJournal) {
    const struct {
        const char* line;  // in its section
        const char* section;
        const char* reported;  // the key the warning names, or nullptr for none
    } cases[] = {
        {"ServerLaguHost=10.20.0.5        ; songs and authentication server", "PlayerKaraoke",
         "ServerLaguHost"},
        {"ServerLaguBackup=10.20.0.6;backup", "PlayerKaraoke", "ServerLaguBackup"},
        {"DatabaseLagu=lagu               ; songs database name", "PlayerKaraoke", "DatabaseLagu"},
        {"ServerTransaksi=10.20.0.5 10.20.0.6", "Transaksi", "ServerTransaksi"},
        {"DatabaseTransaksi=trans\taksi", "Transaksi", "DatabaseTransaksi"},
        {"ServerLaguHost=10.20.0.5:3307", "PlayerKaraoke", nullptr},
        {"DatabaseTransaksi=transaksi", "Transaksi", nullptr},
        {"MonitorPerintah=0 ; not a name", "PlayerKaraoke", nullptr},
    };
    for (const auto& c : cases) {
        ProgramFolder folder(ProgramFolder::Settings::None);
        folder.writeFile("setting.ini", QByteArray("[") + c.section + "]\n" + c.line + "\n");
        testsupport::JournalCapture journal;
        const Tfmodule module;
        const QStringList warnings = journal.warnings().filter("setting.ini");
        if (c.reported == nullptr) {
            EXPECT_TRUE(warnings.isEmpty()) << c.line << ": " << warnings.join('|').toStdString();
            continue;
        }
        ASSERT_EQ(warnings.size(), 1) << c.line;
        EXPECT_TRUE(warnings[0].contains(QStringLiteral("[%1] %2=").arg(c.section, c.reported)))
            << warnings[0].toStdString();
        EXPECT_TRUE(warnings[0].contains("blank or a \";\"")) << warnings[0].toStdString();
    }
}

TEST(TfmoduleTest, NothingIsOpenedAtCreation) {
    ProgramFolder folder;
    const Tfmodule module;
    EXPECT_FALSE(module.AdoConn.Connected());
    EXPECT_FALSE(module.AdoAuthen.Connected());
    EXPECT_FALSE(module.ADOTransaksi.Connected());
    EXPECT_TRUE(module.AdoConn.ConnectionString().isEmpty());
}

}  // namespace
