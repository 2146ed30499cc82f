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

// The record of a window as it is now (outer rectangle of its normal state).
PlacementRecord CapturePlacement(const QWidget& window);

// Gives a window the outer rectangle `outer`.
void ApplyNormalRect(QWidget& window, const QRect& outer);

// Applies a record to a window: its outer normal rectangle (with the frame
// it has at the moment), then its state.
void ApplyPlacement(QWidget& window, const PlacementRecord& record);

}  // namespace quillmere
