#pragma once
// The text dialog: the text tool's text with its font, size, style, alignment, text colour
// and optional background colour, shown in a preview memo that follows every change.
#include <optional>
#include <string>
#include <vector>

#include "core/Bitmap32.h"
#include "editor/EditorDialogs.h"
#include "forms/Form.h"
#include "forms/Handles.h"

class TMemo;
class TComboBox;
class TEditComboBox;
class TCheckBox;
class TColorComboBox;
class TLabel;
class TRadioButton;
class TButton;

// The text tool's settings that the dialog edits.
struct TTextSettings {
    std::wstring Content;
    std::wstring FontName = L"Arial";
    int FontSize = 16;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Frame = true; // a background behind the text
    int Alignment = 0; // 0 left, 1 centre, 2 right
    TColor PenColor = 0x000000;
    TColor FillColor = 0xFFFFFF;
    bool operator==(const TTextSettings&) const = default;
};

// The preview's font.
struct TMemoFont {
    std::wstring Name;
    int Size = 16;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TColor Color = 0;
};

class TTextForm : public TEditorDialog {
public:
    explicit TTextForm(TForm* owner);

    TMemo* Memo1;
    TComboBox* JvFontComboBox1;
    TEditComboBox* ComboBox1;
    TCheckBox* cbBold;
    TCheckBox* cbItalic;
    TCheckBox* cbUnderLine;
    TLabel* lblTextColor;
    TColorComboBox* JvColorComboBox1;
    TCheckBox* cbBackColor;
    TColorComboBox* JvColorComboBox2;
    TRadioButton* SpeedButton1;
    TRadioButton* SpeedButton2;
    TRadioButton* SpeedButton3;
    TButton* btnOK;
    TButton* btnCancel;

    // The alignment code of the down button: 0 left, 1 centre, 2 right.
    int TextAlignment = 0;

    const TMemoFont& Memo1Font() const { return memoFont_; }
    // The preview's alignment code, as the memo shows it.
    int Memo1Alignment() const { return memoAlignment_; }

    // Loads the tool's settings into the controls (the dialog's first activation).
    void Load(const TTextSettings& settings);
    // What the dialog delivers: the preview's font, the boxes and the colours.
    TTextSettings Results() const;

    void FormCreate(TObject* sender);
    void JvFontComboBox1Change(TObject* sender);
    void ComboBox1Change(TObject* sender);
    void cbBoldClick(TObject* sender);
    void cbItalicClick(TObject* sender);
    void cbUnderLineClick(TObject* sender);
    void SpeedButton1Click(TObject* sender);
    void JvColorComboBox1Change(TObject* sender);
    void cbBackColorClick(TObject* sender);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Gives the memo the preview font anew.
    void ApplyMemoFont();
    void SetMemoAlignment(int code);
    TMemoFont memoFont_;
    int memoAlignment_ = 0;
    // The memo takes the focus at the dialog's first activation.
    bool memoFocused_ = false;
    TGdiObject font_;
};

extern TTextForm* TextForm;

// The font families of the screen, sorted, without the vertical (@) variants.
std::vector<std::wstring> ScreenFontNames();

// Runs the dialog on the tool's settings: the edited settings on OK with a text of at least
// one character; nothing on Cancel or with an empty text.
std::optional<TTextSettings> RunTextForm(TForm* owner, const TTextSettings& settings);
