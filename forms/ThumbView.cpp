#include "forms/ThumbView.h"

#include <windows.h>

#include <algorithm>

#include "forms/Files.h"
#include "forms/Form.h"
#include "forms/Handles.h"
#include "forms/ImageCodecs.h"

namespace {
constexpr int kTitleHeight = 16;

bool LessByName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}
} // namespace

TBitmap32 StretchToSquare(const TBitmap32& source, int size) {
    TBitmap32 out(size, size);
    if (source.Empty())
        return out;
    for (int y = 0; y < size; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * source.Height() / size);
        for (int x = 0; x < size; ++x)
            out.SetPixel(
                x, y, source.Pixel(static_cast<int>(static_cast<long long>(x) * source.Width() / size), sy));
    }
    return out;
}

TThumbView::TThumbView(TForm* owner, std::wstring name, TWindow* parent)
    : TPaintedControl(owner, std::move(name), parent) {
    CreateOwnWindow(L"TolvexThumbView", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                    parent->Handle(), 0, 0, 170, 110, nullptr, CS_DBLCLKS,
                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

int TThumbView::ThumbSize() const {
    RECT r;
    GetClientRect(Handle(), &r);
    return std::clamp(static_cast<int>(r.bottom) - kTitleHeight - 2 * kThumbGap, 8, kMaxThumbSize);
}

bool TThumbView::Matches(const std::wstring& fileName) const {
    const std::size_t dot = fileName.rfind(L'.');
    if (dot == std::wstring::npos)
        return false;
    const std::wstring ext = fileName.substr(dot + 1);
    return std::any_of(filter_.begin(), filter_.end(), [&](const std::wstring& f) {
        return CompareStringOrdinal(ext.c_str(), static_cast<int>(ext.size()), f.c_str(),
                                    static_cast<int>(f.size()), TRUE) == CSTR_EQUAL;
    });
}

void TThumbView::SetDirectory(const std::wstring& directory) {
    directory_ = directory;
    items_.clear();
    selected_ = -1;
    scroll_ = 0;
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = directory + L"\\*";
    TFindHandle find(FindFirstFileW(pattern.c_str(), &data));
    if (find) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Matches(data.cFileName))
                names.emplace_back(data.cFileName);
        } while (FindNextFileW(find.Get(), &data));
    }
    std::sort(names.begin(), names.end(), LessByName);
    const int size = ThumbSize();
    for (const std::wstring& name : names) {
        TBitmap32 picture;
        std::wstring error;
        // A damaged or foreign file is no stamp; the others still show.
        if (!LoadImageFile(directory + L"\\" + name, picture, error) || picture.Empty())
            continue;
        items_.push_back(TItem{directory + L"\\" + name, name, StretchToSquare(picture, size)});
    }
    UpdateScrollBar();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TThumbView::SetSelected(int index) {
    const int value = index >= 0 && index < Count() ? index : -1;
    if (ChangeProperty(selected_, value))
        InvalidateRect(Handle(), nullptr, TRUE);
}

std::wstring TThumbView::SelectedFile() const {
    return selected_ >= 0 ? FileName(selected_) : std::wstring();
}

void TThumbView::UpdateScrollBar() {
    RECT r;
    GetClientRect(Handle(), &r);
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = std::max(0, Count() * (ThumbSize() + kThumbGap) + kThumbGap - 1);
    si.nPage = static_cast<UINT>(std::max(0L, r.right));
    si.nPos = scroll_;
    SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
}

void TThumbView::MouseDown(TMouseButton, int x, int) {
    const int step = ThumbSize() + kThumbGap;
    const int pos = x + scroll_ - kThumbGap;
    const int index = pos >= 0 && pos % step < ThumbSize() ? pos / step : -1;
    SetSelected(index);
}

LRESULT TThumbView::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HSCROLL) {
        SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), SB_HORZ, &si);
        int pos = si.nPos;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT:
            pos -= 16;
            break;
        case SB_LINERIGHT:
            pos += 16;
            break;
        case SB_PAGELEFT:
            pos -= static_cast<int>(si.nPage);
            break;
        case SB_PAGERIGHT:
            pos += static_cast<int>(si.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = si.nTrackPos;
            break;
        default:
            break;
        }
        scroll_ = std::clamp(pos, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
        UpdateScrollBar();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }
    if (msg == WM_SIZE)
        UpdateScrollBar();
    return TPaintedControl::WndProc(msg, wParam, lParam);
}

void TThumbView::Paint(HDC dc) {
    const int size = ThumbSize();
    const HGDIOBJ oldFont = SelectObject(dc, Owner()->FontHandle());
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < Count(); ++i) {
        const TItem& item = items_[static_cast<std::size_t>(i)];
        const int left = kThumbGap + i * (size + kThumbGap) - scroll_;
        BITMAPINFO bi{};
        bi.bmiHeader = {
            sizeof(BITMAPINFOHEADER), item.Thumb.Width(), -item.Thumb.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        StretchDIBits(dc, left, kThumbGap, size, size, 0, 0, item.Thumb.Width(), item.Thumb.Height(),
                      item.Thumb.Bits(), &bi, DIB_RGB_COLORS, SRCCOPY);
        if (i == selected_) {
            RECT frame{left - 2, kThumbGap - 2, left + size + 2, kThumbGap + size + 2};
            FrameRect(dc, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        RECT title{left, kThumbGap + size, left + size, kThumbGap + size + kTitleHeight};
        DrawTextW(dc, item.Title.c_str(), static_cast<int>(item.Title.size()), &title,
                  DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}
