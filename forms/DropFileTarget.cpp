#include "forms/DropFileTarget.h"

#include <shellapi.h>

#include "forms/Application.h"

// COM interfaces have no virtual destructor by design; this object is freed through its
// own class when its last reference goes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The COM object the system calls during a drag over the window. Its reference count
// keeps it alive while the system holds it, even after the owner has gone.
class TDropFileTarget::TTarget final : public IDropTarget {
public:
    explicit TTarget(TDropFileTarget* owner) : owner_(owner) {}
    virtual ~TTarget() = default;
    void Detach() { owner_ = nullptr; }

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

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        accepts_ = data && data->QueryGetData(&format) == S_OK;
        return Effect(effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Effect(effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        Effect(effect);
        if (!accepts_ || !owner_ || !owner_->OnDrop)
            return S_OK;
        // No exception may travel back into the system's drag loop.
        try {
            const auto files = FilesOf(data);
            if (!files.empty())
                owner_->OnDrop(files);
        } catch (...) {
            if (Application)
                Application->HandleException(std::current_exception());
        }
        return S_OK;
    }

private:
    HRESULT Effect(DWORD* effect) const {
        if (effect)
            *effect = accepts_ && (*effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    TDropFileTarget* owner_;
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
