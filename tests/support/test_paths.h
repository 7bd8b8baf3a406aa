#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The settings file that points every host at the test suite's private MariaDB.
QString testSettingIni();
QString sourceDir();
QString binaryDir();

// A program folder of its own for one test: a fresh temporary directory that is
// the working directory while the object lives, holding a copy of the test
// settings file unless told otherwise.
class ProgramFolder {
public:
    enum class Settings { TestServer, None };
    explicit ProgramFolder(Settings settings = Settings::TestServer);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    QString path() const { return dir_.path(); }
    // Writes a file relative to the folder, creating its directories.
    void writeFile(const QString& relativePath, const QByteArray& content) const;
    // Copies the built program folder's "tools" tree (skin, pictures) here.
    void copyTools() const;

private:
    QTemporaryDir dir_;
    QString previousDir_;
};

}  // namespace testsupport
