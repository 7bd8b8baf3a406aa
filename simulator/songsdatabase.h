#pragma once

#include <QString>

// Where the songs database is, as the console's "setting.ini" names it: the
// host of [PlayerKaraoke] ServerLaguHost (with an optional ":port") and the
// database of DatabaseLagu. Section and key names compare without regard to
// case, as the console reads them.
struct TSongsDatabase {
    QString host;
    int port = 3306;
    QString database;

    QString Describe() const;
};

// Throws std::runtime_error when the file names no host or database, or names
// a host that loopback-only mode (LYRABOX_LOOPBACK_ONLY=1) forbids.
TSongsDatabase ReadSongsDatabase(const QString& settingsPath);

// The value of key in section of an INI settings file, section and key
// compared without regard to case; empty when absent.
QString ReadSettingValue(const QString& settingsPath, const QString& section, const QString& key);
