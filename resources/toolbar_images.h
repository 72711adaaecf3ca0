#pragma once
// The tool-bar pictures, written by tools/make-artwork (edit the script, not this file).
// Each strip is a 32-bit bitmap resource with straight (not premultiplied) alpha: pictures
// of kToolbarImageSize x kToolbarImageSize pixels side by side, the first at the left.

#ifndef RC_INVOKED
// The main window's two tool bars, one picture per action in the bars' order.
inline constexpr wchar_t kToolbarImagesResource[] = L"TOOLBAR_IMAGES";
// The tool window's tool buttons: the picture of a tool is at the index of its tool code.
inline constexpr wchar_t kToolImagesResource[] = L"TOOL_IMAGES";
inline constexpr int kToolbarImageSize = 16;
// The options dialog: its page buttons' pictures (Default, Shortcut), then its OK and
// Default buttons' pictures.
inline constexpr wchar_t kOptionPageImagesResource[] = L"OPTION_PAGE_IMAGES";
inline constexpr int kOptionPageImageSize = 32;
inline constexpr wchar_t kOptionButtonImagesResource[] = L"OPTION_BUTTON_IMAGES";

inline constexpr int kImgFileNew = 0;
inline constexpr int kImgFileOpen = 1;
inline constexpr int kImgFileAddImage = 2;
inline constexpr int kImgFileSave = 3;
inline constexpr int kImgFileClose = 4;
inline constexpr int kImgEditUndo = 5;
inline constexpr int kImgEditRedo = 6;
inline constexpr int kImgEditCut = 7;
inline constexpr int kImgEditCopy = 8;
inline constexpr int kImgEditPaste = 9;
inline constexpr int kImgEditDelete = 10;
inline constexpr int kImgToolOption = 11;
inline constexpr int kImgHelp = 12;
inline constexpr int kImgQnA = 13;
inline constexpr int kImgDonate = 14;
inline constexpr int kImgAbout = 15;
inline constexpr int kImgCaptureControl = 16;
inline constexpr int kImgCaptureWindow = 17;
inline constexpr int kImgCaptureRegion = 18;
inline constexpr int kImgCaptureRect = 19;
inline constexpr int kImgCaptureScreen = 20;
inline constexpr int kImgCaptureDualScreen = 21;
inline constexpr int kImgCaptureContinuity = 22;
inline constexpr int kImgCaptureIcon = 23;
inline constexpr int kImgCaptureRecapture = 24;
inline constexpr int kImgEffectAutoContrast = 25;
inline constexpr int kImgEffectBrightness = 26;
inline constexpr int kImgEffectContrast = 27;
inline constexpr int kImgEffectGamma = 28;
inline constexpr int kImgEffectInvert = 29;
inline constexpr int kImgEffectGray = 30;
inline constexpr int kImgEffectMosic = 31;
inline constexpr int kImgEffectNoise = 32;
inline constexpr int kImgEffectRotate = 33;
inline constexpr int kImgEffectCrop = 34;
inline constexpr int kImgEffectResize = 35;
inline constexpr int kImgEffectResizeCanvas = 36;
inline constexpr int kToolbarImageCount = 37;
inline constexpr int kToolImageCount = 20;
#endif
