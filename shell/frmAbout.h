#pragma once
// The About dialog: the program picture, name, version and credits, a few words about
// Tolvex in the user's language, and links to the home and donation pages.
#include <string>

#include "forms/Form.h"

class TButton;
class TImage;
class TLabel;
class TMainForm;
class TMemo;
class TSURLImage;
class TSURLLabel;

class TAboutForm : public TForm {
public:
    explicit TAboutForm(TMainForm* owner);

    TImage* Image1;
    TLabel *lblProduct, *lblCredits;
    TSURLLabel* SURLLabel1;
    TSURLImage* SURLImage1;
    TMemo* Memo1;
    TButton* btnOK;

    void FormCreate(TObject* sender);

private:
    TMainForm* main_;
};

extern TAboutForm* AboutForm;

// The two built-in texts of the dialog, by stored language.
std::wstring AboutText(const std::wstring& language);
// The addresses the dialog's links open.
extern const std::wstring kAboutHomePage;
extern const std::wstring kAboutDonatePage;
