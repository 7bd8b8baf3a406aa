#include "support/test_paths.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace testsupport {

QString testSettingIni() {
    return QStringLiteral(LYRABOX_TEST_SETTING_INI);
}
QString sourceDir() {
    return QStringLiteral(LYRABOX_SOURCE_DIR);
}
QString binaryDir() {
    return QStringLiteral(LYRABOX_BINARY_DIR);
}

ProgramFolder::ProgramFolder(Settings settings) : previousDir_(QDir::currentPath()) {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary program folder");
    }
    if (settings == Settings::TestServer) {
        QFile::copy(testSettingIni(), dir_.filePath("setting.ini"));
    }
    QDir::setCurrent(dir_.path());
}

ProgramFolder::~ProgramFolder() {
    QDir::setCurrent(previousDir_);
}

void ProgramFolder::writeFile(const QString& relativePath, const QByteArray& content) const {
    const QString full = dir_.filePath(relativePath);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0) {
        throw std::runtime_error("cannot write " + full.toStdString());
    }
}

void ProgramFolder::copyTools() const {
    const QDir source(binaryDir() + "/run/tools");
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = dir_.filePath("tools/" + source.relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

}  // namespace testsupport
