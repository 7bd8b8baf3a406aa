#include "programfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace guestdriver {

namespace {

void Copy(const QString& from, const QString& to) {
    QDir().mkpath(QFileInfo(to).path());
    if (!QFile::copy(from, to)) {
        throw std::runtime_error("cannot copy " + from.toStdString() + " to " + to.toStdString());
    }
}

}  // namespace

void LayOutProgramFolder(const QString& folder, const QString& settingIni) {
    const QString tools = QStringLiteral(LYRABOX_RUN_TOOLS);
    Copy(settingIni, folder + QStringLiteral("/setting.ini"));
    QDirIterator files(tools, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        Copy(source, folder + QStringLiteral("/tools") + source.mid(tools.size()));
    }
    if (!QDir(folder).mkpath(QStringLiteral("log"))) {
        throw std::runtime_error("cannot make " + folder.toStdString() + "/log");
    }
}

}  // namespace guestdriver
