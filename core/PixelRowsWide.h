#pragma once
// The 256-bit forms of the busiest pixel loops, for processors that have them (AVX2). They
// are compiled for that instruction set alone and called only after the processor said it
// has it, so the program still runs on any processor with SSE2.
#include <cstddef>
#include <cstdint>

#include "core/Bitmap32.h"

namespace pixel_rows::wide {

// Whether this processor runs the wide loops, and the tests have not turned them off.
bool Available();

// Blends whole groups of sixteen pixels as pixel_rows::BlendRow does (any group over a
// background that is not opaque throughout through the plain loop) and returns how many
// pixels it did: count rounded down to sixteen. Call only when Available().
std::size_t BlendRowGroups(TColor32* dst, const TColor32* src, std::size_t count, std::uint8_t masterAlpha);

} // namespace pixel_rows::wide
