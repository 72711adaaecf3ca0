#include "forms/BitBtn.h"

#include "forms/ComCtrls.h"
#include "forms/Form.h"
#include "resources/toolbar_images.h"

HIMAGELIST GlyphList(HIMAGELIST strip, int index) {
    const HICON icon = strip ? ImageList_GetIcon(strip, index, ILD_NORMAL) : nullptr;
    if (!icon)
        return nullptr;
    int width = 0, height = 0;
    ImageList_GetIconSize(strip, &width, &height);
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32, 1, 0);
    if (list)
        ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
    return list;
}

void ShowButtonGlyph(HWND button, HIMAGELIST glyph, UINT align) {
    // A picture alone in the middle needs no margin to keep it off the caption.
    const int margin = align == BUTTON_IMAGELIST_ALIGN_CENTER ? 0 : 2;
    BUTTON_IMAGELIST info{glyph, {margin, margin, margin, margin}, align};
    SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&info));
    InvalidateRect(button, nullptr, TRUE);
}

HIMAGELIST SetButtonGlyph(HWND button, HIMAGELIST strip, int index, UINT align) {
    HIMAGELIST list = GlyphList(strip, index);
    if (list)
        ShowButtonGlyph(button, list, align);
    return list;
}

void DestroyButtonGlyph(HWND button, HIMAGELIST glyph) {
    if (!glyph)
        return;
    // The button must not paint a list that is gone.
    if (button)
        ShowButtonGlyph(button, nullptr, BUTTON_IMAGELIST_ALIGN_LEFT);
    ImageList_Destroy(glyph);
}

TBitBtn::TBitBtn(TForm* owner, std::wstring name, TWindow* parent, TBitBtnKind kind,
                 const std::wstring& caption, int left, int top, int width, int height)
    : TButton(owner, std::move(name), parent, caption, left, top, width, height), kind_(kind) {
    const bool ok = kind == TBitBtnKind::bkOK;
    ModalResult = ok ? mrOk : mrCancel;
    if (ok)
        SetDefault(true);
    else
        SetCancel(true);
    if (HIMAGELIST strip = LoadImageStrip(kButtonKindImagesResource, kToolbarImageSize)) {
        glyph_ = SetButtonGlyph(Handle(), strip, ok ? 0 : 1, BUTTON_IMAGELIST_ALIGN_LEFT);
        ImageList_Destroy(strip);
    }
}

TBitBtn::~TBitBtn() {
    DestroyButtonGlyph(Handle(), glyph_);
}
