#pragma once
// What the editor's dialogs share: the translation into the current language (the main
// window sets the translator, so that the editor needs nothing of the shell) and the
// picture previews fitted into their view over the transparency checkerboard.
#include <windows.h>

#include <functional>

#include "forms/Form.h"

class TImgView32;
struct TMessageTexts;

// The base of the editor's dialogs: Enter, Esc and Tab work in them as in any dialog, also
// when the dialog belongs to another window.
class TEditorDialog : public TForm {
public:
    using TForm::TForm;
    bool PreTranslateMessage(MSG& msg) override;
};

// Translates a dialog when it is created; unset, the dialogs keep their designed texts.
extern std::function<void(TForm&)> EditorDialogTranslator;
void TranslateEditorDialog(TForm& form);
// The message texts of the current language, which the main window holds; unset, the
// dialogs show the default texts.
extern const TMessageTexts* EditorMessages;
const TMessageTexts& EditorMessageTexts();

// Makes a view a preview: the checkerboard painted first, the picture centred and blended.
void SetupPreview(TImgView32& view);
// Scales the view's picture to fit its client area with its proportions kept.
void FitPreview(TImgView32& view);
