#pragma once
// The arithmetic of the region overlay, the fixed-rectangle and the timed-series captures:
// the rubber band from two corners, a fixed rectangle centred on the pointer, the corner
// the magnifier panel stands in, the overlay's label texts, the size presets of the
// rectangle dialog and the page clock of the series. All coordinates
// are those of the virtual-desktop picture unless a name says screen.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/Geometry.h"
#include "core/NumberFormat.h"
#include "core/ScreenGeometry.h"

// ---- Rubber band and fixed rectangle ----

// The rectangle spanned by the anchor and the moving corner, whichever way the drag went:
// left <= right, top <= bottom.
TRect NormalizedRect(TPoint anchor, TPoint corner);
// A rectangle of the given size centred on a point (the half sizes cut toward zero).
TRect CenteredRect(TPoint center, TSize size);
// Whether a selection is accepted: some width and some height.
constexpr bool SelectionAccepted(const TRect& r) {
    return r.Right != r.Left && r.Bottom != r.Top;
}

// ---- Magnifier ----

// The magnified view: 200 x 200 pixels showing the 100 x 100 square around the centre.
inline constexpr int kMagnifierSize = 200;
inline constexpr int kMagnifierSpan = 100;
TRect MagnifierSource(TPoint center);

// Where the magnifier panel stands on its monitor.
enum class TZoomCorner : std::uint8_t { None = 0, BottomRight = 1, TopLeft = 2 };
// Distance the pointer keeps from the panel's corner area before the panel jumps away.
inline constexpr int kZoomMargin = 50;

struct TZoomPlace {
    TZoomCorner Corner = TZoomCorner::None;
    int Monitor = 0;
    // The panel's position in the overlay's client coordinates.
    TPoint Position;
    // False when the panel stays where it was (Position is then meaningless).
    bool Moved = false;
};

// The monitor the pointer (screen coordinates) lies on, edges included; when none holds
// it, the nearest one. -1 only for an empty list.
int MonitorAtPoint(std::span<const TMonitor> monitors, TPoint screenPoint);

// Where the panel of the given size goes for a pointer at screenPoint, given where it
// stands now (corner and monitor). origin is the overlay's top-left corner on the screen.
// The panel starts in the top-left corner of the pointer's monitor, follows the pointer
// to another monitor, and jumps to the opposite corner when the pointer comes within the
// margin of its corner area.
TZoomPlace PlaceZoomPanel(std::span<const TMonitor> monitors, TPoint screenPoint, TZoomCorner corner,
                          int monitor, TSize panel, TPoint origin);

// ---- Label texts ----

// "Position : X=12 , Y=1,024"
std::wstring PositionText(TPoint p, std::wstring_view separator);
// "Size : Width=320 , Height=240"; the sizes are taken as absolute values.
std::wstring SelectionSizeText(int width, int height, std::wstring_view separator);

// ---- Fixed-rectangle dialog ----

inline constexpr int kRectSideMin = 1;
inline constexpr int kRectSideMax = 5120;
// The preset texts of the size list, "User Select" first.
inline constexpr std::wstring_view kRectPresetTexts[] = {
    L"User Select", L"320 x 200",  L"640 x 480",  L"800 x 600",   L"1024 x 768",
    L"1152 x 864",  L"1280 x 768", L"1280 x 960", L"1280 x 1024", L"1600 x 1200",
};
// The size a preset sets; none for "User Select" and for indexes outside the list.
std::optional<TSize> RectPreset(int index);
// A stored rectangle side brought into 1..5120.
int ClampRectSide(std::int64_t side);

// ---- Timed series ----

inline constexpr int kRepeatDelayMin = 1;
inline constexpr int kRepeatDelayMax = 60;
inline constexpr int kRepeatCountMin = 1;
inline constexpr int kRepeatCountMax = 30;
// Ticks of the series' clock per second.
inline constexpr int kRepeatTicksPerSecond = 10;

// The delay in seconds brought into 1..60.
int ClampRepeatDelay(std::int64_t seconds);
// The page count brought into 1..30; a count below 1 starts no series (none).
std::optional<int> RepeatPageCount(std::int64_t count);

// The page clock of the series: one Tick per 100 ms; every delay x 10 ticks a page is due.
class TSeriesClock {
public:
    TSeriesClock(int delaySeconds, int pageCount);

    struct TTick {
        bool TakePage = false; // a page is due now
        bool Finished = false; // it is the last page: the series ends after it
        int Position = 0;      // the progress bar's position: ticks since the last page
    };
    TTick Tick();

    int Ticks() const { return ticks_; }
    int TicksPerPage() const { return ticksPerPage_; }
    int PagesDone() const { return pagesDone_; }
    int PageCount() const { return pageCount_; }

private:
    int ticks_ = 0;
    int ticksPerPage_;
    int pagesDone_ = 0;
    int pageCount_;
};

// The strip's label: "2 / 5 Page".
std::wstring PageLabelText(int pagesDone, int pageCount);
