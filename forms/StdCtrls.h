#pragma once
// The standard controls of dialogs: push buttons (with a modal result, default and
// cancel roles), edit boxes, memos, check boxes, radio buttons, group boxes, and the spin
// edit (an edit box with up-down arrows for a whole number in a range). Setting a value
// from code raises the change event only when the value really changes.
#include <windows.h>

#include <string>

#include "forms/Controls.h"

class TButton : public TControl {
public:
    TButton(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left, int top,
            int width = 75, int height = 25);
    // A click sets the form's modal result to this value when it is not mrNone.
    int ModalResult = 0;
    // The default button answers Enter; the cancel button answers Esc.
    void SetDefault(bool isDefault);
    void SetCancel(bool isCancel) { cancel_ = isCancel; }
    bool Cancel() const { return cancel_; }
    void Click();

protected:
    bool HandleCommand(WORD code, WORD id) override;

private:
    bool cancel_ = false;
};

class TEdit : public TControl {
public:
    TEdit(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height = 21,
          DWORD extraStyle = 0);
    std::wstring Text() const { return Caption(); }
    // Raises OnChange when the text changes.
    void SetText(const std::wstring& text);
    void SetReadOnly(bool readOnly);
    TNotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code, WORD id) override;

private:
    bool settingText_ = false;
};

// A multi-line edit box with a vertical scroll bar.
class TMemo : public TEdit {
public:
    // Without word wrap a line runs on to the right until a line break.
    TMemo(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height,
          bool wordWrap = true);
};

class TCheckBox : public TControl {
public:
    TCheckBox(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left,
              int top, int width, int height = 17);
    bool Checked() const;
    // Raises OnClick when the state changes, as a click does.
    void SetChecked(bool checked);

protected:
    bool HandleCommand(WORD code, WORD id) override;
};

// A radio button; the buttons of one parent form one group.
class TRadioButton : public TControl {
public:
    TRadioButton(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left,
                 int top, int width, int height = 17);
    bool Checked() const;
    // Checks this button and clears the others of its parent; raises OnClick on a change.
    void SetChecked(bool checked);

protected:
    bool HandleCommand(WORD code, WORD id) override;
};

// A lowered frame drawn around other controls, which lie above it: it paints only where
// they leave it uncovered.
class TBevel : public TControl {
public:
    TBevel(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height);
};

// A frame with a caption around a group of controls; the controls are its children.
class TGroupBox : public TControl {
public:
    TGroupBox(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption, int left,
              int top, int width, int height);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// A whole number in [MinValue, MaxValue] typed or stepped with the arrows. Text that is
// not a number reads as the nearest valid value (the minimum when it has no digits).
class TSpinEdit : public TControl {
public:
    TSpinEdit(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int minValue,
              int maxValue, int value, int height = 21);
    ~TSpinEdit() override;
    int Value() const;
    // The whole number as typed, before the box brings it into its range when it is left
    // (Enter confirms a dialog without leaving the box); Value() for any other text.
    int TypedValue() const;
    // Whether the text, blanks around it aside, is a whole number inside the range.
    bool HoldsValueInRange() const;
    // Leaving the box for another control of its window shows the value it stands for. A
    // dialog that refuses what is not a number in range, naming the box, turns this off, so
    // that a click on its OK button never changes the text first.
    bool BringIntoRangeOnExit = true;
    // Brought into the range; raises OnChange when the value changes.
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetRange(int minValue, int maxValue);
    TNotifyEvent OnChange;

protected:
    bool HandleCommand(WORD code, WORD id) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND upDown_ = nullptr;
    int min_;
    int max_;
    bool settingValue_ = false;
};
