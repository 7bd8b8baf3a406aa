// Food and drink ordering: the menu by category, the detail panel of one item
// or order row, and the order being composed in the in-memory table.
#include <QLocale>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/sqltext.h"
#include "app/umodule.h"
#include "console/uplayer.h"

namespace {

// Where a menu item's name ends and its price begins in the item's text.
const QString kPriceIndent = QStringLiteral("<br><IND x=\"250\">");

}  // namespace

void Tfplayer::WireOrdering() {
    // The row's note column holds 50 characters: the field takes no more, so
    // nothing the guest typed is cut on its way there.
    Catatan->setMaxLength(kRowNoteLength);
    // Menu names are shown as they are, never read as rich text.
    for (QLabel* label : {lblMenu, LblPrice, lblHintmenu, LblVerify}) {
        label->setTextFormat(Qt::PlainText);
    }
    connect(AdvCategory, &SmoothListBox::itemClicked, this, &Tfplayer::AdvCategoryItemClick);
    connect(AdvItem, &SmoothListBox::graphicClicked, this, &Tfplayer::AdvItemGraphicRightClick);
    connect(AdvOrder, &SmoothListBox::graphicClicked, this, &Tfplayer::AdvOrderGraphicRightClick);
    connect(BtMinOrder, &SmoothButton::clicked, this, &Tfplayer::BtMinOrderClick);
    connect(BtPlusOrder, &SmoothButton::clicked, this, &Tfplayer::BtPlusOrderClick);
    connect(addOrder, &SmoothButton::clicked, this, &Tfplayer::addOrderClick);
    connect(AdvSmoothButton1, &SmoothButton::clicked, this, &Tfplayer::AdvSmoothButton1Click);
    connect(AdvSmoothButton2, &SmoothButton::clicked, this, &Tfplayer::AdvSmoothButton2Click);
    connect(AdvSmoothButton4, &SmoothButton::clicked, this, &Tfplayer::AdvSmoothButton4Click);
    connect(AdvSmoothButton3, &SmoothButton::clicked, this, &Tfplayer::AdvSmoothButton3Click);
    connect(AdvBack, &SmoothButton::clicked, this, &Tfplayer::AdvBackClick);
    connect(AdvOK, &SmoothButton::clicked, this, &Tfplayer::AdvOKClick);
    connect(Button2, &QPushButton::clicked, this, &Tfplayer::Button2Click);
    // The keyboard types into the focused widget of the whole window: a key
    // must never reach the search text hidden under the panel.
    connect(AdvSmoothTouchKeyBoard2, &TouchKeyboard::beforeKeyClick, this,
            &Tfplayer::FocusOrderField);
}

void Tfplayer::RegisterOrderCommands() {
    AddCommand(QStringLiteral("emenu"), [this] { OpenOrderPanel(); });
}

QString Tfplayer::PriceText(double hargajual) {
    // Whole units, halves away from zero; groups of three digits.
    const qint64 whole = std::llround(hargajual);
    const QString digits = QString::number(whole < 0 ? -whole : whole);
    const QString separator = QLocale().groupSeparator();
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += separator;
        }
        text += digits.at(i);
    }
    return whole < 0 ? QLocale().negativeSign() + text : text;
}

QString Tfplayer::MenuItemNotes(const QString& menu, double hargajual) {
    return QStringLiteral("<html>") + menu + kPriceIndent + QStringLiteral("Rp. ") +
           PriceText(hargajual) + QStringLiteral("</html>");
}

QString Tfplayer::OrderRowNotes(int qty, const QString& menu, const QString& catatan) {
    return QStringLiteral("<html>") + QString::number(qty) + QStringLiteral(" x") +
           QStringLiteral("<IND x=\"30\"> ") + menu + QStringLiteral("<br><IND x=\"30\"><i> ") +
           catatan + QStringLiteral("</i></html>");
}

int Tfplayer::DetailRowNumber() const {
    return lblMenu->property("tag").toInt();
}

void Tfplayer::SetDetailRowNumber(int number) {
    lblMenu->setProperty("tag", number);
}

void Tfplayer::OpenOrderPanel() {
    PanelOrder->show();
    AdvOrder->clear();
    AdvItem->clear();
    vtorder.open();
    vtorder.empty();
    CattOrderan->clear();
}

void Tfplayer::Button2Click() {
    Unguarded([this] { OpenOrderPanel(); });
}

void Tfplayer::AdvCategoryItemClick(int itemindex) {
    Unguarded([this, itemindex] {
        const int category = AdvCategory->item(itemindex).tag;
        module_.ConnectedTransaksi();
        ADOSPMenu.Close();
        ADOSPMenu.SetText(sqltext::CallText(QStringLiteral("ViewItemMenu"), {qint64{category}}));
        ADOSPMenu.Open();
        FillMenuList();
    });
}

void Tfplayer::FillMenuList() {
    // Also when filling fails part-way: a category without rows shows the
    // caption, and the list stays as far as it was filled.
    const auto emptyCaption = qScopeGuard([this] {
        if (ADOSPMenu.RecordCount() == 0) {
            Label21->show();
        }
    });
    const SmoothListBox::UpdateScope update(*AdvItem);
    AdvItem->clear();
    Label21->hide();
    for (ADOSPMenu.First(); !ADOSPMenu.Eof(); ADOSPMenu.Next()) {
        AdvItem->addItem(
            {.notes = MenuItemNotes(ADOSPMenu.FieldByName(QStringLiteral("menu")).AsString(),
                                    ADOSPMenu.FieldByName(QStringLiteral("hargajual")).AsFloat()),
             .hint = ADOSPMenu.FieldByName(QStringLiteral("idmenu")).AsString()});
    }
}

