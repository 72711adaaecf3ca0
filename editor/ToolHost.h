#pragma once
// What the tool window reaches outside itself: the active document it adjusts and the main
// window that holds the documents, the status bar, the cursors and the settings store.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

class IToolDocument {
public:
    virtual ~IToolDocument() = default;
    // Puts the floating selection into the image, recording an undo state.
    virtual void CommitFloatingLayer() = 0;
    virtual bool HasFloatingLayer() const = 0;
    virtual void SetFloatingMasterAlpha(int alpha) = 0;
    virtual void RenderHighlightLayer() = 0;
    // 0 and 0 keep the text layer's present size.
    virtual void RenderTextLayer(int width, int height) = 0;
    // The image view's scale, 1 for 100 per cent.
    virtual double Scale() const = 0;
    virtual void SetScale(double scale) = 0;
    // The pointer over the document's image, chosen by the current tool.
    virtual void SetViewCursor(HCURSOR cursor) = 0;
};

class IToolHost {
public:
    virtual ~IToolHost() = default;
    // Null while no document is open.
    virtual IToolDocument* ActiveToolDocument() = 0;
    virtual void SetStatusText(int index, const std::wstring& text) = 0;
    virtual void UpdateChildCursors() = 0;
    // A stored setting as an integer; may throw when the store cannot be read.
    virtual std::int32_t StoredInteger(std::wstring_view name) const = 0;
};
