#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QRect>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <memory>
#include <string>

namespace guestdriver {

// The test's end of the guest driver inside the console: a listener on
// 127.0.0.1 that the driver connects to, and one request at a time over it.
// Taps return once delivered; what they cause is awaited with waitUntil.
class GuestSession {
public:
    GuestSession();
    quint16 port() const { return server_.serverPort(); }
    // Waits for the console's driver to connect; false after the timeout.
    bool accept(int timeoutMs);
    bool connected() const;

    void tap(const QString& name);
    void tapKey(const QString& keyboard, const QString& key);
    void typeOn(const QString& keyboard, const QString& keys);
    void tapSpot(const QString& picture, const QString& spot);
    void tapRow(const QString& list, int row);
    void tapRowButton(const QString& list, int row);
    void skinTap(const QString& command);
    void answer(const QString& button);

    QString text(const QString& name);
    // The widget's place on the screen; empty when it does not exist.
    QRect screenRect(const QString& name);
    bool visible(const QString& name);
    // Takes taps: the widget and all its parents are enabled.
    bool enabled(const QString& name);
    QStringList rows(const QString& list);
    // The list's selected row; -1 when none is.
    int selectedRow(const QString& list);
    // The first row whose text contains `part`; -1 when none does.
    int rowContaining(const QString& list, const QString& part);
    QString skinVariable(const QString& field);
    // The text of the dialog on screen; empty when none is.
    QString dialogText();
    // The dialog on screen: text, buttons, "buttonRects" (caption to screen
    // [x, y, width, height]), "rect" and "textPixels"; empty when none is.
    QJsonObject dialog();

    // Sends a request that a guest may not be able to make: the driver's reason
    // when it refuses (a dialog or a panel in the way), empty when it was made.
    QString refusal(const QJsonObject& request);

    // Sends one request; a refusal or a lost driver goes to onError and gives null.
    QJsonValue call(const QJsonObject& request);

    // What to do with a refusal or a lost driver: throws std::runtime_error
    // unless replaced (a test records a failure instead).
    std::function<void(const std::string&)> onError;

private:
    QTcpServer server_;
    std::unique_ptr<QTcpSocket> socket_;
};

}  // namespace guestdriver
