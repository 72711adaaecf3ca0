// The colour box, the file dialogs' test seam and the file drop target.
#include <windows.h>

#include <ole2.h>

#include "FormsTestSupport.h"
#include "forms/ColorComboBox.h"
#include "forms/DropFileTarget.h"
#include "forms/FileDialogs.h"
#include "forms/Form.h"

namespace {
class TBoxForm : public TForm {
public:
    TBoxForm() : TForm(nullptr, L"BoxForm", Design()) {}
    static TFormDesign Design() {
        TFormDesign d;
        d.Caption = L"Box";
        d.Border = TBorderStyle::Dialog;
        return d;
    }
};
} // namespace

TEST_F(FormsTest, TheColourBoxShowsStandardColoursByNameAndOthersOnTheirOwnLine) {
    auto form = CreateForm<TBoxForm>();
    auto* box = form->Make<TColorComboBox>(L"JvColorComboBox1", form.get());
    EXPECT_EQ(box->ColorValue(), 0xFFFFFF);
    EXPECT_EQ(box->Items().at(static_cast<std::size_t>(box->ItemIndex())), L"White");
    box->SetColorValue(0x0000FF);
    EXPECT_EQ(box->Items().at(static_cast<std::size_t>(box->ItemIndex())), L"Red");
    box->SetColorValue(0x123456);
    EXPECT_EQ(box->ColorValue(), 0x123456);
    EXPECT_EQ(box->Items().at(static_cast<std::size_t>(box->ItemIndex())), L"Custom $123456");
    // Bits above the colour (a stored value from elsewhere) are dropped.
    box->SetColorValue(static_cast<TColor>(0x7F00FF00));
    EXPECT_EQ(box->ColorValue(), 0x00FF00);

    // "Custom..." asks; a cancelled question keeps the colour, an answer takes its own line.
    TColor offered = 0x0000AB;
    bool accept = false;
    TColorComboBox::PickColor = [&](HWND, TColor& c) {
        c = offered;
        return accept;
    };
    const int pickLine = box->ItemCount() - 1;
    box->SetItemIndex(pickLine);
    EXPECT_EQ(box->ColorValue(), 0x00FF00);
    accept = true;
    box->SetItemIndex(pickLine);
    EXPECT_EQ(box->ColorValue(), 0x0000AB);
    EXPECT_EQ(box->Items().at(static_cast<std::size_t>(box->ItemIndex())), L"Custom $0000AB");
    TColorComboBox::PickColor = nullptr;
}

TEST_F(FormsTest, FileDialogsAnswerThroughTheSeamAndKeepTheirNameWhenCancelled) {
    TFileDialog dialog(TFileDialog::TKind::Save);
    dialog.FileName = L"New 2";
    FileDialogHook = [](TFileDialog&) { return false; };
    EXPECT_FALSE(dialog.Execute(nullptr));
    EXPECT_EQ(dialog.FileName, L"New 2");
    FileDialogHook = [](TFileDialog& d) {
        d.FileName = L"C:\\x.png";
        d.FilterIndex = 4;
        return true;
    };
    EXPECT_TRUE(dialog.Execute(nullptr));
    EXPECT_EQ(dialog.FileName, L"C:\\x.png");
    EXPECT_EQ(dialog.FilterIndex, 4);
    FileDialogHook = nullptr;
}

TEST_F(FormsTest, TheDropTargetRegistersOnceAndRevokesItself) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        auto form = CreateForm<TBoxForm>();
        TDropFileTarget target;
        EXPECT_TRUE(target.Register(form->Handle()));
        EXPECT_TRUE(target.Registered());
        // A second registration of the same window replaces the first instead of failing.
        EXPECT_TRUE(target.Register(form->Handle()));
        target.Unregister();
        EXPECT_FALSE(target.Registered());
        EXPECT_EQ(RevokeDragDrop(form->Handle()), DRAGDROP_E_NOTREGISTERED);
        EXPECT_TRUE(target.Register(form->Handle()));
        // No data object, no names.
        EXPECT_TRUE(TDropFileTarget::FilesOf(nullptr).empty());
    }
    OleUninitialize();
}
