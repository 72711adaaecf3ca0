#pragma once
// The arithmetic of the dock areas at a window's left and right edges: whether a pane
// released at a point docks, how far a splitter may move, where a floating pane goes, and
// how a pane that lies beyond every monitor comes back onto one. Screen coordinates
// throughout.
#include <cstdint>
#include <span>

#include "core/Geometry.h"

// The edge of the host's client area where a dock panel lives.
enum class TDockSide : std::uint8_t { Left = 0, Right = 1 };

// How close to the host's client edge a released pane docks, in pixels.
constexpr int kDockSnapDistance = 24;
// The narrowest the dock panel, and the document area beside it, may be dragged.
constexpr int kDockMinSize = 200;

// True when a pane released at the cursor docks on this side: within the snap distance of
// the side's edge of the band where the dock panels live (and between its top and bottom),
// or over the side's visible dock panel (empty when it is hidden). The right edge mirrors
// the left one: its last column inside counts as the left edge's first.
bool ReleaseDocks(TPoint cursor, const TRect& dockBand, const TRect& dockPanel,
                  TDockSide side = TDockSide::Left);

// The dock panel's width after a splitter drag that asks for requested: neither the panel
// nor what is left of the site beside the splitter becomes narrower than minSize. When the
// site is too narrow for both, the width stays as it is.
int SplitterDragWidth(int requested, int current, int siteWidth, int splitterWidth,
                      int minSize = kDockMinSize);

// The width a splitter drag asks for when the splitter's left edge moves to splitterLeft:
// the splitter lies at the panel's right edge on the left side, at its left edge on the
// right side.
int SplitterRequestedWidth(TDockSide side, const TRect& panel, int splitterLeft, int splitterWidth);

// What the panel, its splitter and the document area share: from the panel's outer edge to
// the far edge of the document area (remainder, the columns left beside the side panels).
int SplitterSiteWidth(TDockSide side, const TRect& panel, const TRect& remainder);

// The rectangle of a pane of the given size whose caption is held at grab (the cursor's
// offset from the pane's top-left corner) while the cursor is at the given point.
TRect PaneRectAt(TPoint cursor, TPoint grab, TSize size);

// A pane that lies wholly outside every work area moves onto the nearest one, as far
// inside it as its size allows (its top-left corner stays visible when it is larger);
// a pane that shows anywhere stays where it is. No work areas: the pane stays.
TRect BringOntoNearestArea(const TRect& pane, std::span<const TRect> workAreas);

// The scroll position of content of the given height in a view of the given height:
// between 0 and content - view.
int ClampScrollPosition(int position, int content, int view);
