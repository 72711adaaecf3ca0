// The real program given broken pictures by Open and by a file drop: each broken one is
// named in the error box, each readable one opens as a document, and the program runs on.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "E2eSupport.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;

namespace {

// Two readable pictures (one under the name of another type) and three broken ones.
const std::vector<std::wstring> kPictures = {L"ok-photo.jpg", L"bad-offset-past-end-rgb24.bmp",
                                             L"bad-size-100000x100000-glass.png", L"ok-renamed-glass-png.bmp",
                                             L"bad-missing-sos-photo.jpg"};
constexpr int kOpenButton = 1; // New, Open, ...

// COM interfaces have no virtual destructor by design; these objects are freed through
// their own class only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// A file list for a drop, handed out as the shell hands out dragged files.
class TFileList : public IDataObject {
public:
    explicit TFileList(const std::vector<std::wstring>& files) {
        for (const std::wstring& file : files)
            names_ += file + L'\0';
        names_ += L'\0';
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IDataObject ? this : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --refs_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        const SIZE_T bytes = sizeof(DROPFILES) + names_.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        CopyMemory(drop + 1, names_.data(), names_.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    virtual ~TFileList() = default;
    std::wstring names_;
    std::atomic<long> refs_{1};
};

// A drag that drops at once, wherever the mouse is.
class TDropAtOnce : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IDropSource ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return DRAGDROP_S_DROP; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};
#pragma GCC diagnostic pop

// The error box of the program (a message box with its title), when one shows.
HWND ErrorBox(DWORD processId, std::wstring& text) {
    for (HWND box : FindWindows(L"#32770", processId)) {
        wchar_t title[64] = {};
        GetWindowTextW(box, title, 64);
        wchar_t message[2048] = {};
        if (std::wstring(title) == L"Tolvex" && IsWindowVisible(box) &&
            GetDlgItemTextW(box, 0xFFFF, message, 2048) > 0) {
            text = message;
            return box;
        }
    }
    return nullptr;
}

class HostilePicturesE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(kSettingsKey);
        WriteRegString(kSettingsKey, L"isSound", L"FALSE");
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
        WriteRegString(kSettingsKey, L"Language", L"English");
        folder = EnvPath("TOLVEX_HOSTILE_DIR");
    }
    void TearDown() override { DeleteRegTree(kSettingsKey); }

    // Waits for the outcome of one picture: a new document, or the error box naming it
    // (which is then closed).
    void ExpectOutcome(TProcess& p, HWND main, const std::wstring& name, int& documents) {
        std::wstring text;
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor(
            [&] { return DocumentCount(main) > documents || (box = ErrorBox(p.Id(), text)) != nullptr; },
            20000))
            << "no document and no error for " << testing::PrintToString(name);
        if (name.starts_with(L"ok-")) {
            EXPECT_EQ(box, nullptr) << testing::PrintToString(text);
            ++documents;
            EXPECT_TRUE(WaitFor([&] { return DocumentCount(main) == documents; }));
        } else {
            ASSERT_NE(box, nullptr) << "a document for " << testing::PrintToString(name);
            EXPECT_NE(text.find(name), std::wstring::npos) << testing::PrintToString(text);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
        }
    }

    TProgramFolder program;
    std::wstring folder;
};

TEST_F(HostilePicturesE2eTest, OpenNamesEachBrokenPictureAndOpensEachReadableOne) {
    TProcess p(program.Exe());
    const HWND main = MainWindowOf(p.Id());
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    int documents = 0;
    for (const std::wstring& name : kPictures) {
        const std::vector<HWND> bars = ToolBarsTopDown(main);
        ASSERT_FALSE(bars.empty());
        ASSERT_TRUE(ClickToolButton(p, bars.front(), kOpenButton));
        // The file dialog takes the name in its file name field, as typed.
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = OpenDialogOf(p.Id())) != nullptr; }));
        const std::wstring path = folder + L"\\" + name;
        for (int field : {cmb13, edt1})
            if (HWND edit = GetDlgItem(dialog, field))
                SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
        ExpectOutcome(p, main, name, documents);
    }
    EXPECT_EQ(documents, 2);
    EXPECT_TRUE(p.Running());
}

TEST_F(HostilePicturesE2eTest, ADropOpensTheReadablePicturesAndNamesTheBrokenOnes) {
    TProcess p(program.Exe());
    const HWND main = MainWindowOf(p.Id());
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    const std::vector<HWND> clients = ChildrenOfClass(main, L"MDIClient");
    ASSERT_FALSE(clients.empty());
    RECT area;
    GetWindowRect(clients[0], &area);
    std::vector<std::wstring> paths;
    for (const std::wstring& name : kPictures)
        paths.push_back(folder + L"\\" + name);
    // The drop lands where the pointer is: over the document area, once it is there.
    const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    ASSERT_TRUE(WaitFor([&] {
        return picker_driver::KeepPointerAt(centre) && GetAncestor(WindowFromPoint(centre), GA_ROOT) == main;
    }));

    // The drag runs in a thread of its own, since the drop waits while the error box shows.
    std::atomic<HRESULT> dropped{E_PENDING};
    std::thread drag([&] {
        OleInitialize(nullptr);
        auto* files = new TFileList(paths);
        TDropAtOnce source;
        DWORD effect = DROPEFFECT_NONE;
        dropped = DoDragDrop(files, &source, DROPEFFECT_COPY, &effect);
        CoDisconnectObject(files, 0);
        files->Release();
        OleUninitialize();
    });
    std::wstring text;
    HWND box = nullptr;
    const bool shown = WaitFor([&] { return (box = ErrorBox(p.Id(), text)) != nullptr; }, 30000);
    if (box)
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    const bool ended = WaitFor([&] { return dropped != E_PENDING; }, 30000);
    if (!ended)
        p.Kill(); // a drop that never returns must not hold the test
    drag.join();
    ASSERT_TRUE(shown) << "no error box after the drop";
    EXPECT_EQ(dropped.load(), DRAGDROP_S_DROP);
    for (const std::wstring& name : kPictures)
        EXPECT_EQ(text.find(name) != std::wstring::npos, name.starts_with(L"bad-"))
            << testing::PrintToString(text);
    EXPECT_EQ(DocumentCount(main), 2);
    EXPECT_TRUE(p.Running());
}

} // namespace
