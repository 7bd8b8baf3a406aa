#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

// An indeterminate progress bar: a block that sweeps along the track again and
// again while something is being prepared. It runs from creation and moves
// only while it is visible.
class MarqueeBar : public QWidget {
    Q_OBJECT

public:
    explicit MarqueeBar(QWidget* parent = nullptr);

    bool isRunning() const { return running_; }
    void start();
    void stop();

    QColor trackColor() const { return track_; }
    void setTrackColor(const QColor& color);
    QColor barColor() const { return bar_; }
    void setBarColor(const QColor& color);

    QSize sizeHint() const override { return QSize(400, 20); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void followVisibility();

    QTimer timer_;
    int step_ = 0;
    bool running_ = true;
    QColor track_ = Qt::white;
    QColor bar_;
};
