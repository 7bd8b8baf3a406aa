#include "console/skinhost.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QQuickItem>
#include <QUrl>

TSkinHost::TSkinHost(QWidget* parent) : QQuickWidget(parent) {
    setResizeMode(QQuickWidget::SizeRootObjectToView);
    setClearColor(Qt::black);
    connect(this, &QQuickWidget::statusChanged, this, &TSkinHost::onStatusChanged);
}

void TSkinHost::SetMovie(const QString& fileName) {
    movie_ = fileName;
    if (!QFileInfo::exists(fileName)) {
        qWarning("skin: %s not found; the console runs without a skin", qPrintable(fileName));
        setSource(QUrl());
        return;
    }
    setSource(QUrl::fromLocalFile(fileName));
}

void TSkinHost::onStatusChanged(QQuickWidget::Status status) {
    if (status == QQuickWidget::Error) {
        for (const QQmlError& error : errors()) {
            qWarning("skin: %s", qPrintable(error.toString()));
        }
        return;
    }
    if (status != QQuickWidget::Ready || rootObject() == nullptr) {
        return;
    }
    const int signalIndex = rootObject()->metaObject()->indexOfSignal("fsCommand(QString,QString)");
    if (signalIndex < 0) {
        qWarning("skin: %s declares no signal fsCommand(string, string)", qPrintable(movie_));
        return;
    }
    connect(rootObject(), SIGNAL(fsCommand(QString, QString)), this,
            SIGNAL(FSCommand(QString, QString)));
}

bool TSkinHost::SkinLoaded() const {
    return status() == QQuickWidget::Ready && rootObject() != nullptr &&
           rootObject()->metaObject()->indexOfSignal("fsCommand(QString,QString)") >= 0;
}

void TSkinHost::SetVariable(const QString& path, const QString& value) {
    emit VariableWritten(path, value);
    if (status() != QQuickWidget::Ready || rootObject() == nullptr) {
        return;
    }
    if (!QMetaObject::invokeMethod(rootObject(), "setVariable", Q_ARG(QVariant, path),
                                   Q_ARG(QVariant, value))) {
        qWarning("skin: %s has no function setVariable(path, value)", qPrintable(movie_));
    }
}
