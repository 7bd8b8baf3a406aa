#include "widgets/animatedpicture.h"

#include <QFileInfo>
#include <QMovie>

AnimatedPicture::AnimatedPicture(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
}

AnimatedPicture::~AnimatedPicture() = default;

bool AnimatedPicture::load(const QString& fileName) {
    setMovie(nullptr);
    delete movie_;
    movie_ = nullptr;
    fileName_ = fileName;
    error_.clear();

    if (!QFileInfo(fileName).isFile()) {
        error_ = QStringLiteral("Cannot open %1: file not found").arg(fileName);
        return false;
    }
    auto* movie = new QMovie(fileName, QByteArray(), this);
    // A file that exists but cannot be decoded fails on its first frame.
    if (!movie->isValid() || !movie->jumpToFrame(0)) {
        error_ = QStringLiteral("Cannot read %1: %2").arg(fileName, movie->lastErrorString());
        delete movie;
        return false;
    }
    movie_ = movie;
    setMovie(movie_);
    return true;
}

void AnimatedPicture::start() {
    if (movie_) {
        movie_->start();
    }
}

void AnimatedPicture::stop() {
    if (movie_) {
        movie_->stop();
    }
}

bool AnimatedPicture::isRunning() const {
    return movie_ && movie_->state() == QMovie::Running;
}

int AnimatedPicture::frameCount() const {
    return movie_ ? movie_->frameCount() : 0;
}

int AnimatedPicture::currentFrame() const {
    return movie_ ? movie_->currentFrameNumber() : -1;
}
