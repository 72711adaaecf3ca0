#include "shell/SLanguage.h"

#include <windows.h>

#include <memory>

#include "LanguageTestSupport.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/ComboBox.h"
#include "forms/FlatSpeedButton.h"
#include "forms/Form.h"
#include "forms/FormStorage.h"
#include "forms/Image.h"
#include "forms/LabeledEdit.h"
#include "forms/Menus.h"
#include "forms/Timer.h"
#include "shell/components/SLabel.h"
#include "shell/components/SPanel.h"
#include "tests/forms/FormsTestSupport.h"

namespace {

TFormDesign TestDesign() {
    TFormDesign d;
    d.Caption = L"Designed";
    d.Width = 400;
    d.Height = 300;
    return d;
}

// One component of every kind that the language file treats differently.
class TLanguageTestForm : public TForm {
public:
    TLanguageTestForm() : TForm(nullptr, L"TestForm", TestDesign()) {
        ActionList1 = Make<TActionList>();
        acSave = Make<TAction>(L"acSave", L"1. File", L"Save");
        acSave->SetHint(L"Save");
        ActionList1->Add(acSave);
        edtFolder = Make<TLabeledEdit>(L"edtFolder", this, L"Folder");
        edtFolder->SetText(L"C:\\Shots");
        cbQuality = Make<TComboBox>(L"cbQuality", this);
        cbQuality->SetItems({L"One", L"Two"});
        cbQuality->SetItemIndex(1);
        MainMenu1 = Make<TMainMenu>();
        File1 = MainMenu1->Items()->Add(Make<TMenuItem>(L"File1", L"File"));
        File1->AddAction(acSave);
        MainMenu1->Rebuild();
        SetMenu(MainMenu1);
        Image1 = Make<TImage>(L"Image1", this);
        Image1->SetHint(L"picture");
        btnPen = Make<TFlatSpeedButton>(L"btnPen", this);
        btnPen->SetCaption(L"P");
        Label1 = Make<TSLabel>(L"Label1", this, L"Label");
        Panel1 = Make<TSPanel>(L"Panel1", this);
        Panel1->SetCaption(L"Panel");
        Timer1 = Make<TTimer>(L"Timer1", 1000, false);
    }
    TActionList* ActionList1;
    TAction* acSave;
    TLabeledEdit* edtFolder;
    TComboBox* cbQuality;
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TImage* Image1;
    TFlatSpeedButton* btnPen;
    TSLabel* Label1;
    TSPanel* Panel1;
    TTimer* Timer1;
};

class SLanguageTest : public FormsTest {
protected:
    // A language component pointed at a file written for the test.
    static std::unique_ptr<TSLanguage> Language(const TScopedLanguageFile& file) {
        auto language = std::make_unique<TSLanguage>(nullptr);
        language->SetFileName(file.Name());
        return language;
    }
};

} // namespace

