// Every broken picture of the hostile folder through every picture loader of the program:
// opening a document, Add Image, the Stamp tool and the stamp list. Each gives a clear error naming the
// file or a picture, never a crash or a hang, and a second pass leaves the memory where
// the first left it.
#include <windows.h>

#include <objbase.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "../forms/FormsTestSupport.h"
#include "../forms/ScratchFolder.h"
#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/Dialogs.h"
#include "forms/FileDialogs.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/ThumbView.h"
#include "shell/frmMain.h"

namespace {

std::wstring HostileFolder() {
    const char* unix = std::getenv("TOLVEX_HOSTILE_DIR");
    std::wstring path = L"Z:";
    for (const char* c = unix ? unix : ""; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path;
}

std::vector<std::wstring> PictureNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    TFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            if (found.cFileName[0] != L'.')
                names.emplace_back(found.cFileName);
        } while (FindNextFileW(search.Get(), &found));
    }
    return names;
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    // Wine leaves the private bytes 0 and counts the committed private memory as the
    // page-file usage, which is the same figure on Windows.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// A loader that never returns is a hang: after this long on one file the run ends, naming it.
class TWatchdog {
public:
    TWatchdog()
        : thread_([this] {
              for (int idle = 0; !stop_; Sleep(100)) {
                  idle = ticks_.exchange(0) ? 0 : idle + 1;
                  if (idle > 200) {
                      std::fprintf(stderr, "hang on %ls\n", current_.c_str());
                      std::fflush(stderr);
                      TerminateProcess(GetCurrentProcess(), 3);
                  }
              }
          }) {}
    ~TWatchdog() {
        stop_ = true;
        thread_.join();
    }
    void Enter(const std::wstring& name) {
        current_ = name;
        ++ticks_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> ticks_{0};
    std::wstring current_;
    std::thread thread_;
};

class HostilePicturesTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        form = CreateForm<TMainForm>();
        tool = CreateForm<TToolForm>(*form);
        ToolForm = tool.get();
        ShutterSoundHook = [] {};
        // Closing a document that Add Image changed asks to save it: No.
        MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
        FileDialogHook = [this](TFileDialog& d) {
            d.FileName = chosen;
            return true;
        };
        form->JvFormStorage1.SetStoredValue(SettingName::kIsAfterVisible, false);
        form->JvFormStorage1.SetStoredValue(SettingName::kIsSound, false);
        form->JvFormStorage1.SetStoredValue(SettingName::kOutputType, 0);
    }
    void TearDown() override {
        form.reset();
        PumpPending();
        ToolForm = nullptr;
        tool.reset();
        ShutterSoundHook = nullptr;
        MessageDlgHook = nullptr;
        FileDialogHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        CoUninitialize();
        FormsTest::TearDown();
    }

    // Runs a command as the menu would: what it throws ends in the error box.
    void Run(TAction* action) {
        try {
            action->Execute();
        } catch (...) {
            App().HandleException(std::current_exception());
        }
    }

    std::vector<TChildForm*> Docs() const {
        std::vector<TChildForm*> docs;
        for (TForm* f : form->MDIChildren())
            if (auto* d = dynamic_cast<TChildForm*>(f); d && !d->Released)
                docs.push_back(d);
        return docs;
    }

    // The file's verdict from its name: "ok", "bad" or "any".
    static std::wstring Verdict(const std::wstring& name) { return name.substr(0, name.find(L'-')); }

    // A failure must say which file it was and why.
    void ExpectClearError(const std::wstring& what, const std::wstring& name) {
        ASSERT_EQ(errors.size(), 1u) << what << " of " << testing::PrintToString(name);
        EXPECT_NE(errors[0].find(name + L"\": "), std::wstring::npos) << testing::PrintToString(errors[0]);
        EXPECT_GT(errors[0].size(), errors[0].find(L"\": ") + 5) << testing::PrintToString(errors[0]);
    }
    static void ExpectPicture(const TBitmap32& picture, const std::wstring& name) {
        EXPECT_FALSE(picture.Empty()) << testing::PrintToString(name);
        EXPECT_LE(picture.Width(), 65535);
    }

    // Open beside the document that Add Image and the Stamp tool work on; a new document
    // is closed again at once.
    void OpenDocument(const std::wstring& folder, const std::wstring& name) {
        errors.clear();
        chosen = folder + L"\\" + name;
        Run(form->acFileOpen);
        const std::vector<TChildForm*> docs = Docs();
        if (docs.size() == 1) {
            EXPECT_NE(Verdict(name), L"ok") << "no document for " << testing::PrintToString(name);
            ExpectClearError(L"Open", name);
        } else {
            EXPECT_NE(Verdict(name), L"bad") << "a document for " << testing::PrintToString(name);
            EXPECT_TRUE(errors.empty()) << testing::PrintToString(name);
            TChildForm* opened = docs[0] == work ? docs[1] : docs[0];
            ASSERT_EQ(form->ActiveDocument(), opened);
            ExpectPicture(opened->ImgView32->Bitmap(), name);
            Run(form->acFileClose);
            ASSERT_TRUE(PumpUntil([&] { return form->MDIChildren().size() == 1; }, 10000));
            SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(work->Handle()), 0);
            ASSERT_EQ(form->ActiveDocument(), work);
        }
    }

    // A floating selection is dropped without merging it, so the document stays as it was.
    void AddImage(const std::wstring& folder, const std::wstring& name) {
        errors.clear();
        chosen = folder + L"\\" + name;
        Run(form->acFileAddImage);
        if (TBitmapLayer* layer = work->GetFloatingLayer()) {
            EXPECT_NE(Verdict(name), L"bad") << "a selection for " << testing::PrintToString(name);
            EXPECT_TRUE(errors.empty()) << testing::PrintToString(name);
            ExpectPicture(layer->Bitmap(), name);
        } else {
            EXPECT_NE(Verdict(name), L"ok") << "no selection for " << testing::PrintToString(name);
            ExpectClearError(L"Add Image", name);
        }
        work->SetFloatingLayer(nullptr);
    }

    // The Stamp tool on the document, with a stamp that was readable
    // when it was listed and chosen and is this picture by the time it is placed.
    void PlaceStamp(const std::wstring& folder, const std::wstring& name, const TScratchFolder& group) {
        EmptyGroup(group);
        ASSERT_TRUE(CopyFileW((folder + L"\\ok-plain.gif").c_str(), group.File(name).c_str(), FALSE));
        tool->StempList->SetDirectory(GroupPath(group));
        ASSERT_EQ(tool->StempList->Count(), 1);
        tool->StempList->SetSelected(0);
        ASSERT_TRUE(CopyFileW((folder + L"\\" + name).c_str(), group.File(name).c_str(), FALSE));
        work->PlaceStamp(20, 10);
        // An unreadable stamp places nothing, as with no stamp chosen.
        if (TBitmapLayer* layer = work->GetFloatingLayer()) {
            EXPECT_NE(Verdict(name), L"bad") << "a stamp of " << testing::PrintToString(name);
            ExpectPicture(layer->Bitmap(), name);
        }
        work->SetFloatingLayer(nullptr);
    }

    static void EmptyGroup(const TScratchFolder& group) {
        for (const std::wstring& old : group.Names())
            DeleteFileW(group.File(old).c_str());
    }
    static std::wstring GroupPath(const TScratchFolder& group) {
        const std::wstring any = group.File(L"");
        return any.substr(0, any.size() - 1);
    }

    // The stamp list of a group holding just this picture: a broken one is left out.
    void ListStamp(const std::wstring& folder, const std::wstring& name, const TScratchFolder& group) {
        EmptyGroup(group);
        ASSERT_TRUE(CopyFileW((folder + L"\\" + name).c_str(), group.File(name).c_str(), FALSE));
        tool->StempList->SetDirectory(GroupPath(group));
        if (Verdict(name) != L"any") {
            EXPECT_EQ(tool->StempList->Count(), Verdict(name) == L"ok" ? 1 : 0)
                << testing::PrintToString(name);
        }
        if (tool->StempList->Count() == 1)
            ExpectPicture(tool->StempList->Thumbnail(0), name);
    }

    TFormPtr<TMainForm> form;
    TFormPtr<TToolForm> tool;
    std::wstring chosen;
    TBitmap blank{64, 48, TPixelFormat::pf24bit};
    TChildForm* work = nullptr; // the document of Add Image and the Stamp tool
};

