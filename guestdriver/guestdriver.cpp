#include "guestdriver.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWidget>
#include <QRect>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

struct TRefusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Refuse(const QString& why) {
    throw TRefusal(why.toStdString());
}

// Whether the widget's ancestors include, outermost first, the named ones.
bool UnderAncestors(const QWidget* widget, QStringList ancestors) {
    for (const QWidget* parent = widget->parentWidget(); parent != nullptr && !ancestors.isEmpty();
         parent = parent->parentWidget()) {
        if (parent->objectName() == ancestors.last()) {
            ancestors.removeLast();
        }
    }
    return ancestors.isEmpty();
}

// The widget a guest would see by that name, a visible one before a hidden one.
// "FrmError/AdvSmoothButton2" names a widget inside another one, for names that
// several windows use.
QWidget* FindWidget(const QString& path) {
    QStringList ancestors = path.split(QLatin1Char('/'));
    const QString name = ancestors.takeLast();
    QWidget* hidden = nullptr;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->objectName() != name || !UnderAncestors(widget, ancestors)) {
            continue;
        }
        if (widget->isVisible()) {
            return widget;
        }
        hidden = hidden != nullptr ? hidden : widget;
    }
    return hidden;
}

QWidget* VisibleWidget(const QString& name) {
    QWidget* widget = FindWidget(name);
    if (widget == nullptr) {
        Refuse(QStringLiteral("no widget named %1").arg(name));
    }
    if (!widget->isVisible()) {
        Refuse(QStringLiteral("%1 is not on screen").arg(name));
    }
    return widget;
}

QString TextOf(QObject* object) {
    if (auto* label = qobject_cast<QLabel*>(object)) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        return edit->text();
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(object)) {
        return plain->toPlainText();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        return button->text();
    }
    for (const char* property : {"text", "caption", "value"}) {
        const QVariant value = object->property(property);
        if (value.isValid()) {
            return value.toString();
        }
    }
    return QString();
}

QRect AskRect(QWidget* widget, const char* method, const QVariant& argument) {
    QRect rect;
    bool invoked = false;
    if (argument.typeId() == QMetaType::Int) {
        invoked =
            QMetaObject::invokeMethod(widget, method, Qt::DirectConnection,
                                      Q_RETURN_ARG(QRect, rect), Q_ARG(int, argument.toInt()));
    } else {
        invoked = QMetaObject::invokeMethod(widget, method, Qt::DirectConnection,
                                            Q_RETURN_ARG(QRect, rect),
                                            Q_ARG(QString, argument.toString()));
    }
    if (!invoked) {
        Refuse(QStringLiteral("%1 has no %2").arg(widget->objectName(), QLatin1String(method)));
    }
    if (rect.isEmpty()) {
        Refuse(
            QStringLiteral("%1 has nothing at %2").arg(widget->objectName(), argument.toString()));
    }
    return rect;
}

int RowCount(QWidget* list) {
    int count = 0;
    if (!QMetaObject::invokeMethod(list, "count", Qt::DirectConnection, Q_RETURN_ARG(int, count))) {
        Refuse(QStringLiteral("%1 is not a touch list").arg(list->objectName()));
    }
    return count;
}

QStringList Rows(QWidget* list) {
    QStringList rows;
    const int count = RowCount(list);
    for (int i = 0; i < count; ++i) {
        QString notes;
        QMetaObject::invokeMethod(list, "itemNotes", Qt::DirectConnection,
                                  Q_RETURN_ARG(QString, notes), Q_ARG(int, i));
        rows << notes;
    }
    return rows;
}

QQuickItem* SkinRoot() {
    auto* skin = qobject_cast<QQuickWidget*>(VisibleWidget(QStringLiteral("MainSkinNew")));
    if (skin == nullptr || skin->rootObject() == nullptr) {
        Refuse(QStringLiteral("no skin is loaded"));
    }
    return skin->rootObject();
}

QQuickItem* FindSkinItem(QQuickItem* item, const QString& name) {
    if (item->objectName() == name && item->isVisible()) {
        return item;
    }
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = FindSkinItem(child, name)) {
            return found;
        }
    }
    return nullptr;
}

QWidget* ActiveDialog() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activePopupWidget();
}

QJsonArray ScreenRect(const QWidget* widget) {
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    return {topLeft.x(), topLeft.y(), widget->width(), widget->height()};
}