TEST_F(SLanguageTest, EachKindOfComponentTakesItsPartOfTheText) {
    const TScopedLanguageFile file(L"ApplyKinds.dat", "[TestForm]\r\n"
                                                      "acSave=&Store|Store the &picture|now\r\n"
                                                      "EDTFOLDER=Output folder|Where captures go\r\n"
                                                      "cbQuality=High#13#10Middle#13#10Low\r\n"
                                                      "File1=&Picture|not for menus\r\n"
                                                      "Image1=Pic&ture|tip\r\n"
                                                      "btnPen=Pen|Draw freely\r\n"
                                                      "Label1=Two#13#10lines\r\n"
                                                      "Panel1=Face|Panel tip\r\n"
                                                      "Timer1=Clock|tick\r\n"
                                                      "NoSuchThing=Ignored\r\n");
    auto form = CreateForm<TLanguageTestForm>();
    Language(file)->Apply(*form);

    EXPECT_EQ(form->acSave->Caption(), L"&Store");
    EXPECT_EQ(form->acSave->Hint(), L"Store the picture|now");
    // The labelled edit: its label takes the caption, its text stays.
    EXPECT_EQ(form->edtFolder->EditLabel()->Caption(), L"Output folder");
    EXPECT_EQ(form->edtFolder->Hint(), L"Where captures go");
    EXPECT_EQ(form->edtFolder->Text(), L"C:\\Shots");
    // The combo box gets one item per line and loses its choice.
    EXPECT_EQ(form->cbQuality->Items(), (std::vector<std::wstring>{L"High", L"Middle", L"Low"}));
    EXPECT_EQ(form->cbQuality->ItemIndex(), -1);
    EXPECT_EQ(form->File1->Caption(), L"&Picture");
    // An image's hint is the caption part with its "&" kept.
    EXPECT_EQ(form->Image1->Hint(), L"Pic&ture");
    // A flat speed button takes the hint only.
    EXPECT_EQ(form->btnPen->Caption(), L"P");
    EXPECT_EQ(form->btnPen->Hint(), L"Draw freely");
    EXPECT_EQ(form->Label1->Caption(), L"Two\r\nlines");
    EXPECT_EQ(form->Label1->Hint(), L"Two\r\nlines");
    EXPECT_EQ(form->Panel1->Caption(), L"Face");
    EXPECT_EQ(form->Panel1->Hint(), L"Panel tip");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SLanguageTest, AnEmptyCaptionPartChangesNothingOnAnyComponent) {
    const TScopedLanguageFile file(L"ApplyEmpty.dat", "[TestForm]\nacSave=|x\nedtFolder=|x\ncbQuality=|x\n"
                                                      "File1=|x\nImage1=|x\nbtnPen=|x\nLabel1=|x\nPanel1=\n");
    auto form = CreateForm<TLanguageTestForm>();
    Language(file)->Apply(*form);
    EXPECT_EQ(form->acSave->Caption(), L"Save");
    EXPECT_EQ(form->acSave->Hint(), L"Save");
    EXPECT_EQ(form->edtFolder->EditLabel()->Caption(), L"Folder");
    EXPECT_EQ(form->cbQuality->ItemIndex(), 1);
    EXPECT_EQ(form->File1->Caption(), L"File");
    EXPECT_EQ(form->Image1->Hint(), L"picture");
    EXPECT_EQ(form->btnPen->Hint(), L"");
    EXPECT_EQ(form->Label1->Caption(), L"Label");
    EXPECT_EQ(form->Panel1->Caption(), L"Panel");
}

