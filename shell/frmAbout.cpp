// The About dialog's layout, artwork and texts.
#include "shell/frmAbout.h"

#include <windows.h>

#include "core/StoredValues.h"
#include "forms/Graphics.h"
#include "forms/Handles.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Picture.h"
#include "forms/StdCtrls.h"
#include "shell/WebPages.h"
#include "shell/components/SURLImage.h"
#include "shell/components/SURLLabel.h"
#include "shell/frmMain.h"

TAboutForm* AboutForm = nullptr;

const std::wstring kAboutHomePage = WebPage();
const std::wstring kAboutDonatePage = WebPage(kDonatePath);

namespace {
constexpr wchar_t kProductName[] = L"Tolvex 1.0";
constexpr wchar_t kCredits[] = L"By the Tolvex team";

constexpr wchar_t kEnglishText[] =
    L"Thank you for using Tolvex!\r\n\r\n"
    L"Tolvex takes pictures of your screen: the whole screen, one window, a control under the mouse, a "
    L"region you draw, a whole web page or a timed series. Every capture can open in the editor, go to the "
    L"clipboard or be saved into a folder of your choice.\r\n\r\n"
    L"The editor lets you mark up a capture with pens, shapes, arrows, text and effects, and save it as "
    L"BMP, GIF, JPEG or PNG.\r\n\r\n"
    L"Tolvex is free. If it saves you time, a small donation helps us keep it growing. Ideas and bug reports "
    L"are always welcome on our home page.";

constexpr wchar_t kKoreanText[] =
    L"Tolvex를 사용해 주셔서 감사합니다!\r\n\r\n"
    L"Tolvex는 화면을 손쉽게 캡쳐합니다. 전체 화면, 창 하나, 마우스 아래의 컨트롤, 직접 그린 영역, 웹 페이지 "
    L"전체, 일정한 간격의 연속 캡쳐까지 할 수 있습니다. 캡쳐한 그림은 편집기로 열거나, 클립보드에 "
    L"복사하거나, "
    L"원하는 폴더에 바로 저장할 수 있습니다.\r\n\r\n"
    L"편집기에서는 펜, 도형, 화살표, 글자와 효과로 그림을 꾸미고 BMP, GIF, JPEG, PNG 형식으로 저장할 수 "
    L"있습니다.\r\n\r\n"
    L"Tolvex는 무료입니다. 도움이 되셨다면 작은 후원으로 응원해 주세요. 의견과 오류 제보는 언제나 "
    L"홈페이지에서 "
    L"기다리고 있습니다.";

TFormDesign AboutDesign() {
    TFormDesign d;
    d.Caption = L"About";
    d.Width = 527;
    d.Height = 267;
    d.Style = TFormStyle::StayOnTop;
    d.Border = TBorderStyle::Dialog;
    d.Position = TPosition::ScreenCenter;
    return d;
}

// The program's icon on the dialog's face colour, at the picture's size.
TPicture ProgramPicture(int size) {
    TBitmap bitmap(size, size, TPixelFormat::pf24bit);
    const RECT all{0, 0, size, size};
    FillRect(bitmap.Canvas(), &all, GetSysColorBrush(COLOR_BTNFACE));
    const TIconHandle icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (icon)
        DrawIconEx(bitmap.Canvas(), 0, 0, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
    TPicture picture;
    picture.Assign(bitmap);
    return picture;
}

// The donation button: a rounded plate with its word, in the colour of its state.
TPicture DonatePicture(COLORREF plate) {
    constexpr int kWidth = 92;
    constexpr int kHeight = 28;
    TBitmap bitmap(kWidth, kHeight, TPixelFormat::pf24bit);
    const HDC dc = bitmap.Canvas();
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    const TGdiObject brush(CreateSolidBrush(plate));
    const HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    RoundRect(dc, 0, 0, kWidth, kHeight, 10, 10);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT text = all;
    DrawTextW(dc, L"Donate", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    TPicture picture;
    picture.Assign(bitmap);
    return picture;
}
} // namespace

std::wstring AboutText(const std::wstring& language) {
    return language == kLanguageKorea ? kKoreanText : kEnglishText;
}

TAboutForm::TAboutForm(TMainForm* owner) : TForm(owner, L"AboutForm", AboutDesign()), main_(owner) {
    Image1 = Make<TImage>(L"Image1", this);
    Image1->SetBounds(16, 16, 48, 48);
    Image1->SetPicture(ProgramPicture(48));
    lblProduct = Make<TLabel>(L"lblProduct", this, kProductName);
    lblProduct->SetBounds(76, 18, 118, 13);
    lblCredits = Make<TLabel>(L"lblCredits", this, kCredits);
    lblCredits->SetBounds(76, 36, 118, 13);
    SURLLabel1 = Make<TSURLLabel>(L"SURLLabel1", this, L"www.tolvex.net");
    SURLLabel1->SetBounds(76, 54, 118, 13);
    SURLLabel1->SetURL(kAboutHomePage);

    SURLImage1 = Make<TSURLImage>(L"SURLImage1", this);
    SURLImage1->SetBounds(16, 150, 92, 28);
    SURLImage1->SetPicture(DonatePicture(RGB(255, 214, 90)));
    SURLImage1->Loaded();
    const TPicture hover = DonatePicture(RGB(255, 236, 160));
    SURLImage1->SetMouseEnterPicture(&hover);
    const TPicture held = DonatePicture(RGB(230, 180, 40));
    SURLImage1->SetMouseDownPicture(&held);
    SURLImage1->SetURL(kAboutDonatePage);
    SURLImage1->SetHint(L"Donate");

    Memo1 = Make<TMemo>(L"Memo1", this, 200, 16, 300, 160);
    Memo1->SetReadOnly(true);
    btnOK = Make<TButton>(L"btnOK", this, L"OK", 425, 190);
    btnOK->ModalResult = mrOk;
    btnOK->SetDefault(true);
    btnOK->SetCancel(true);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TAboutForm::FormCreate(TObject*) {
    main_->ApplyLanguage(this);
    Memo1->SetText(AboutText(main_->ReadString(SettingName::kLanguage)));
}
