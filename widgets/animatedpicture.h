#pragma once

#include <QLabel>

class QMovie;

// An animated picture (GIF and the other formats QMovie reads), centred in the
// widget. Loading reports failure instead of showing nothing, so a caller that
// cannot do without the picture can say why.
class AnimatedPicture : public QLabel {
    Q_OBJECT

public:
    explicit AnimatedPicture(QWidget* parent = nullptr);
    ~AnimatedPicture() override;

    // Replaces the current animation. False when the file is missing or holds
    // no picture that can be read; errorString() then says which and why, and
    // the widget shows nothing.
    [[nodiscard]] bool load(const QString& fileName);
    QString errorString() const { return error_; }
    QString fileName() const { return fileName_; }

    void start();
    void stop();
    bool isRunning() const;
    int frameCount() const;
    int currentFrame() const;

private:
    QMovie* movie_ = nullptr;
    QString fileName_;
    QString error_;
};
