#pragma once
// RAII owners of Win32 handles: every handle the program opens is closed on every path.
#include <windows.h>

#include <objbase.h>

#include <utility>

// A handle with a close function; Traits supplies Invalid() and Close(h).
template <class Traits> class TUniqueHandle {
public:
    using Handle = typename Traits::Handle;
    TUniqueHandle() = default;
    explicit TUniqueHandle(Handle h) : h_(h) {}
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
        if (this != &o)
            Reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    ~TUniqueHandle() { Reset(); }

    Handle Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    Handle Release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid())
            Traits::Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Traits::Invalid();
};

struct TKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};
struct TFileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
struct TFindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
struct TGdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};
struct TMemDCTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};
struct TKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};
struct TGlobalTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { GlobalFree(h); }
};
struct TIconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};
struct TMenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};
struct TModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};

using TKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TFileHandle = TUniqueHandle<TFileHandleTraits>;
using TFindHandle = TUniqueHandle<TFindHandleTraits>;
using TGdiObject = TUniqueHandle<TGdiObjectTraits>;
using TMemDC = TUniqueHandle<TMemDCTraits>;
using TRegKey = TUniqueHandle<TKeyTraits>;
using TGlobalMem = TUniqueHandle<TGlobalTraits>;
using TIconHandle = TUniqueHandle<TIconTraits>;
using TMenuHandle = TUniqueHandle<TMenuTraits>;
using TModuleHandle = TUniqueHandle<TModuleTraits>;

// A window's device context, released with ReleaseDC: its client area (GetDC), or the
// whole window with its frame and title bar (GetWindowDC).
class TWindowDC {
public:
    enum TArea { Client, WholeWindow };
    explicit TWindowDC(HWND wnd, TArea area = Client)
        : wnd_(wnd), dc_(area == WholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (dc_)
            ReleaseDC(wnd_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// Selects a GDI object into a DC for a scope and restores the previous one.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Locks a global memory block for a scope.
template <class T = void> class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    ~TGlobalLock() {
        if (p_)
            GlobalUnlock(h_);
    }
    T* Get() const { return static_cast<T*>(p_); }
    explicit operator bool() const { return p_ != nullptr; }

private:
    HGLOBAL h_;
    void* p_;
};

// A COM interface pointer that releases its reference.
template <class T> class TComPtr {
public:
    TComPtr() = default;
    TComPtr(const TComPtr& o) : p_(o.p_) {
        if (p_)
            p_->AddRef();
    }
    TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    TComPtr& operator=(TComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~TComPtr() { Reset(); }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held and gives the address to fill.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }
    template <class U> HRESULT As(TComPtr<U>& out) const {
        return p_ ? p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(out.Put())) : E_POINTER;
    }

private:
    T* p_ = nullptr;
};

// Casts a GetProcAddress result to the function type it is known to have.
template <class F> F ProcAddress(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
