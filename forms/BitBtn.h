#pragma once
// Buttons with a picture beside their caption: the OK and Cancel buttons of the dialogs, whose
// kind brings their picture, their modal result and the key that presses them.
#include <windows.h>

#include <commctrl.h>

#include "forms/StdCtrls.h"

// A list of one picture of a strip, which a button shows in every state; null when the
// strip or the picture is missing. The caller destroys it.
HIMAGELIST GlyphList(HIMAGELIST strip, int index);
// Shows a one-picture list on a button (aligned by BUTTON_IMAGELIST_ALIGN_*), or no picture
// for null. The button does not own the list.
void ShowButtonGlyph(HWND button, HIMAGELIST glyph, UINT align);
// Both at once: returns the button's list, which the caller destroys with DestroyButtonGlyph.
HIMAGELIST SetButtonGlyph(HWND button, HIMAGELIST strip, int index, UINT align);
// Takes a picture off a button and destroys the list it showed.
void DestroyButtonGlyph(HWND button, HIMAGELIST glyph);

enum class TBitBtnKind { bkOK, bkCancel };

class TBitBtn : public TButton {
public:
    // OK: the default button, result OK, a green tick. Cancel: the cancel button, result
    // Cancel, a red cross. The caption stays the caller's, so that it can be translated.
    TBitBtn(TForm* owner, std::wstring name, TWindow* parent, TBitBtnKind kind, const std::wstring& caption,
            int left, int top, int width = 75, int height = 25);
    ~TBitBtn() override;
    TBitBtn(const TBitBtn&) = delete;
    TBitBtn& operator=(const TBitBtn&) = delete;

    TBitBtnKind Kind() const { return kind_; }
    // The picture shown (none without the program's artwork).
    HIMAGELIST Glyph() const { return glyph_; }

private:
    TBitBtnKind kind_;
    HIMAGELIST glyph_ = nullptr;
};
