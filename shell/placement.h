// The main window's remembered placement: a profile file named after the
// executable with the extension ".INI" in the user's configuration folder,
// one section per window ("TfrmMain"), with these keys:
//
//   FormVersion=0
//   Flags=<int>                       placement flags (2: restore to maximised)
//   ShowCmd=<int>                     1 normal, 2 minimised, 3 maximised
//   PixelsPerInch=<int>               the screen's logical dots per inch
//   MinMaxPos=<x>,<y>,<x>,<y>         minimised then maximised position
//   MinMaxPos(<W>x<H>)=...            the same, for that screen size
//   NormPos=<l>,<t>,<r>,<b>           the normal (restored) outer rectangle,
//   NormPos(<W>x<H>)=...              right and bottom exclusive
//   Visible=<0|1>                     0 written at closing, 1 at destruction
#pragma once

#include "store/profile_file.h"

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

class QWidget;

namespace quillmere {

// Key-by-key access to a profile file, so the rules below can be tested on
// a map and used on the real file alike.
class ProfileAccess {
public:
    virtual ~ProfileAccess() = default;
    virtual bool hasKey(const QString& section, const QString& key) const = 0;
    // The value, or `fallback` when the key is missing.
    virtual QString readString(const QString& section, const QString& key,
                               const QString& fallback) const = 0;
    // Throws when the file cannot be written.
    virtual void writeString(const QString& section, const QString& key, const QString& value) = 0;
};

// ProfileAccess over a profile file on disk (store/profile_file.h).
class ProfileFileAccess : public ProfileAccess {
public:
    explicit ProfileFileAccess(const QString& path);
    bool hasKey(const QString& section, const QString& key) const override;
    QString readString(const QString& section, const QString& key,
                       const QString& fallback) const override;
    void writeString(const QString& section, const QString& key, const QString& value) override;

private:
    QString path_;
};

// Writes to a profile file collected and written by commit() in one rewrite
// of the file, not one per key. Reads see the file, not the pending writes.
class ProfileFileBatch : public ProfileAccess {
public:
    explicit ProfileFileBatch(const QString& path);
    bool hasKey(const QString& section, const QString& key) const override;
    QString readString(const QString& section, const QString& key,
                       const QString& fallback) const override;
    // Never throws; the value is written by commit().
    void writeString(const QString& section, const QString& key, const QString& value) override;
    // Writes the collected values. Throws FileError naming the file when it
    // cannot be read or written; the old file then stays as it was.
    void commit();

private:
    ProfileFileAccess file_;
    QString path_;
    QList<ProfileValue> pending_;
};

// The window-placement record that is stored.
struct PlacementRecord {
    int flags = 0;
    int showCmd = 1;
    QPoint minPosition{-1, -1};
    QPoint maxPosition{-1, -1};
    QRect normal;  // outer rectangle of the restored window
};

inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kRestoreToMaximizedFlag = 2;

// "%d,%d,%d,%d".
QString FormatFourInts(int a, int b, int c, int d);

// Four integers separated by commas or blanks; a part that is missing or is
// not a number takes the matching default.
std::array<int, 4> ParseFourInts(const QString& value, const std::array<int, 4>& defaults);

// How a stored "ShowCmd" is applied.
enum class RestoredState { Normal, Minimized, Maximized };
RestoredState StateOfShowCmd(int showCmd);

// "<key>(<W>x<H>)".
QString ResolutionKey(const QString& key, const QSize& screen);

// Writes the record under `section`. Throws what the profile writer throws.
void WritePlacement(ProfileAccess& profile, const QString& section, const PlacementRecord& record,
                    const QSize& screen, int pixelsPerInch, bool visible);

// The stored record, when it is to be applied: some position key exists and
// the stored "PixelsPerInch" (missing counts as equal) matches. Missing or
// unreadable parts take 0 ("MinMaxPos") or `currentNormal`'s edges
// ("NormPos"); a missing "ShowCmd" reads as normal. "FormVersion" below 0
// means nothing is restored.
std::optional<PlacementRecord> ReadPlacement(const ProfileAccess& profile, const QString& section,
                                             const QSize& screen, int pixelsPerInch,
                                             const QRect& currentNormal);

// The placement file for an executable: the user's configuration folder
// followed by the executable's base name and ".INI".
QString PlacementFilePath(const QString& executablePath);

// How far the outer rectangle `frame` of a window reaches beyond its client
// rectangle `client` on each side (all zero while no frame is known).
QMargins FrameMargins(const QRect& frame, const QRect& client);

// `outer` moved, and shrunk where it is larger, so that it lies wholly inside
// one of `workAreas` (the primary screen's first). A rectangle that already
// lies inside one of them is returned as it is; any other goes into the area
// it overlaps most, or into the first when it overlaps none. No areas: as it
// is.
QRect PullOntoWorkArea(const QRect& outer, const QList<QRect>& workAreas);

// The outer rectangle of the main window's normal (restored) state. The
// window manager tells the frame it puts around a window only some time after
// the window is mapped (X11), and a maximised window's frame is not the
// normal one's; so the outer rectangle can neither be applied nor read back
// from the frame the window has at one moment. The keeper holds the outer
// rectangle wanted for the normal state until it was applied with a frame
// reported for that state, and remembers that frame for reading the
// rectangle back while the window is maximised. Window-free: the window tells
// it its rectangles and applies the client rectangles it returns.
class NormalRectKeeper {
public:
    // Wants `outer` for the normal state from now on. Returns the client
    // rectangle to give the window: `outer` less the normal state's frame as
    // far as it is known (nothing known: all of `outer`).
    QRect want(const QRect& outer);

    // The window's outer and client rectangles as they are now, and whether
    // it is in the normal state. Returns the client rectangle to give the
    // window when the wanted rectangle is to be applied again because a frame
    // it was not yet applied with was reported for the normal state. When
    // the frame is the one it was applied with but the client rectangle is
    // not the one given (the user moved or resized the window), the wanted
    // rectangle is given up.
    std::optional<QRect> update(const QRect& frame, const QRect& client, bool normalState);

    // The outer rectangle of the normal state for a normal client rectangle
    // `normalClient` (the restored one while maximised): the wanted rectangle
    // while the window still has the client rectangle given for it; else
    // `normalClient` grown by the normal state's frame (the last one seen
    // in the normal state; `currentFrame` when none was seen yet).
    QRect normalOuter(const QRect& normalClient, const QMargins& currentFrame) const;

    const std::optional<QRect>& wanted() const { return wanted_; }

private:
    std::optional<QRect> wanted_;
    QRect givenClient_;
    QMargins appliedFrame_;
    QMargins normalFrame_;
};

// The record of a window as it is now; the normal rectangle comes from
// `keeper` (see NormalRectKeeper::normalOuter).
PlacementRecord CapturePlacement(const QWidget& window, const NormalRectKeeper& keeper);

// Gives a window the outer top-left corner of `outer` and the size of
// `client`.
void PlaceWindow(QWidget& window, const QRect& outer, const QRect& client);

// Applies a record to a window: its normal rectangle through `keeper`, then
// its state.
void ApplyPlacement(QWidget& window, const PlacementRecord& record, NormalRectKeeper& keeper);

}  // namespace quillmere
