#pragma once
// A hover label that opens its web address when clicked.
#include <string>

#include "shell/components/SSpeedLabel.h"

class TSURLLabel : public TSSpeedLabel {
public:
    TSURLLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption = {});

    const std::wstring& URL() const { return url_; }
    // With an address the pointer over the label becomes the hand.
    void SetURL(const std::wstring& url);

protected:
    void Click() override;

private:
    std::wstring url_;
};
