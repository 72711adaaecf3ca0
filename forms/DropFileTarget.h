#pragma once
// A window that takes file lists dragged from other programs (OLE drag and drop, copy
// effect only). Registered on a window and revoked again; OLE must be initialised before
// it is made.
#include <windows.h>

#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

class TDropFileTarget {
public:
    TDropFileTarget();
    ~TDropFileTarget();
    TDropFileTarget(const TDropFileTarget&) = delete;
    TDropFileTarget& operator=(const TDropFileTarget&) = delete;

    // Registers the window as a drop target; false when the system refused.
    bool Register(HWND wnd);
    void Unregister();
    bool Registered() const { return wnd_ != nullptr; }

    // The dropped names in list order, told after the drop has returned. Errors it raises
    // reach the application's error box.
    std::function<void(const std::vector<std::wstring>& files)> OnDrop;

    // The object the system calls during a drag (tests call it directly).
    IDropTarget* DropTarget() const;
    // Whether the shell's helper shows the dragged files' picture over the window.
    bool ShowsDragImage() const;

    // The file names of a data object's file list (empty when it holds none).
    static std::vector<std::wstring> FilesOf(IDataObject* data);

private:
    class TTarget;
    TTarget* target_;
    HWND wnd_ = nullptr;
};
