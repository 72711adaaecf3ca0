#pragma once
// A thumbnail view: the picture files of one folder whose extension is in the filter, sorted
// by name, each shown stretched to a square frame (at most kMaxThumbSize, fitted to the
// view's height) with its name under it, in one row that scrolls horizontally. Only the
// small thumbnails are kept in memory; files that cannot be read as pictures are left out.
#include <windows.h>

#include <string>
#include <vector>

#include "core/Bitmap32.h"
#include "forms/PaintedControl.h"

class TThumbView : public TPaintedControl<TControl> {
public:
    static constexpr int kMaxThumbSize = 80;
    static constexpr int kThumbGap = 4;

    TThumbView(TForm* owner, std::wstring name, TWindow* parent);

    // Extensions without the dot, compared without regard to case.
    void SetFilter(std::vector<std::wstring> extensions) { filter_ = std::move(extensions); }
    const std::wstring& Directory() const { return directory_; }
    // Lists the folder's pictures anew; a missing folder gives an empty view.
    void SetDirectory(const std::wstring& directory);

    int Count() const { return static_cast<int>(items_.size()); }
    // Full path of item i.
    const std::wstring& FileName(int i) const { return items_[static_cast<std::size_t>(i)].Path; }
    const TBitmap32& Thumbnail(int i) const { return items_[static_cast<std::size_t>(i)].Thumb; }
    int ThumbSize() const;
    // The selected item, -1 for none; its full path, empty for none.
    int Selected() const { return selected_; }
    void SetSelected(int index);
    std::wstring SelectedFile() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;
    void MouseDown(TMouseButton button, int x, int y) override;

private:
    struct TItem {
        std::wstring Path;
        std::wstring Title;
        TBitmap32 Thumb;
    };
    bool Matches(const std::wstring& fileName) const;
    void UpdateScrollBar();
    std::vector<std::wstring> filter_;
    std::wstring directory_;
    std::vector<TItem> items_;
    int selected_ = -1;
    int scroll_ = 0; // pixels scrolled to the right
};

// A picture stretched to size x size by nearest samples.
TBitmap32 StretchToSquare(const TBitmap32& source, int size);
