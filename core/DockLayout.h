#pragma once
// The arithmetic of the dock area at a window's left edge: whether a pane released at a
// point docks, how far the splitter may move, where a floating pane goes, and how a pane
// that lies beyond every monitor comes back onto one. Screen coordinates throughout.
#include <span>

#include "core/Geometry.h"

// How close to the host's left client edge a released pane docks, in pixels.
constexpr int kDockSnapDistance = 24;
// The narrowest the dock panel, and the document area beside it, may be dragged.
constexpr int kDockMinSize = 200;

// True when a pane released at the cursor docks: within the snap distance of the left edge
// of the band where the dock panel lives (and between its top and bottom), or over the
// visible dock panel (empty when it is hidden).
bool ReleaseDocks(TPoint cursor, const TRect& dockBand, const TRect& dockPanel);

// The dock panel's width after a splitter drag that asks for requested: neither the panel
// nor what is left of the site beside the splitter becomes narrower than minSize. When the
// site is too narrow for both, the width stays as it is.
int SplitterDragWidth(int requested, int current, int siteWidth, int splitterWidth,
                      int minSize = kDockMinSize);

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
