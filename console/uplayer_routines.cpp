// Routines that several concerns of the console share, and the diagnostic
// buttons.
#include <QSignalBlocker>
#include <chrono>
#include <random>
#include <stdexcept>

#include "app/buildconfig.h"
#include "console/uplayer.h"

namespace {

QString RandomText(int n, const QString& alphabet) {
    // Seeded afresh on every call, from the high-resolution clock.
    std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    QString text;
    while (text.size() < n) {
        text += alphabet.at(pick(generator));
    }
    return text;
}

}  // namespace

void Tfplayer::ParseDelimited(QStringList& list, const QString& value, const QString& delimiter) {
    Guarded(QStringLiteral("Parse Delimiter "), [&] {
        if (delimiter.isEmpty()) {
            throw std::invalid_argument("the delimiter is empty");
        }
        list.clear();
        QString rest = value + delimiter;
        while (!rest.isEmpty()) {
            const qsizetype at = rest.indexOf(delimiter);
            list << rest.left(at);
            rest.remove(0, at + delimiter.size());
        }
    });
}

void Tfplayer::ParseDelimited(QListWidget* list, const QString& value, const QString& delimiter) {
    QStringList fields;
    ParseDelimited(fields, value, delimiter);
    const QSignalBlocker updating(list);
    list->clear();
    list->addItems(fields);
}

void Tfplayer::FrezeON() {
    Guarded(QStringLiteral("Freze ON "),
            [this] { pnlStanby->setVisible(Sys_Status->currentIndex() == 0); });
}

Tfplayer::VersionNumbers Tfplayer::GetVersionNumbers() {
    return {static_cast<quint16>(buildconfig::kVersion[0]),
            static_cast<quint16>(buildconfig::kVersion[1]),
            static_cast<quint16>(buildconfig::kVersion[2]),
            static_cast<quint16>(buildconfig::kVersion[3])};
}

QString Tfplayer::GetVersionText() {
    const VersionNumbers v = GetVersionNumbers();
    return QStringLiteral("%1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.release).arg(v.build);
}

bool Tfplayer::IsInternetConnected() {
    return platform_.IsInternetConnected();
}

QString Tfplayer::TruncateWithEllipsis(const QString& text, int n) {
    if (text.size() <= n) {
        return text;
    }
    return text.left(n - 1) + QChar(0x2026);
}

QString Tfplayer::RandomCode(int n) {
    return RandomText(n, QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890"));
}

QString Tfplayer::RandomLetters(int n) {
    return RandomText(n, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
}

void Tfplayer::getVersionClick() {
    Unguarded([this] { platform_.ShowMessage(GetVersionText()); });
}
