#include "shell/placement.h"

#include "store/profile_file.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace quillmere {

namespace {

const QString kFormVersion = QStringLiteral("FormVersion");
const QString kFlags = QStringLiteral("Flags");
const QString kShowCmd = QStringLiteral("ShowCmd");
const QString kPixelsPerInch = QStringLiteral("PixelsPerInch");
const QString kMinMaxPos = QStringLiteral("MinMaxPos");
const QString kNormPos = QStringLiteral("NormPos");
const QString kVisible = QStringLiteral("Visible");

int readInt(const ProfileAccess& profile, const QString& section, const QString& key,
            int fallback) {
    if (!profile.hasKey(section, key)) {
        return fallback;
    }
    return parseProfileInteger(profile.readString(section, key, QString()), fallback);
}

// The value under the resolution-specific key, else under the plain key.
std::optional<QString> readPosition(const ProfileAccess& profile, const QString& section,
                                    const QString& key, const QSize& screen) {
    const QString specific = ResolutionKey(key, screen);
    if (profile.hasKey(section, specific)) {
        return profile.readString(section, specific, QString());
    }
    if (profile.hasKey(section, key)) {
        return profile.readString(section, key, QString());
    }
    return std::nullopt;
}

void writeBoth(ProfileAccess& profile, const QString& section, const QString& key,
               const QSize& screen, const QString& value) {
    profile.writeString(section, ResolutionKey(key, screen), value);
    profile.writeString(section, key, value);
}

}  // namespace

ProfileFileAccess::ProfileFileAccess(const QString& path) : path_(path) {}

bool ProfileFileAccess::hasKey(const QString& section, const QString& key) const {
    // A value no profile line can hold tells a missing key from an empty one.
    const QString missing = QStringLiteral("\n");
    return ProfileFile(path_).readString(section, key, missing) != missing;
}

QString ProfileFileAccess::readString(const QString& section, const QString& key,
                                      const QString& fallback) const {
    return ProfileFile(path_).readString(section, key, fallback);
}

void ProfileFileAccess::writeString(const QString& section, const QString& key,
                                    const QString& value) {
    ProfileFile(path_).writeString(section, key, value);
}

ProfileFileBatch::ProfileFileBatch(const QString& path) : file_(path), path_(path) {}

bool ProfileFileBatch::hasKey(const QString& section, const QString& key) const {
    return file_.hasKey(section, key);
}

QString ProfileFileBatch::readString(const QString& section, const QString& key,
                                     const QString& fallback) const {
    return file_.readString(section, key, fallback);
}

void ProfileFileBatch::writeString(const QString& section, const QString& key,
                                   const QString& value) {
    pending_.push_back(ProfileValue{section, key, value});
}

void ProfileFileBatch::commit() {
    ProfileFile(path_).writeStrings(pending_);
    pending_.clear();
}

QString FormatFourInts(int a, int b, int c, int d) {
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

std::array<int, 4> ParseFourInts(const QString& value, const std::array<int, 4>& defaults) {
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList parts = value.trimmed().split(separators, Qt::SkipEmptyParts);
    std::array<int, 4> result = defaults;
    for (int i = 0; i < 4 && i < parts.size(); ++i) {
        bool ok = false;
        const int number = parts[i].toInt(&ok);
        if (ok) {
            result[i] = number;
        }
    }
    return result;
}

RestoredState StateOfShowCmd(int showCmd) {
    switch (showCmd) {
        case 2:
        case 6:
        case 7:
            return RestoredState::Minimized;
        case 3:
            return RestoredState::Maximized;
        default:
            return RestoredState::Normal;
    }
}

QString ResolutionKey(const QString& key, const QSize& screen) {
    return QStringLiteral("%1(%2x%3)").arg(key).arg(screen.width()).arg(screen.height());
}

void WritePlacement(ProfileAccess& profile, const QString& section, const PlacementRecord& record,
                    const QSize& screen, int pixelsPerInch, bool visible) {
    profile.writeString(section, kFormVersion, QStringLiteral("0"));
    profile.writeString(section, kFlags, QString::number(record.flags));
    profile.writeString(section, kShowCmd, QString::number(record.showCmd));
    profile.writeString(section, kPixelsPerInch, QString::number(pixelsPerInch));
    writeBoth(profile, section, kMinMaxPos, screen,
              FormatFourInts(record.minPosition.x(), record.minPosition.y(), record.maxPosition.x(),
                             record.maxPosition.y()));
    const QRect& n = record.normal;
    writeBoth(profile, section, kNormPos, screen,
              FormatFourInts(n.left(), n.top(), n.left() + n.width(), n.top() + n.height()));
    profile.writeString(section, kVisible, visible ? QStringLiteral("1") : QStringLiteral("0"));
}

std::optional<PlacementRecord> ReadPlacement(const ProfileAccess& profile, const QString& section,
                                             const QSize& screen, int pixelsPerInch,
                                             const QRect& currentNormal) {
    if (readInt(profile, section, kFormVersion, 0) < 0) {
        return std::nullopt;
    }
    const std::optional<QString> minMax = readPosition(profile, section, kMinMaxPos, screen);
    const std::optional<QString> norm = readPosition(profile, section, kNormPos, screen);
    if (!minMax && !norm) {
        return std::nullopt;
    }
    if (readInt(profile, section, kPixelsPerInch, pixelsPerInch) != pixelsPerInch) {
        return std::nullopt;
    }
    PlacementRecord record;
    record.flags = readInt(profile, section, kFlags, 0);
    record.showCmd = readInt(profile, section, kShowCmd, kShowNormal);
    const auto mm = ParseFourInts(minMax.value_or(QString()), {0, 0, 0, 0});
    record.minPosition = QPoint(mm[0], mm[1]);
    record.maxPosition = QPoint(mm[2], mm[3]);
    const QRect& c = currentNormal;
    const auto np = ParseFourInts(norm.value_or(QString()),
                                  {c.left(), c.top(), c.left() + c.width(), c.top() + c.height()});
    record.normal = QRect(QPoint(np[0], np[1]), QSize(np[2] - np[0], np[3] - np[1]));
    return record;
}

QString PlacementFilePath(const QString& executablePath) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation);
    return folder + QLatin1Char('/') + QFileInfo(executablePath).completeBaseName() +
           QStringLiteral(".INI");
}

