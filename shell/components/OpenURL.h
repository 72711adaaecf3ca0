#pragma once
// Opening a web address from a link control, in the user's default browser.
#include <windows.h>

#include <functional>
#include <string>

class TControl;

// Opens the address with the shell, owned by the control's form; the result is not
// checked (a page that cannot be opened fails silently).
void OpenURL(const TControl& control, const std::wstring& url);
// The pointer of a link control: the hand while it has an address, else the arrow (null).
HCURSOR LinkCursor(const std::wstring& url);

// When set, OpenURL calls it instead of the shell (tests watch the links this way).
extern std::function<void(HWND owner, const std::wstring& url)> OpenURLHook;

// A component that opens its web address when clicked; while it has one, the pointer over
// it is the hand. TBase is a control with a click and a pointer of its own.
template <class TBase> class TURLLink : public TBase {
public:
    using TBase::TBase;

    const std::wstring& URL() const { return url_; }
    void SetURL(const std::wstring& url) {
        url_ = url;
        this->SetCursor(LinkCursor(url_));
    }

protected:
    void Click() override {
        TBase::Click();
        if (!url_.empty())
            OpenURL(*this, url_);
    }

private:
    std::wstring url_;
};
