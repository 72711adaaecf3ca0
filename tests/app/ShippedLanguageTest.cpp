// The language files shipped in the program folder against the forms they translate: every
// key names a component of its form, every translated form has its section in both files,
// and switching to Korean and back to English restores the designed texts.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "LanguageTestSupport.h"
#include "NoDialogHost.h"
#include "capture/CaptureDialogHost.h"
#include "capture/dlgCaptureRect.h"
#include "capture/dlgCaptureRepeat.h"
#include "core/IniFile.h"
#include "core/StoredValues.h"
#include "editor/dlgImageCrop.h"
#include "editor/dlgImageEffect.h"
#include "editor/dlgImageResize.h"
#include "editor/dlgImageRotate.h"
#include "editor/dlgNewCapture.h"
#include "editor/frmText.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/ComboBox.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "shell/SLanguage.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmOption.h"
#include "tests/forms/FormsTestSupport.h"

namespace {

// The shipped bytes of a language file, read from the program folder of the build.
std::string ShippedBytes(const wchar_t* name) {
    const char* dist = std::getenv("TOLVEX_DIST_DIR");
    if (!dist)
        return {};
    const std::wstring path =
        L"Z:" + std::wstring(dist, dist + std::char_traits<char>::length(dist)) + L"\\Language\\" + name;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A tool window host with no documents and an empty store.
IToolHost& NoToolHost() {
    struct THost : IToolHost {
        IToolDocument* ActiveToolDocument() override { return nullptr; }
        void SetStatusText(int, const std::wstring&) override {}
        void UpdateChildCursors() override {}
        std::int32_t StoredInteger(std::wstring_view) const override { return 0; }
    };
    static THost host;
    return host;
}

// Every form that the language files translate and that exists in the program.
struct TTranslatedForm {
    const wchar_t* Section;
    std::function<TFormPtr<TForm>()> Create;
};
// A translated dialog together with the main window that owns it, freed after it.
struct TMainHolder {
    TFormPtr<TMainForm> Main = CreateForm<TMainForm>();
};
template <class TDialog> class TDialogWithMain : private TMainHolder, public TDialog {
public:
    TDialogWithMain() : TDialog(Main.get()) {}
};
template <class TDialog> TFormPtr<TForm> CreateDialogWithMain() {
    return TFormPtr<TForm>(CreateForm<TDialogWithMain<TDialog>>().release());
}

std::vector<TTranslatedForm> TranslatedForms() {
    return {
        {L"MainForm", [] { return TFormPtr<TForm>(CreateForm<TMainForm>().release()); }},
        {L"OptionForm", CreateDialogWithMain<TOptionForm>},
        {L"AboutForm", CreateDialogWithMain<TAboutForm>},
        {L"CaptureRecDialog",
         [] { return TFormPtr<TForm>(CreateForm<TCaptureRecDialog>(nullptr, NoDialogHost()).release()); }},
        {L"CaptureRepeatDialog",
         [] { return TFormPtr<TForm>(CreateForm<TCaptureRepeatDialog>(nullptr, NoDialogHost()).release()); }},
        {L"ImageEffectDialog", CreateDialogWithMain<TImageEffectDialog>},
        {L"ImageResizeForm", CreateDialogWithMain<TImageResizeForm>},
        {L"ImageCropForm", CreateDialogWithMain<TImageCropForm>},
        {L"ImageRotateDialog", CreateDialogWithMain<TImageRotateDialog>},
        {L"TextForm", CreateDialogWithMain<TTextForm>},
        {L"NewCaptureDialog",
         [] { return TFormPtr<TForm>(CreateForm<TNewCaptureDialog>(nullptr).release()); }},
        {L"ToolForm", [] { return TFormPtr<TForm>(CreateForm<TToolForm>(NoToolHost()).release()); }},
    };
}

bool IsFormKey(const std::wstring& key) {
    return SameIniName(key, kCaptionKey) || SameIniName(key, kFontNameKey) || SameIniName(key, kFontSizeKey);
}

// Captions and hints of a form's actions and named menu items, by name.
std::map<std::wstring, std::wstring> Texts(const TForm& form) {
    std::map<std::wstring, std::wstring> texts;
    for (TComponent* c : form.Components()) {
        if (auto* a = dynamic_cast<TAction*>(c)) {
            texts[a->Name() + L".Caption"] = a->Caption();
            texts[a->Name() + L".Hint"] = a->Hint();
        } else if (auto* m = dynamic_cast<TMenuItem*>(c); m && !m->Name().empty()) {
            texts[m->Name() + L".Caption"] = m->Caption();
        }
    }
    return texts;
}

class ShippedLanguageTest : public FormsTest {};

} // namespace

TEST_F(ShippedLanguageTest, EveryKeyNamesAComponentOfItsFormAndEveryTranslatedFormHasItsSection) {
    for (const wchar_t* file : {L"English.dat", L"Korea.dat"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(file)));
        const std::string bytes = ShippedBytes(file);
        ASSERT_FALSE(bytes.empty());
        const TIniReader ini(DecodeLanguageText(bytes));
        for (const TTranslatedForm& translated : TranslatedForms()) {
            ASSERT_TRUE(ini.SectionExists(translated.Section)) << testing::PrintToString(translated.Section);
            const TFormPtr<TForm> form = translated.Create();
            EXPECT_EQ(form->Name(), translated.Section);
            for (const std::wstring& key : ini.ReadSection(translated.Section)) {
                if (IsFormKey(key))
                    continue;
                TComponent* component = form->FindComponent(key);
                ASSERT_NE(component, nullptr) << "no component " << testing::PrintToString(key);
                // The text must land somewhere: a kind that takes a caption or a hint.
                EXPECT_TRUE(dynamic_cast<TAction*>(component) || dynamic_cast<TMenuItem*>(component) ||
                            dynamic_cast<TControl*>(component))
                    << testing::PrintToString(key);
            }
        }
    }
}