QMargins FrameMargins(const QRect& frame, const QRect& client) {
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

QRect PullOntoWorkArea(const QRect& outer, const QList<QRect>& workAreas) {
    if (workAreas.isEmpty()) {
        return outer;
    }
    const QRect* best = &workAreas.first();
    qint64 bestOverlap = -1;
    for (const QRect& area : workAreas) {
        if (area.contains(outer)) {
            return outer;
        }
        const QRect common = area.intersected(outer);
        const qint64 overlap = common.isEmpty() ? 0 : qint64{common.width()} * common.height();
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &area;
        }
    }
    const QRect& area = *best;
    QRect pulled(outer.topLeft(), QSize(std::min(outer.width(), area.width()),
                                        std::min(outer.height(), area.height())));
    pulled.moveLeft(
        std::clamp(pulled.left(), area.left(), area.left() + area.width() - pulled.width()));
    pulled.moveTop(
        std::clamp(pulled.top(), area.top(), area.top() + area.height() - pulled.height()));
    return pulled;
}

QRect NormalRectKeeper::want(const QRect& outer) {
    wanted_ = outer;
    appliedFrame_ = normalFrame_;
    givenClient_ = outer.marginsRemoved(normalFrame_);
    return givenClient_;
}

std::optional<QRect> NormalRectKeeper::update(const QRect& frame, const QRect& client,
                                              bool normalState) {
    const QMargins margins = FrameMargins(frame, client);
    if (!normalState || margins.isNull()) {
        // Maximised, minimised, or no frame reported yet.
        return std::nullopt;
    }
    normalFrame_ = margins;
    if (!wanted_) {
        return std::nullopt;
    }
    if (margins != appliedFrame_) {
        appliedFrame_ = margins;
        givenClient_ = wanted_->marginsRemoved(margins);
        return givenClient_;
    }
    if (client != givenClient_) {
        wanted_.reset();
    }
    return std::nullopt;
}

QRect NormalRectKeeper::normalOuter(const QRect& normalClient, const QMargins& currentFrame) const {
    if (wanted_ && normalClient == givenClient_) {
        return *wanted_;
    }
    return normalClient.marginsAdded(normalFrame_.isNull() ? currentFrame : normalFrame_);
}

PlacementRecord CapturePlacement(const QWidget& window, const NormalRectKeeper& keeper) {
    PlacementRecord record;
    const QRect client = window.geometry();
    // The normal rectangle of a maximised or minimised window is its
    // restored client rectangle.
    QRect normal = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : client;
    if (!normal.isValid()) {
        normal = client;
    }
    record.normal = keeper.normalOuter(normal, FrameMargins(window.frameGeometry(), client));
    if (window.isMinimized()) {
        record.showCmd = kShowMinimized;
        if (window.windowState() & Qt::WindowMaximized) {
            record.flags = kRestoreToMaximizedFlag;
        }
    } else if (window.isMaximized()) {
        record.showCmd = kShowMaximized;
    }
    return record;
}

void PlaceWindow(QWidget& window, const QRect& outer, const QRect& client) {
    // move() places the outer rectangle with the frame the window has at the
    // moment; resize() sets the client size.
    window.move(outer.topLeft());
    window.resize(client.size());
}

void ApplyPlacement(QWidget& window, const PlacementRecord& record, NormalRectKeeper& keeper) {
    PlaceWindow(window, record.normal, keeper.want(record.normal));
    switch (StateOfShowCmd(record.showCmd)) {
        case RestoredState::Maximized:
            window.setWindowState(Qt::WindowMaximized);
            break;
        case RestoredState::Minimized:
            window.setWindowState(Qt::WindowMinimized);
            break;
        case RestoredState::Normal:
            window.setWindowState(Qt::WindowNoState);
            break;
    }
}

}  // namespace quillmere