QJsonObject Describe(QWidget* widget) {
    QJsonObject state{{QStringLiteral("exists"), widget != nullptr}};
    if (widget == nullptr) {
        return state;
    }
    state[QStringLiteral("visible")] = widget->isVisible();
    state[QStringLiteral("enabled")] = widget->isEnabled();
    state[QStringLiteral("class")] = QString::fromLatin1(widget->metaObject()->className());
    state[QStringLiteral("objectName")] = widget->objectName();
    state[QStringLiteral("text")] = TextOf(widget);
    // Where it is on the screen, as [x, y, width, height].
    state[QStringLiteral("rect")] = ScreenRect(widget);
    // A touch list's selected row, -1 for none.
    int selected = -1;
    if (widget->metaObject()->indexOfMethod("selectedIndex()") >= 0 &&
        QMetaObject::invokeMethod(widget, "selectedIndex", Qt::DirectConnection,
                                  Q_RETURN_ARG(int, selected))) {
        state[QStringLiteral("selectedRow")] = selected;
    }
    return state;
}

QString Unaccelerated(QString text) {
    return text.remove(QLatin1Char('&'));
}

}  // namespace

TGuestDriver::TGuestDriver(quint16 port, QObject* parent) : QObject(parent), port_(port) {
    // The driver is made while the application is still being set up; it
    // connects once the event loop runs.
    QTimer::singleShot(0, this, &TGuestDriver::Connect);
}

void TGuestDriver::Connect() {
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::readyRead, this, &TGuestDriver::ReadLines);
    connect(socket_, &QTcpSocket::errorOccurred, this,
            [this] { qWarning("guest driver: %s", qPrintable(socket_->errorString())); });
    socket_->connectToHost(QStringLiteral("127.0.0.1"), port_);
}

void TGuestDriver::ReadLines() {
    buffer_ += socket_->readAll();
    for (qsizetype end = buffer_.indexOf('\n'); end >= 0; end = buffer_.indexOf('\n')) {
        const QByteArray line = buffer_.left(end);
        buffer_.remove(0, end + 1);
        requests_.enqueue(QJsonDocument::fromJson(line).object());
    }
    SchedulePump();
}

void TGuestDriver::SchedulePump() {
    if (!pumpScheduled_ && !requests_.isEmpty()) {
        pumpScheduled_ = true;
        QTimer::singleShot(0, this, &TGuestDriver::Pump);
    }
}

void TGuestDriver::Pump() {
    pumpScheduled_ = false;
    if (requests_.isEmpty()) {
        return;
    }
    const QJsonObject request = requests_.dequeue();
    std::function<void()> deliver;
    QJsonObject reply;
    try {
        reply = Run(request, deliver);
        reply[QStringLiteral("ok")] = true;
    } catch (const TRefusal& refusal) {
        reply = {{QStringLiteral("ok"), false},
                 {QStringLiteral("error"), QString::fromStdString(refusal.what())}};
        deliver = nullptr;
    }
    socket_->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
    socket_->flush();
    // The next request is taken up by the event loop, also by the loop of a
    // dialog that this tap opens.
    SchedulePump();
    if (deliver) {
        deliver();
    }
}

