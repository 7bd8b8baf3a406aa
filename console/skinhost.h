#pragma once

#include <QQuickWidget>
#include <QString>

// Hosts the skin: a QML file whose root object declares
//   signal fsCommand(string command, string args)
//   function setVariable(path, value)
// The skin talks to the console only through those two: commands up, text
// variables down. A missing or broken skin leaves an empty area and the console
// running.
class TSkinHost : public QQuickWidget {
    Q_OBJECT

public:
    explicit TSkinHost(QWidget* parent = nullptr);

    // Loads the skin file; an empty or missing file shows nothing.
    void SetMovie(const QString& fileName);
    QString Movie() const { return movie_; }
    // True when a skin is loaded and offers both halves of the contract.
    bool SkinLoaded() const;

    // Writes one text variable into the skin; a skin that is not loaded misses it.
    void SetVariable(const QString& path, const QString& value);

signals:
    void FSCommand(const QString& command, const QString& args);
    // Every write, loaded skin or not: what the console told the skin.
    void VariableWritten(const QString& path, const QString& value);

private slots:
    void onStatusChanged(QQuickWidget::Status status);

private:
    QString movie_;
};
