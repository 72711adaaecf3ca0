#include "shell/components/SURLLabel.h"

#include "shell/components/OpenURL.h"

TSURLLabel::TSURLLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption)
    : TSSpeedLabel(owner, std::move(name), parent, caption) {}

void TSURLLabel::SetURL(const std::wstring& url) {
    url_ = url;
    SetCursor(LinkCursor(url_));
}

void TSURLLabel::Click() {
    TSSpeedLabel::Click();
    if (!url_.empty())
        OpenURL(*this, url_);
}
