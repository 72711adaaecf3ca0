#include "capture/frmIconList.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "forms/BitBtn.h"
#include "forms/FilenameEdit.h"
#include "forms/Files.h"
#include "forms/Form.h"
#include "forms/Graphics.h"
#include "forms/Image.h"
#include "forms/ListView.h"
#include "forms/StdCtrls.h"

TIconListForm* IconListForm = nullptr;

namespace {
// Posted when the dialog shows, so that the list fills even without an activation.
constexpr UINT kLoadListMessage = WM_APP + 0x23;
constexpr int kClientWidth = 394;
constexpr int kClientHeight = 255;
// More entries than any real file holds; a damaged file cannot make the list endless.
constexpr UINT kMaxIcons = 10000;
constexpr wchar_t kIconFilter[] =
    L"아이콘 파일 (*.cpl;*.dll;*.drv;*.exe;*.ico;*.ocx)|*.cpl;*.dll;*.drv;*.exe;*.ico;"
    L"*.ocx|모든 파일 (*.*)|*.*";

TFormDesign IconListDesign() {
    return DialogDesign(L"Icon List", kClientWidth, kClientHeight);
}

// Reads a bitmap's pixels as a top-down 32-bit image; false when it cannot be read.
bool ReadPixels(HBITMAP bitmap, int width, int height, std::vector<TColor32>& pixels) {
    BITMAPINFO info = TopDownBitmapInfo(width, height);
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const TWindowDC screen(nullptr, TWindowDC::Client);
    return GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                     DIB_RGB_COLORS) == height;
}

// Restores the cursor shown before a long operation, whatever ends it.
class TWaitCursor {
public:
    TWaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
    ~TWaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};
} // namespace

TIconImageList::TIconImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

TIconImageList::~TIconImageList() {
    if (list_)
        ImageList_Destroy(list_);
}

void TIconImageList::Clear() {
    ImageList_RemoveAll(list_);
}
int TIconImageList::AddIcon(HICON icon) {
    return ImageList_AddIcon(list_, icon);
}
int TIconImageList::Count() const {
    return ImageList_GetImageCount(list_);
}
HICON TIconImageList::GetIcon(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return ImageList_GetIcon(list_, index, ILD_NORMAL);
}

TIconImages ReadIconImages(HICON icon) {
    TIconImages images;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return images;
    const TGdiObject color(info.hbmColor);
    const TGdiObject mask(info.hbmMask);
    BITMAP maskInfo{};
    if (!mask || !GetObjectW(mask.Get(), sizeof maskInfo, &maskInfo))
        return images;
    const int width = maskInfo.bmWidth;
    // A black-and-white icon keeps its mask above its picture in one bitmap twice as high.
    const int height = color ? maskInfo.bmHeight : maskInfo.bmHeight / 2;
    if (width <= 0 || height <= 0 || width > 256 || height > 256)
        return images;
    std::vector<TColor32> maskPixels;
    if (!ReadPixels(static_cast<HBITMAP>(mask.Get()), width, color ? height : 2 * height, maskPixels))
        return images;
    std::vector<TColor32> colorPixels;
    if (color) {
        if (!ReadPixels(static_cast<HBITMAP>(color.Get()), width, height, colorPixels))
            return images;
    } else {
        colorPixels.assign(maskPixels.begin() + width * height, maskPixels.end());
        for (TColor32& c : colorPixels)
            c &= 0x00FFFFFF;
    }
    images.Width = width;
    images.Height = height;
    images.Color = std::move(colorPixels);
    images.Mask.resize(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < images.Mask.size(); ++i)
        images.Mask[i] = (maskPixels[i] & 0x00FFFFFF) != 0;
    return images;
}