QJsonObject TGuestDriver::Run(const QJsonObject& request, std::function<void()>& deliver) {
    const QString op = request.value(QStringLiteral("op")).toString();
    const QString name = request.value(QStringLiteral("name")).toString();
    const auto click = [&deliver](QWidget* target, QPoint pos) {
        // A dialog on screen takes every tap meant for the windows behind it.
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog != nullptr && dialog != target->window() && !dialog->isAncestorOf(target)) {
            Refuse(QStringLiteral("%1 is behind the dialog \"%2\"")
                       .arg(target->objectName(), TextOf(dialog)));
        }
        // So does a widget lying over the target at that point.
        QWidget* window = target->window();
        QWidget* hit = window->childAt(target->mapTo(window, pos));
        if (hit != nullptr && hit != target && !target->isAncestorOf(hit)) {
            Refuse(QStringLiteral("%1 is covered by %2 there")
                       .arg(target->objectName(), hit->objectName()));
        }
        QPointer<QWidget> guarded(target);
        deliver = [guarded, pos] {
            if (guarded) {
                QTest::mouseClick(guarded, Qt::LeftButton, Qt::NoModifier, pos);
            }
        };
    };

    if (op == QLatin1String("state")) {
        return {{QStringLiteral("value"), Describe(FindWidget(name))}};
    }
    if (op == QLatin1String("text")) {
        QWidget* widget = FindWidget(name);
        if (widget == nullptr) {
            Refuse(QStringLiteral("no widget named %1").arg(name));
        }
        return {{QStringLiteral("value"), TextOf(widget)}};
    }
    if (op == QLatin1String("rows")) {
        QWidget* list = FindWidget(name);
        if (list == nullptr) {
            Refuse(QStringLiteral("no widget named %1").arg(name));
        }
        return {{QStringLiteral("value"), QJsonArray::fromStringList(Rows(list))}};
    }
    if (op == QLatin1String("tap")) {
        QWidget* widget = VisibleWidget(name);
        click(widget, widget->rect().center());
        return {};
    }
    if (op == QLatin1String("tapKey") || op == QLatin1String("tapSpot")) {
        QWidget* widget = VisibleWidget(name);
        const bool key = op == QLatin1String("tapKey");
        const QString which =
            request.value(key ? QStringLiteral("key") : QStringLiteral("spot")).toString();
        click(widget, AskRect(widget, key ? "keyRect" : "hotSpotRect", which).center());
        return {};
    }
    if (op == QLatin1String("tapRow")) {
        QWidget* list = VisibleWidget(name);
        const int row = request.value(QStringLiteral("row")).toInt(-1);
        if (row < 0 || row >= RowCount(list)) {
            Refuse(QStringLiteral("%1 has no row %2").arg(name).arg(row));
        }
        QMetaObject::invokeMethod(list, "scrollToItem", Qt::DirectConnection, Q_ARG(int, row));
        const bool onButton = request.value(QStringLiteral("button")).toBool();
        const QRect rect = AskRect(list, onButton ? "graphicRect" : "itemRect", row);
        auto* area = qobject_cast<QAbstractScrollArea*>(list);
        click(area != nullptr ? area->viewport() : list,
              onButton ? rect.center() : QPoint(rect.left() + rect.width() / 4, rect.center().y()));
        return {};
    }
    if (op == QLatin1String("skinTap")) {
        const QString command = request.value(QStringLiteral("command")).toString();
        QQuickItem* root = SkinRoot();
        QQuickItem* button = FindSkinItem(root, QStringLiteral("cmd_") + command);
        if (button == nullptr) {
            Refuse(QStringLiteral("the skin shows no button for %1").arg(command));
        }
        const QPointF centre =
            button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
        click(VisibleWidget(QStringLiteral("MainSkinNew")), centre.toPoint());
        return {};
    }
    if (op == QLatin1String("skinVariable")) {
        QObject* vars = SkinRoot()->findChild<QObject*>(QStringLiteral("vars"));
        const QVariant value =
            vars != nullptr
                ? vars->property(qPrintable(request.value(QStringLiteral("field")).toString()))
                : QVariant();
        if (!value.isValid()) {
            Refuse(QStringLiteral("the skin has no variable %1")
                       .arg(request.value(QStringLiteral("field")).toString()));
        }
        return {{QStringLiteral("value"), value.toString()}};
    }
    if (op == QLatin1String("dialog")) {
        QWidget* dialog = ActiveDialog();
        if (dialog == nullptr) {
            return {{QStringLiteral("value"), QJsonValue::Null}};
        }
        QJsonObject state = Describe(dialog);
        QJsonArray buttons;
        QJsonObject buttonRects;
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->isVisible()) {
                buttons.append(Unaccelerated(button->text()));
                buttonRects[Unaccelerated(button->text())] = ScreenRect(button);
            }
        }
        state[QStringLiteral("buttons")] = buttons;
        // Where a finger or real input would press them, in screen pixels.
        state[QStringLiteral("buttonRects")] = buttonRects;
        // The smallest text the dialog shows, in pixels.
        int smallest = 0;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty()) {
                const int pixels = QFontInfo(label->font()).pixelSize();
                smallest = smallest == 0 ? pixels : std::min(smallest, pixels);
            }
        }
        state[QStringLiteral("textPixels")] = smallest;
        return {{QStringLiteral("value"), state}};
    }
    if (op == QLatin1String("answer")) {
        QWidget* dialog = ActiveDialog();
        if (dialog == nullptr) {
            Refuse(QStringLiteral("no dialog is on screen"));
        }
        const QString caption = request.value(QStringLiteral("button")).toString();
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->isVisible() && Unaccelerated(button->text()) == caption) {
                click(button, button->rect().center());
                return {};
            }
        }
        Refuse(QStringLiteral("the dialog has no button %1").arg(caption));
    }
    Refuse(QStringLiteral("unknown request %1").arg(op));
}