TEST_F(SLanguageTest, TheFormTakesItsCaptionAndFontAndABadFontSizeSpoilsNothingElse) {
    auto form = CreateForm<TLanguageTestForm>();
    {
        const TScopedLanguageFile file(L"ApplyForm.dat", "[testform]\nCaption=Translated\nFontName=Arial\n"
                                                         "FontSize=9\n");
        Language(file)->Apply(*form);
        EXPECT_EQ(form->Caption(), L"Translated");
        EXPECT_EQ(form->FontName(), L"Arial");
        EXPECT_EQ(form->FontSize(), 9);
    }
    {
        // Empty values keep what is there; a size that is no whole number is ignored and
        // the components of the section are still translated.
        const TScopedLanguageFile file(L"ApplyBadSize.dat",
                                       "[TestForm]\nCaption=\nFontName=\nFontSize=9.5pt\n"
                                       "acSave=Keep\n");
        Language(file)->Apply(*form);
        EXPECT_EQ(form->Caption(), L"Translated");
        EXPECT_EQ(form->FontName(), L"Arial");
        EXPECT_EQ(form->FontSize(), 9);
        EXPECT_EQ(form->acSave->Caption(), L"Keep");
    }
    {
        const TScopedLanguageFile file(L"ApplyHugeSize.dat", "[TestForm]\nFontSize=400\nacSave=Still\n");
        Language(file)->Apply(*form);
        EXPECT_EQ(form->FontSize(), 9);
        EXPECT_EQ(form->acSave->Caption(), L"Still");
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(SLanguageTest, AMissingFileOrSectionChangesNothingAndMessagesFallBackToDefaults) {
    auto form = CreateForm<TLanguageTestForm>();
    TSLanguage language(nullptr);
    language.Apply(*form); // no file name at all
    language.SetFileName(L"NoSuchLanguage.dat");
    language.Apply(*form);
    EXPECT_EQ(language.ReadMessage(L"msgNewCapture"), L"");
    TMessageTexts texts;
    texts.msgNewCapture = L"Stale";
    LoadMessageTexts(language, texts);
    EXPECT_EQ(texts.msgNewCapture, L"New");

    const TScopedLanguageFile file(L"OtherForm.dat", "[AboutForm]\nacSave=Other\n");
    Language(file)->Apply(*form);
    EXPECT_EQ(form->Caption(), L"Designed");
    EXPECT_EQ(form->acSave->Caption(), L"Save");
}

TEST_F(SLanguageTest, MessagesAreReadWithLineBreaksAndEmptyOnesTakeTheirDefaults) {
    const TScopedLanguageFile file(L"Messages.dat",
                                   "\xEF\xBB\xBF[Message]\nmsgCaptureFail=Failed.#13#10Again?\n"
                                   "msgEmptyPath=\nmsgNewCapture=\"  Fresh  \"\n");
    const auto language = Language(file);
    EXPECT_EQ(language->ReadMessage(L"MSGCAPTUREFAIL"), L"Failed.\r\nAgain?");
    TMessageTexts texts;
    LoadMessageTexts(*language, texts);
    EXPECT_EQ(texts.msgCaptureFail, L"Failed.\r\nAgain?");
    EXPECT_EQ(texts.msgNewCapture, L"  Fresh  ");
    EXPECT_EQ(texts.msgEmptyPath, L"Folder name empty!");
    EXPECT_EQ(texts.msgPathNotFound, L"folder not found!");
}

TEST_F(SLanguageTest, TheFileNameKeepsOnlyTheBareNameInsideTheLanguageFolder) {
    TSLanguage language(nullptr);
    language.SetFileName(L"D:\\elsewhere\\Korea.dat");
    EXPECT_EQ(language.FileName(), ProgramFolder() + L"Language\\Korea.dat");
    language.SetFileName(L"..\\..\\..\\Windows/win.ini");
    EXPECT_EQ(language.FileName(), ProgramFolder() + L"Language\\win.ini");
    language.SetFileName(L"");
    EXPECT_EQ(language.FileName(), L"");
}

TEST_F(SLanguageTest, UnreadableOrDamagedFilesAreIgnoredWithoutAnError) {
    auto form = CreateForm<TLanguageTestForm>();
    // A folder bearing the file's name.
    ForceDirectories(ProgramFolder() + L"Language\\Folder.dat");
    TSLanguage language(nullptr);
    language.SetFileName(L"Folder.dat");
    language.Apply(*form);
    EXPECT_EQ(language.ReadMessage(L"msgNewCapture"), L"");
    RemoveDirectoryW((ProgramFolder() + L"Language\\Folder.dat").c_str());
    {
        // Binary garbage with a zero byte and a lone bracket.
        const TScopedLanguageFile file(L"Garbage.dat", std::string("\x00\xFF[\xFE\x01=\x80\r\r\n[Test", 15));
        Language(file)->Apply(*form);
    }
    {
        // A file far larger than any language file is not read at all.
        std::string big = "[TestForm]\nacSave=Huge\n";
        big.resize(5u << 20, ' ');
        const TScopedLanguageFile file(L"Huge.dat", big);
        Language(file)->Apply(*form);
    }
    EXPECT_EQ(form->acSave->Caption(), L"Save");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SLanguageTest, TextThatIsNotUtf8IsReadInTheSystemCodePage) {
    EXPECT_EQ(DecodeLanguageText("\xEF\xBB\xBF[S]\na=\xED\x8C\x8C"), L"[S]\na=\uD30C");
    EXPECT_EQ(DecodeLanguageText(""), L"");
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system code page here is " << GetACP();
    EXPECT_EQ(DecodeLanguageText("caf\xE9 \x80"), L"caf\u00E9 \u20AC");
}

TEST_F(SLanguageTest, TheStoredLanguageIsSettledAndPointsTheComponentAtItsFile) {
    TFormStorage store;
    store.AddStoredValue(SettingName::kLanguage, std::wstring());
    TSLanguage language(nullptr);

    ChooseLanguage(store, language, 1042u); // first start on a Korean system
    EXPECT_EQ(store.ReadString(SettingName::kLanguage), L"Korea");
    EXPECT_EQ(language.FileName(), ProgramFolder() + L"Language\\Korea.dat");

    ChooseLanguage(store, language, 1033u); // a stored choice stays whatever the locale
    EXPECT_EQ(store.ReadString(SettingName::kLanguage), L"Korea");

    store.SetStoredValue(SettingName::kLanguage, std::wstring(L"Klingon"));
    ChooseLanguage(store, language, 1033u);
    EXPECT_EQ(store.ReadString(SettingName::kLanguage), L"English");
    EXPECT_EQ(language.FileName(), ProgramFolder() + L"Language\\English.dat");

    store.SetStoredValue(SettingName::kLanguage, std::wstring());
    ChooseLanguage(store, language, std::nullopt); // the locale could not be read
    EXPECT_EQ(store.ReadString(SettingName::kLanguage), L"English");
}
