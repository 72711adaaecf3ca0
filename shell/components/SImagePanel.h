#pragma once
// A panel that paints a picture stretched over its whole face with its caption on top;
// without a picture it looks like a plain panel.
#include "forms/Picture.h"
#include "shell/components/SPanel.h"

class TSImagePanel : public TSPanel {
public:
    TSImagePanel(TForm* owner, std::wstring name, TWindow* parent);

    const TPicture& Picture() const { return picture_; }
    // Takes a copy (null changes nothing); with AutoSize the panel takes the picture's size.
    void SetPicture(const TPicture* picture);
    bool AutoSize() const { return autoSize_; }
    // Turning it on sizes the panel to the picture at once; turning it off changes nothing.
    void SetAutoSize(bool autoSize);

protected:
    void Paint(HDC dc) override;

private:
    void SizeToPicture();
    TPicture picture_;
    bool autoSize_ = false;
};
