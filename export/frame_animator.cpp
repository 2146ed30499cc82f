#include "export/frame_animator.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace quillmere {

namespace {

// The head spoke takes the progress bar's orange; the tail fades to a light
// grey over the other spokes.
constexpr QRgb kHeadColor = qRgb(0xFF, 0x80, 0x00);
constexpr QRgb kTailColor = qRgb(0xD8, 0xD8, 0xD8);
constexpr double kInnerRadius = 7.0;
constexpr double kOuterRadius = 14.0;
constexpr double kSpokeWidth = 3.0;

QColor spokeColor(int stepsBehindHead) {
    const double t = static_cast<double>(stepsBehindHead) / (TFrameAnimator::kFrameCount - 1);
    auto mix = [t](int head, int tail) {
        return static_cast<int>(std::lround(head + (tail - head) * t));
    };
    return QColor(mix(qRed(kHeadColor), qRed(kTailColor)),
                  mix(qGreen(kHeadColor), qGreen(kTailColor)),
                  mix(qBlue(kHeadColor), qBlue(kTailColor)));
}

QImage drawFrame(int head) {
    QImage image(TFrameAnimator::kSize, TFrameAnimator::kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(TFrameAnimator::kSize / 2.0, TFrameAnimator::kSize / 2.0);
    for (int spoke = 0; spoke < TFrameAnimator::kFrameCount; ++spoke) {
        // Spoke 0 points up; the head moves clockwise one spoke per frame.
        const double angle = 2.0 * std::numbers::pi * spoke / TFrameAnimator::kFrameCount;
        const QPointF direction(std::sin(angle), -std::cos(angle));
        const int behind =
            (head - spoke + TFrameAnimator::kFrameCount) % TFrameAnimator::kFrameCount;
        painter.setPen(QPen(spokeColor(behind), kSpokeWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + direction * kInnerRadius, centre + direction * kOuterRadius);
    }
    return image;
}

}  // namespace

TFrameAnimator::TFrameAnimator(QWidget* parent) : QWidget(parent), frames_(drawFrames()) {
    resize(kSize, kSize);
    connect(&timer_, &QTimer::timeout, this, &TFrameAnimator::advanceFrame);
    timer_.start(kFrameIntervalMs);
}

std::vector<QImage> TFrameAnimator::drawFrames() {
    std::vector<QImage> frames;
    frames.reserve(kFrameCount);
    for (int head = 0; head < kFrameCount; ++head) {
        frames.push_back(drawFrame(head));
    }
    return frames;
}

void TFrameAnimator::advanceFrame() {
    current_ = (current_ + 1) % frameCount();
    update();
}

void TFrameAnimator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, frames_[static_cast<size_t>(current_)]);
}

}  // namespace quillmere
