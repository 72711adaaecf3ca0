#include "shell/components/SURLImage.h"

#include "shell/components/OpenURL.h"

TSURLImage::TSURLImage(TForm* owner, std::wstring name, TWindow* parent)
    : TSSpeedImage(owner, std::move(name), parent) {}

void TSURLImage::SetURL(const std::wstring& url) {
    url_ = url;
    SetCursor(LinkCursor(url_));
}

void TSURLImage::Click() {
    TSSpeedImage::Click();
    if (!url_.empty())
        OpenURL(*this, url_);
}
