#pragma once
// A picture: an optional graphic (a bitmap) that controls draw and copy. Copies are deep,
// so a control's picture never shares its bitmap with the one it was given.
#include <windows.h>

#include "forms/Handles.h"

class TBitmap;

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture& other);
    TPicture& operator=(const TPicture& other);
    TPicture(TPicture&&) noexcept = default;
    TPicture& operator=(TPicture&&) noexcept = default;

    // Whether the picture holds a graphic.
    bool HasGraphic() const { return static_cast<bool>(bitmap_); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Bitmap() const { return static_cast<HBITMAP>(bitmap_.Get()); }

    // Takes a copy of a bitmap (null empties the picture); the caller keeps its own. The
    // bitmap must not be selected into a device context: use Assign for a TBitmap.
    void SetBitmap(HBITMAP source);
    // Takes a copy of the class library's bitmap through its canvas.
    void Assign(const TBitmap& source);
    void Assign(const TPicture& other) { *this = other; }
    void Clear();
    // Draws the graphic stretched into dest; nothing without one.
    void Draw(HDC dc, const RECT& dest) const;

private:
    TGdiObject bitmap_;
    int width_ = 0;
    int height_ = 0;
};
