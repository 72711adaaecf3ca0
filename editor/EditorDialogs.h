#pragma once
// What the editor's dialogs share: the translation into the current language (the main
// window sets the translator, so that the editor needs nothing of the shell) and the
// picture previews fitted into their view over the transparency checkerboard.
#include <functional>

class TForm;
class TImgView32;

// Translates a dialog when it is created; unset, the dialogs keep their designed texts.
extern std::function<void(TForm&)> EditorDialogTranslator;
void TranslateEditorDialog(TForm& form);

// Makes a view a preview: the checkerboard painted first, the picture centred and blended.
void SetupPreview(TImgView32& view);
// Scales the view's picture to fit its client area with its proportions kept.
void FitPreview(TImgView32& view);
