#pragma once
// A swapping image that opens its web address when clicked.
#include <string>

#include "shell/components/SSpeedImage.h"

class TSURLImage : public TSSpeedImage {
public:
    TSURLImage(TForm* owner, std::wstring name, TWindow* parent);

    const std::wstring& URL() const { return url_; }
    // With an address the pointer over the image becomes the hand.
    void SetURL(const std::wstring& url);

protected:
    void Click() override;

private:
    std::wstring url_;
};