void IconToBitmap(HICON icon, TBitmap& bitmap) {
    AssignFromBitmap32(bitmap, IconOnWhite(ReadIconImages(icon)));
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

TIconListForm::TIconListForm(TForm* owner) : TForm(owner, L"IconListForm", IconListDesign()) {
    // Controls in the designed order; the tab order is OK, Cancel, file edit, list.
    BitBtn2 = Make<TBitBtn>(L"BitBtn2", this, TBitBtnKind::bkOK, L"OK", 119, 216);
    BitBtn1 = Make<TBitBtn>(L"BitBtn1", this, TBitBtnKind::bkCancel, L"Cancel", 199, 216);
    FilenameEdit1 = Make<TFilenameEdit>(L"FilenameEdit1", this, 48, 19, 337);
    FilenameEdit1->Filter = kIconFilter;
    IconView = Make<TListView>(L"IconView", this, 8, 48, 377, 153);
    IconView->SetLargeImages(IconList.Handle());
    SelectImage = Make<TImage>(L"SelectImage", this);
    SelectImage->SetBounds(8, 8, 32, 32);

    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnShow = [this](TObject*) { PostMessageW(Handle(), kLoadListMessage, 0, 0); };
    FilenameEdit1->OnChange = [this](TObject* s) { FilenameEdit1Change(s); };
    // A file chosen with the browse button is done with: the list takes the focus.
    FilenameEdit1->BrowseButton()->OnClick = [this](TObject*) {
        FilenameEdit1->Browse();
        if (IconView->Count() > 0)
            SetFocus(IconView->Handle());
    };
    IconView->OnSelectItem = [this](TObject* s, int item, bool selected) {
        IconViewSelectItem(s, item, selected);
    };
}

TIconListForm::~TIconListForm() = default;

void TIconListForm::FormActivate(TObject*) {
    // The program file is loaded once, at the first activation.
    OnActivate = nullptr;
    FilenameEdit1->SetFileName(FileName);
}

void TIconListForm::FilenameEdit1Change(TObject*) {
    LoadIcons(FilenameEdit1->FileName());
    if (IconView->Count() > 0) {
        // While a name is typed the focus stays in the box, whatever the list shows.
        if (GetFocus() != FilenameEdit1->Handle())
            SetFocus(IconView->Handle());
        IconView->SetSelectedIndex(0);
    }
}

LRESULT TIconListForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kLoadListMessage) {
        DoActivate();
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TIconListForm::LoadIcons(const std::wstring& fileName) {
    // While a name is typed, the list keeps what it showed until the name is a file.
    if (!FileExists(fileName))
        return;
    const TWaitCursor wait;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto count =
        static_cast<UINT>(reinterpret_cast<UINT_PTR>(ExtractIconW(instance, fileName.c_str(), UINT_MAX)));
    IconView->Clear();
    IconList.Clear();
    IconView->SetLargeImages(IconList.Handle());
    struct TUpdateHeld {
        TListView* View;
        ~TUpdateHeld() { View->EndUpdate(); }
    } held{IconView};
    IconView->BeginUpdate();
    // A file that is no program or icon file gives no count; it lists nothing.
    for (UINT i = 0; i < count && i < kMaxIcons; ++i) {
        const TIconHandle icon(ExtractIconW(instance, fileName.c_str(), i));
        // An entry that cannot be read is left out rather than listed without a picture.
        if (!icon || reinterpret_cast<UINT_PTR>(icon.Get()) == 1)
            continue;
        const int image = IconList.AddIcon(icon.Get());
        if (image < 0)
            continue;
        IconView->AddItem(std::to_wstring(i), image);
    }
    IconView->SetSelectedIndex(-1);
}

void TIconListForm::IconViewSelectItem(TObject*, int item, bool selected) {
    // A deselection keeps the icon shown last.
    if (!selected)
        return;
    TIconHandle icon(IconList.GetIcon(IconView->ItemImageIndex(item)));
    if (!icon)
        return;
    TBitmap picture;
    IconToBitmap(icon.Get(), picture);
    TPicture shown;
    shown.Assign(picture);
    SelectImage->SetPicture(shown);
    selectedIcon_ = std::move(icon);
}
