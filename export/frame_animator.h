// The looping 32 x 32 picture of the export progress window: a ring of
// twelve spokes whose dark head runs round, one step per frame. The frames
// are drawn once by this program's own code and played by a timer from the
// moment the control exists, so the window shows life while it is open.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace quillmere {

class TFrameAnimator : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSize = 32;
    static constexpr int kFrameCount = 12;
    static constexpr int kFrameIntervalMs = 80;

    // A 32 x 32 control showing frame 0; the timer is already running.
    explicit TFrameAnimator(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {kSize, kSize}; }

    int frameCount() const { return static_cast<int>(frames_.size()); }
    int currentFrame() const { return current_; }
    // Frame `index` (0 .. frameCount() - 1), 32 x 32 ARGB on transparent.
    const QImage& frame(int index) const { return frames_.at(static_cast<size_t>(index)); }
    bool playing() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }

    // One timer tick: the next frame, after the last the first again.
    void advanceFrame();

    // The frames, drawn anew (the same pictures every time).
    static std::vector<QImage> drawFrames();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QImage> frames_;
    int current_ = 0;
    QTimer timer_;
};

}  // namespace quillmere
