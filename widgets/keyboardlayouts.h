#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One key of a touch keyboard.
struct TouchKey {
    enum class Action { Character, Backspace, Enter, Space };

    QString caption;
    Action action = Action::Character;
    QString text{};              // what a character key types
    QStringList alternatives{};  // accented variants offered on a long press
    double width = 1.0;          // in widths of an ordinary key
};

using TouchKeyRow = QList<TouchKey>;

enum class KeyboardLayout {
    Qwerty,            // Q..P Back / A..L Enter / Z..M Space
    QwertyWithDigits,  // the same under a row of digits 1..0
    // For names, e-mail addresses and telephone numbers: digits 1..0 with
    // "-" and "_", the three letter rows, "@" and "." before a narrower space bar.
    AddressEntry,
    TelephonePad,  // 7 8 9 / 4 5 6 / 1 2 3 / * 0 Back
};

QList<TouchKeyRow> keyboardRows(KeyboardLayout layout);