TEST_F(HostilePicturesTest, EveryLoaderGivesAClearErrorOrAPictureAndTheMemoryComesBack) {
    const std::wstring folder = HostileFolder();
    const std::vector<std::wstring> names = PictureNames(folder);
    ASSERT_GT(PrivateBytes(), 0u);
    ASSERT_GT(names.size(), 200u) << "the hostile pictures were not made in "
                                  << testing::PrintToString(folder);
    TScratchFolder group(L"tolvex-stamps-");
    TWatchdog watchdog;
    form->NewCapture(blank);
    ASSERT_EQ(Docs().size(), 1u);
    work = Docs()[0];

    // The first pass warms every cache and decoder; the second must end where it began.
    SIZE_T before = 0;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            before = PrivateBytes();
        for (const std::wstring& name : names) {
            watchdog.Enter(name);
            OpenDocument(folder, name);
            AddImage(folder, name);
            PlaceStamp(folder, name, group);
            ListStamp(folder, name, group);
            if (HasFatalFailure() || (pass == 0 && HasFailure()))
                return;
        }
    }
    const SIZE_T after = PrivateBytes();
    std::printf("private bytes %lu before and %lu after the second pass of %u files\n",
                static_cast<unsigned long>(before), static_cast<unsigned long>(after),
                static_cast<unsigned>(names.size()));
    EXPECT_LE(after, before + before / 20);
}

} // namespace
