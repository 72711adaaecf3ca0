#include "editor/EditorDialogs.h"

#include <windows.h>

#include <algorithm>

#include "core/ImgViewPaint.h"
#include "core/LanguageText.h"
#include "forms/Form.h"
#include "forms/ImgView32.h"

std::function<void(TForm&)> EditorDialogTranslator;

void TranslateEditorDialog(TForm& form) {
    if (EditorDialogTranslator)
        EditorDialogTranslator(form);
}

const TMessageTexts* EditorMessages = nullptr;

const TMessageTexts& EditorMessageTexts() {
    static const TMessageTexts defaults;
    return EditorMessages ? *EditorMessages : defaults;
}

bool TEditorDialog::PreTranslateMessage(MSG& msg) {
    if (TForm::PreTranslateMessage(msg))
        return true;
    // The dialog manager turns Enter into the default button's click and Esc into Cancel.
    return (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && IsDialogMessageW(Handle(), &msg);
}

void SetupPreview(TImgView32& view) {
    // The background stage becomes the checkerboard, so transparent pixels show as such.
    std::vector<TPaintStage>& stages = view.PaintStages();
    if (!stages.empty() && stages.front().Stage == PST_CLEAR_BACKGND)
        stages.front().Stage = PST_CUSTOM;
    view.OnPaintStage = [](TObject*, TBitmap32& buffer, unsigned) { PaintCheckerboard(buffer); };
    view.SetBitmapAlign(TBitmapAlign::Center);
    view.SetBitmapDrawMode(TDrawMode::dmBlend);
}

void FitPreview(TImgView32& view) {
    const TBitmap32& bitmap = view.Bitmap();
    RECT client{};
    GetClientRect(view.Handle(), &client);
    if (bitmap.Empty() || client.right <= 0 || client.bottom <= 0)
        return;
    const double scale = std::min(static_cast<double>(client.right) / bitmap.Width(),
                                  static_cast<double>(client.bottom) / bitmap.Height());
    view.SetScale(scale);
}
