#include "widgets/keyboardlayouts.h"

namespace {

QStringList accentedVariants(QChar letter) {
    switch (letter.unicode()) {
        case 'A':
            return {"À", "Á", "Â", "Ã", "Ä", "Å"};
        case 'C':
            return {"Ç"};
        case 'E':
            return {"È", "É", "Ê", "Ë"};
        case 'I':
            return {"Ì", "Í", "Î", "Ï"};
        case 'N':
            return {"Ñ"};
        case 'O':
            return {"Ò", "Ó", "Ô", "Õ", "Ö"};
        case 'U':
            return {"Ù", "Ú", "Û", "Ü"};
        case 'Y':
            return {"Ý", "Ÿ"};
        default:
            return {};
    }
}

TouchKeyRow characterRow(QStringView characters) {
    TouchKeyRow row;
    for (const QChar c : characters) {
        row.append(
            TouchKey{QString(c), TouchKey::Action::Character, QString(c), accentedVariants(c)});
    }
    return row;
}

TouchKey backKey(double width) {
    return TouchKey{"Back", TouchKey::Action::Backspace, {}, {}, width};
}

}  // namespace

QList<TouchKeyRow> keyboardRows(KeyboardLayout layout) {
    if (layout == KeyboardLayout::TelephonePad) {
        TouchKeyRow last = characterRow(u"*0");
        last.append(backKey(1.0));
        return {characterRow(u"789"), characterRow(u"456"), characterRow(u"123"), last};
    }
    // Each letter row plus its wide key is 11.5 keys wide, so the rows line up at both ends.
    TouchKeyRow top = characterRow(u"QWERTYUIOP");
    top.append(backKey(1.5));
    TouchKeyRow middle = characterRow(u"ASDFGHJKL");
    middle.append(TouchKey{"Enter", TouchKey::Action::Enter, {}, {}, 2.5});
    TouchKeyRow bottom = characterRow(u"ZXCVBNM");
    if (layout == KeyboardLayout::AddressEntry) {
        // "@" and "." take two keys' room from the space bar.
        bottom.append(characterRow(u"@."));
        bottom.append(TouchKey{"Space", TouchKey::Action::Space, " ", {}, 2.5});
        return {characterRow(u"1234567890-_"), top, middle, bottom};
    }
    bottom.append(TouchKey{"Space", TouchKey::Action::Space, " ", {}, 4.5});

    QList<TouchKeyRow> rows{top, middle, bottom};
    if (layout == KeyboardLayout::QwertyWithDigits) {
        rows.prepend(characterRow(u"1234567890"));
    }
    return rows;
}
