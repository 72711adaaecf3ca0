#include "forms/DropFileTarget.h"

#include <shellapi.h>
#include <shlobj.h>

#include "forms/Application.h"

// COM interfaces have no virtual destructor by design; this object is freed through its
// own class when its last reference goes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The COM object the system calls during a drag over the window. Its reference count
// keeps it alive while the system holds it, even after the owner has gone.
class TDropFileTarget::TTarget final : public IDropTarget {
public:
    explicit TTarget(TDropFileTarget* owner) : owner_(owner) {
        // The shell's helper draws the dragged files' picture over the window; without it
        // the drop works as well, only the picture is missing.
        if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IDropTargetHelper, reinterpret_cast<void**>(&helper_))))
            helper_ = nullptr;
    }
    virtual ~TTarget() {
        if (helper_)
            helper_->Release();
    }
    void Detach() { owner_ = nullptr; }
    bool HasHelper() const { return helper_ != nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        accepts_ = data && data->QueryGetData(&format) == S_OK;
        const HRESULT result = Effect(effect);
        if (helper_ && owner_) {
            POINT p{pt.x, pt.y};
            helper_->DragEnter(owner_->wnd_, data, &p, effect ? *effect : DROPEFFECT_NONE);
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override {
        const HRESULT result = Effect(effect);
        if (helper_) {
            POINT p{pt.x, pt.y};
            helper_->DragOver(&p, effect ? *effect : DROPEFFECT_NONE);
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        if (helper_)
            helper_->DragLeave();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
        Effect(effect);
        if (helper_) {
            POINT p{pt.x, pt.y};
            helper_->Drop(data, &p, effect ? *effect : DROPEFFECT_NONE);
        }
        if (!accepts_ || !owner_ || !owner_->OnDrop)
            return S_OK;
        // The names are read now, while the data exists; the files are opened after the
        // drop has returned, so the program they came from is not kept in its drag loop
        // and an error shows only then. No exception may travel back into that loop.
        try {
            auto files = FilesOf(data);
            if (files.empty())
                return S_OK;
            if (!Application) {
                owner_->OnDrop(files);
                return S_OK;
            }
            AddRef();
            Application->Post([self = THeld(this), files = std::move(files)] {
                if (self.Target->owner_ && self.Target->owner_->OnDrop)
                    self.Target->owner_->OnDrop(files);
            });
        } catch (...) {
            if (Application)
                Application->HandleException(std::current_exception());
        }
        return S_OK;
    }

private:
    // A reference held by posted work, so the target outlives it even when its owner goes.
    struct THeld {
        explicit THeld(TTarget* target) : Target(target) {}
        THeld(const THeld& other) : Target(other.Target) { Target->AddRef(); }
        THeld& operator=(const THeld&) = delete;
        ~THeld() { Target->Release(); }
        TTarget* Target;
    };

    HRESULT Effect(DWORD* effect) const {
        if (effect)
            *effect = accepts_ && (*effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    TDropFileTarget* owner_;
    IDropTargetHelper* helper_ = nullptr;
    LONG refs_ = 1;
    bool accepts_ = false;
};

#pragma GCC diagnostic pop

TDropFileTarget::TDropFileTarget() : target_(new TTarget(this)) {}

TDropFileTarget::~TDropFileTarget() {
    Unregister();
    target_->Detach();
    target_->Release();
}

IDropTarget* TDropFileTarget::DropTarget() const {
    return target_;
}

bool TDropFileTarget::ShowsDragImage() const {
    return target_->HasHelper();
}

bool TDropFileTarget::Register(HWND wnd) {
    Unregister();
    if (FAILED(RegisterDragDrop(wnd, target_)))
        return false;
    wnd_ = wnd;
    return true;
}

void TDropFileTarget::Unregister() {
    if (!wnd_)
        return;
    RevokeDragDrop(wnd_);
    wnd_ = nullptr;
}

std::vector<std::wstring> TDropFileTarget::FilesOf(IDataObject* data) {
    std::vector<std::wstring> files;
    if (!data)
        return files;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK)
        return files;
    if (auto drop = static_cast<HDROP>(medium.hGlobal)) {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT len = DragQueryFileW(drop, i, nullptr, 0);
            std::wstring name(len + 1, L'\0');
            name.resize(DragQueryFileW(drop, i, name.data(), len + 1));
            files.push_back(std::move(name));
        }
    }
    ReleaseStgMedium(&medium);
    return files;
}