TEST_F(ShippedLanguageTest, KoreanTranslatesTheMainWindowAndEnglishRestoresItsDesignedTexts) {
    const TScopedLanguageFile korean(L"ShippedKorea.dat", ShippedBytes(L"Korea.dat"));
    const TScopedLanguageFile english(L"ShippedEnglish.dat", ShippedBytes(L"English.dat"));
    auto form = CreateForm<TMainForm>();
    const std::map<std::wstring, std::wstring> designed = Texts(*form);
    const std::wstring designedFont = form->FontName();
    const int designedHeight = form->FontHeight();

    TSLanguage language(nullptr);
    language.SetFileName(korean.Name());
    language.Apply(*form);
    EXPECT_EQ(form->acFileNew->Caption(), L"새로 만들기");
    EXPECT_EQ(form->acFileNew->Hint(), L"새로 만들기");
    EXPECT_EQ(form->acQnA->Caption(), L"Q&&A 게시판");
    EXPECT_EQ(form->acQnA->Hint(), L"Q&A 게시판");
    EXPECT_EQ(form->acShow->Hint(), L"");
    auto* file1 = dynamic_cast<TMenuItem*>(form->FindComponent(L"File1"));
    ASSERT_NE(file1, nullptr);
    EXPECT_EQ(file1->Caption(), L"파일");
    // The menu bar itself shows the new text.
    wchar_t shown[64] = {};
    GetMenuStringW(GetMenu(form->Handle()), 0, shown, 64, MF_BYPOSITION);
    EXPECT_STREQ(shown, L"파일");
    TMessageTexts messages;
    LoadMessageTexts(language, messages);
    EXPECT_EQ(messages.msgNewCapture, L"새 그림");

    language.SetFileName(english.Name());
    language.Apply(*form);
    EXPECT_EQ(Texts(*form), designed);
    EXPECT_EQ(form->Caption(), L"Tolvex");
    EXPECT_EQ(form->FontName(), designedFont);
    EXPECT_EQ(form->FontHeight(), designedHeight);
    LoadMessageTexts(language, messages);
    EXPECT_EQ(messages.msgNewCapture, L"New");
    EXPECT_TRUE(errors.empty());
}

TEST_F(ShippedLanguageTest, TheKoreanOptionsDialogIsTranslatedBeforeItLoadsTheStoredChoices) {
    const TScopedLanguageFile korean(L"Korea.dat", ShippedBytes(L"Korea.dat"));
    auto main = CreateForm<TMainForm>();
    main->JvFormStorage1.SetStoredValue(SettingName::kLanguage, std::wstring(L"Korea"));
    main->JvFormStorage1.SetStoredValue(SettingName::kJPEGQulity, 3);
    auto dialog = CreateForm<TOptionForm>(main.get());
    dialog->Show();
    EXPECT_EQ(dialog->Caption(), L"환경 설정");
    EXPECT_EQ(dialog->cbJPEGQulity->Items(),
              (std::vector<std::wstring>{L"최상", L"높음", L"보통", L"낮음", L"최하"}));
    EXPECT_EQ(dialog->cbJPEGQulity->ItemIndex(), 3);
    EXPECT_EQ(dialog->cbImageType->ItemIndex(), 2);
    EXPECT_EQ(dialog->cbSound->Hint(), L"");
}