void Tfplayer::AdvItemGraphicRightClick(int itemindex) {
    Unguarded([this, itemindex] {
        const SmoothListItem& item = AdvItem->item(itemindex);
        QString text = item.notes;
        if (text.startsWith(QStringLiteral("<html>"))) {
            text.remove(0, 6);
        }
        if (text.endsWith(QStringLiteral("</html>"))) {
            text.chop(7);
        }
        text.replace(kPriceIndent, QStringLiteral("#"), Qt::CaseInsensitive);
        ParseDelimited(LBmenu, text, QStringLiteral("#"));
        // The price is the last part: a "#" inside a menu name stays in the name.
        QStringList parts;
        for (int i = 0; i < LBmenu->count(); ++i) {
            parts << LBmenu->item(i)->text();
        }
        const QString price = parts.size() > 1 ? parts.takeLast() : QString();

        PanelViewOrder->show();
        SetDetailRowNumber(0);
        lblMenu->setText(parts.join(QLatin1Char('#')));
        LblPrice->setText(price + QStringLiteral(",-"));
        JumlahOrder = 1;
        AeJum->setText(QStringLiteral("1"));
        lblHintmenu->setText(item.hint);
        Catatan->clear();
    });
}

void Tfplayer::AdvOrderGraphicRightClick(int itemindex) {
    Unguarded([this, itemindex] {
        const int number = AdvOrder->item(itemindex).tag;
        if (!vtorder.locate(QStringLiteral("number"), number)) {
            throw std::runtime_error(
                QStringLiteral("Order row %1 is not in the order").arg(number).toStdString());
        }
        PanelViewOrder->show();
        JumlahOrder = vtorderqty.asInteger();
        AeJum->setText(QString::number(JumlahOrder));
        SetDetailRowNumber(number);
        lblMenu->setText(vtordermenu.asText());
        // The order keeps no price, and another item's price must not stand
        // beside this row.
        LblPrice->clear();
        Catatan->setText(vtordercatatan.asText());
        lblHintmenu->setText(vtorderidmenu.asText());
    });
}

void Tfplayer::BtMinOrderClick() {
    if (JumlahOrder > 1) {
        --JumlahOrder;
        AeJum->setText(QString::number(JumlahOrder));
    }
}

void Tfplayer::BtPlusOrderClick() {
    ++JumlahOrder;
    AeJum->setText(QString::number(JumlahOrder));
}

int Tfplayer::HighestRowNumber() {
    int highest = 0;
    for (vtorder.first(); !vtorder.eof(); vtorder.next()) {
        highest = std::max(highest, vtordernumber.asInteger());
    }
    return highest;
}

void Tfplayer::addOrderClick() {
    Unguarded([this] {
        const int number = DetailRowNumber();
        if (number != 0) {
            if (!vtorder.locate(QStringLiteral("number"), number)) {
                throw std::runtime_error(
                    QStringLiteral("Order row %1 is not in the order").arg(number).toStdString());
            }
            vtorder.edit();
            vtorderqty.setInteger(JumlahOrder);
            vtordercatatan.setText(Catatan->text());
            vtorder.post();
        } else {
            // Above every number in use, so that a row deleted earlier never
            // leaves two rows under one number.
            const int next = HighestRowNumber() + 1;
            vtorder.append();
            vtordernumber.setInteger(next);
            vtorderqty.setInteger(JumlahOrder);
            vtorderidmenu.setText(lblHintmenu->text());
            vtordercatatan.setText(Catatan->text());
            vtordermenu.setText(lblMenu->text());
            vtorder.post();
        }
        ShowOrderList();
    });
}

void Tfplayer::AdvSmoothButton1Click() {
    Unguarded([this] {
        if (vtorder.locate(QStringLiteral("number"), DetailRowNumber())) {
            vtorder.deleteCurrent();
        }
        ShowOrderList();
    });
}

void Tfplayer::ShowOrderList() {
    {
        const SmoothListBox::UpdateScope update(*AdvOrder);
        AdvOrder->clear();
        for (vtorder.first(); !vtorder.eof(); vtorder.next()) {
            AdvOrder->addItem({.notes = OrderRowNotes(vtorderqty.asInteger(), vtordermenu.asText(),
                                                      vtordercatatan.asText()),
                               .tag = vtordernumber.asInteger()});
        }
    }
    Label20->setVisible(vtorder.recordCount() == 0);
    PanelViewOrder->hide();
}

void Tfplayer::AdvSmoothButton2Click() {
    PanelViewOrder->hide();
}

void Tfplayer::AdvSmoothButton4Click() {
    PanelOrder->hide();
}

QList<TOrderLine> Tfplayer::ComposedOrder() {
    QList<TOrderLine> lines;
    for (vtorder.first(); !vtorder.eof(); vtorder.next()) {
        lines.append({vtorderidmenu.asText(), vtorderqty.asInteger(), vtordercatatan.asText()});
    }
    return lines;
}

void Tfplayer::FocusOrderField() {
    if (!PnlVerify->isHidden()) {
        // The open verification takes every key: the code, never a note.
        AeVeryfy->setFocus();
        return;
    }
    QList<QWidget*> fields{CattOrderan};
    if (!PanelViewOrder->isHidden()) {
        fields.prepend(Catatan);
    }
    if (!fields.contains(focusWidget())) {
        fields.first()->setFocus();
    }
}
