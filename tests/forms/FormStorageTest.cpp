#include "forms/FormStorage.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>

#include "tests/forms/ScratchFolder.h"

namespace {

constexpr wchar_t kProductKey[] = L"Software\\Tolvex";

// The product's registry key is removed before and after each test that may touch it.
class TProductKeyGuard {
public:
    TProductKeyGuard() { RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey); }
    ~TProductKeyGuard() { RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey); }
    TProductKeyGuard(const TProductKeyGuard&) = delete;
    TProductKeyGuard& operator=(const TProductKeyGuard&) = delete;
};

bool ProductKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct TRawValue {
    DWORD Type = 0;
    std::vector<BYTE> Data;
    DWORD Dword() const {
        DWORD value = 0;
        std::memcpy(&value, Data.data(), std::min<std::size_t>(Data.size(), sizeof(value)));
        return value;
    }
    std::wstring Text() const {
        std::wstring text(Data.size() / 2, L'\0');
        std::memcpy(text.data(), Data.data(), text.size() * 2);
        return text.substr(0, text.find(L'\0'));
    }
};

std::optional<TRawValue> RawValue(const std::wstring& name) {
    TRawValue value;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kProductKey, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.Type,
                     nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.Data.resize(size);
    if (RegGetValueW(HKEY_CURRENT_USER, kProductKey, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.Type,
                     value.Data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.Data.resize(size);
    return value;
}

void SetRawValue(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kProductKey, name.c_str(), type, data, size), ERROR_SUCCESS);
}
void SetRawText(const std::wstring& name, const std::wstring& text) {
    SetRawValue(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
}
void SetRawDword(const std::wstring& name, DWORD value) {
    SetRawValue(name, REG_DWORD, &value, sizeof(value));
}

DWORD ValueCount() {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
    }
    return count;
}

// A plain top-level window whose placement the store keeps; hidden unless shown.
class TTestWindow {
public:
    TTestWindow() {
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TolvexSettingsTestWindow";
            return RegisterClassW(&wc);
        }();
        handle_ = CreateWindowExW(0, MAKEINTATOM(windowClass), L"Settings", WS_OVERLAPPEDWINDOW, 100, 120,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TTestWindow() { DestroyWindow(handle_); }
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;
    HWND Handle() const { return handle_; }

    RECT Normal() const {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        GetWindowPlacement(handle_, &wp);
        return wp.rcNormalPosition;
    }
    void MoveTo(int left, int top, int width, int height) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    HWND handle_ = nullptr;
};

std::array<int, 4> Numbers(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void WriteBytes(const std::wstring& file, const std::string& bytes) {
    HANDLE h =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(written, bytes.size());
}

std::string ReadBytes(const std::wstring& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<unreadable>";
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    bytes.resize(read);
    return bytes;
}

bool FileExists(const std::wstring& file) {
    return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The text of a file written as UTF-8 (or plain ASCII).
std::wstring ReadText(const std::wstring& file) {
    const std::string bytes = ReadBytes(file);
    std::wstring text(bytes.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

// The settings of the main window as it registers them: the 25 values and the nine
// properties, whose current values live in Props.
struct TDesignedSettings {
    std::array<TStoredValue, 9> Props;
    TFormStorage Storage;

    TDesignedSettings(TAppStorage& backEnd, HWND form) {
        Storage.SetStorage(&backEnd);
        Storage.SetFormHandle(form);
        for (std::size_t i = 0; i < kStoredProps.size(); ++i) {
            const auto& def = kStoredProps[i];
            Props[i] = def.Type == TStoredType::Boolean ? TStoredValue(def.Designed != 0)
                                                        : TStoredValue(def.Designed);
            Storage.AddStoredProp(
                def.Entry, [this, i] { return Props[i]; },
                [this, i](const TStoredValue& v) { Props[i] = v; });
        }
        for (const auto& def : kStoredValues)
            Storage.AddStoredValue(def.Name, DefaultValue(def));
    }
};

std::wstring Suffix() {
    return ScreenSizeSuffix(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

int PixelsPerInch() {
    HDC dc = GetDC(nullptr);
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi;
}

} // namespace

// ---- Values in memory ----

TEST(FormStorageValues, TypedReadsConvertOrFallBackToTheDefaultAndNeverThrowForStoredData) {
    TFormStorage store;
    store.AddStoredValue(L"Delay", std::int32_t{500});
    store.AddStoredValue(L"Flag", true);
    store.AddStoredValue(L"Name", std::wstring(L"x"));

    EXPECT_EQ(store.ReadInteger(L"delay"), 500) << "names are compared without regard to case";
    store.SetStoredValue(L"Delay", std::wstring(L" 250 "));
    EXPECT_EQ(store.ReadInteger(L"Delay"), 250);
    store.SetStoredValue(L"Delay", std::wstring(L"soon"));
    EXPECT_EQ(store.ReadInteger(L"Delay"), 500);
    EXPECT_EQ(store.ReadString(L"Delay"), L"soon");
    store.SetStoredValue(L"Delay", true);
    EXPECT_EQ(store.ReadInteger(L"Delay"), 1);

    store.SetStoredValue(L"Flag", std::wstring(L"no"));
    EXPECT_FALSE(store.ReadBool(L"Flag"));
    store.SetStoredValue(L"Flag", std::wstring(L"perhaps"));
    EXPECT_TRUE(store.ReadBool(L"Flag"));
    store.SetStoredValue(L"Flag", std::int32_t{0});
    EXPECT_FALSE(store.ReadBool(L"Flag"));

    store.SetStoredValue(L"Name", std::int32_t{-3});
    EXPECT_EQ(store.ReadString(L"Name"), L"-3");
    store.SetStoredValue(L"Name", false);
    EXPECT_EQ(store.ReadString(L"Name"), L"FALSE");
    EXPECT_EQ(store.StoredValue(L"Name"), TStoredValue(false));
}

TEST(FormStorageValues, UnknownAndDuplicateNamesAreProgramErrors) {
    TFormStorage store;
    store.AddStoredValue(L"isSound", true);
    EXPECT_THROW(store.AddStoredValue(L"ISSOUND", false), std::invalid_argument);
    EXPECT_THROW(store.StoredValue(L"isSilent"), std::out_of_range);
    EXPECT_THROW(store.SetStoredValue(L"isSilent", true), std::out_of_range);
    EXPECT_THROW(store.ReadBool(L"isSilent"), std::out_of_range);
    EXPECT_THROW(store.SaveFormPlacement(), std::logic_error) << "no back end";
}

// ---- Registry back end ----

TEST(FormStorageRegistry, ASaveWritesEveryKeyUnderSoftwareTolvexWithItsRegistryType) {
    TProductKeyGuard guard;
    TTestWindow window;
    TAppRegistryStorage registry;
    TDesignedSettings settings(registry, window.Handle());
    settings.Storage.SetStoredValue(SettingName::kOutputFolder, std::wstring(L"C:\\Shots"));
    settings.Storage.SaveFormPlacement();

    EXPECT_EQ(ValueCount(), SaveOrderKeys(1, 1).size());
    for (const auto& key : SaveOrderKeys(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
        EXPECT_TRUE(RawValue(key).has_value()) << std::string(key.begin(), key.end());

    const auto dword = [](const wchar_t* name) {
        const auto v = RawValue(name);
        EXPECT_TRUE(v && v->Type == REG_DWORD) << "REG_DWORD expected";
        return v ? v->Dword() : 0xFFFFFFFFu;
    };
    const auto text = [](const std::wstring& name) {
        const auto v = RawValue(name);
        EXPECT_TRUE(v && v->Type == REG_SZ) << "REG_SZ expected";
        return v ? v->Text() : L"<missing>";
    };
    EXPECT_EQ(dword(L"FormVersion"), 0u);
    EXPECT_EQ(dword(L"Flags"), 0u);
    EXPECT_EQ(dword(L"PixelsPerInch"), static_cast<DWORD>(PixelsPerInch()));
    const RECT normal = window.Normal();
    const std::wstring normText = std::to_wstring(normal.left) + L"," + std::to_wstring(normal.top) + L"," +
                                  std::to_wstring(normal.right) + L"," + std::to_wstring(normal.bottom);
    EXPECT_EQ(text(L"NormPos"), normText);
    EXPECT_EQ(text(L"NormPos" + Suffix()), normText);
    EXPECT_EQ(text(L"MinMaxPos"), text(L"MinMaxPos" + Suffix()));
    EXPECT_EQ(dword(L"acCaptureControl_ShortCut"), 24688u);
    EXPECT_EQ(dword(L"acCaptureRecapture_ShortCut"), 24696u);
    EXPECT_EQ(text(L"acCaptureAutoScroll_Checked"), L"TRUE");
    EXPECT_EQ(text(L"isBeforeHide"), L"TRUE");
    EXPECT_EQ(dword(L"CaptureDelay"), 500u);
    EXPECT_EQ(dword(L"NewCaptureColor"), 16777215u);
    EXPECT_EQ(text(L"Language"), L"");
    EXPECT_EQ(text(L"OutputFolder"), L"C:\\Shots");
}

TEST(FormStorageRegistry, AValueIsWrittenByTheTypeItHoldsNow) {
    TProductKeyGuard guard;
    TAppRegistryStorage registry;
    TFormStorage store;
    store.SetStorage(&registry);
    store.AddStoredValue(L"isSound", true);
    store.AddStoredValue(L"OutputType", std::int32_t{0});
    store.SetStoredValue(L"isSound", false);
    store.SetStoredValue(L"OutputType", std::wstring(L"2"));
    store.SaveFormPlacement();
    EXPECT_EQ(RawValue(L"isSound")->Text(), L"FALSE");
    EXPECT_EQ(RawValue(L"OutputType")->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(RawValue(L"NormPos").has_value()) << "no window, no placement";
    EXPECT_EQ(RawValue(L"FormVersion")->Dword(), 0u);
}

TEST(FormStorageRegistry, AKeyThatCannotBeCreatedFailsTheSaveWithAMessage) {
    TAppRegistryStorage broken(reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x1234)), L"Software");
    TFormStorage store;
    store.SetStorage(&broken);
    store.AddStoredValue(L"isSound", true);
    store.RestoreFormPlacement();
    try {
        store.SaveFormPlacement();
        FAIL() << "the save reported success";
    } catch (const EAppStorageError& e) {
        EXPECT_NE(e.Message().find(L"Software\\Tolvex"), std::wstring::npos);
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_FALSE(store.SavedSinceRestore());
    EXPECT_TRUE(store.ReadBool(L"isSound"));
}

TEST(FormStorageRegistry, RestoreReadsEachValueWithItsTypeAndKeepsDefaultsForTheRest) {
    TProductKeyGuard guard;
    SetRawDword(L"CaptureDelay", 250);
    SetRawText(L"ScrollDelay", L"300"); // an integer of the wrong type
    SetRawText(L"isSound", L"no");
    SetRawDword(L"isIEButton", 0);                  // a boolean of the wrong type
    SetRawText(L"isAfterVisible", L"maybe");        // a word outside both lists
    SetRawValue(L"Language", REG_SZ, L"Korea", 10); // text stored without its terminator
    SetRawText(L"OutputFolder", std::wstring(40000, L'a'));
    SetRawDword(L"OutputType", 1);
    SetRawDword(L"acCaptureWindow_ShortCut", 0x4041);
    SetRawText(L"acCaptureAutoScroll_Checked", L"N");
    SetRawText(L"acCaptureRect_ShortCut", L"24691");

    TAppRegistryStorage registry;
    TDesignedSettings settings(registry, nullptr);
    EXPECT_FALSE(settings.Storage.RestoreFormPlacement()) << "no placement was stored";
    const TFormStorage& store = settings.Storage;
    EXPECT_EQ(store.ReadInteger(SettingName::kCaptureDelay), 250);
    EXPECT_EQ(store.ReadInteger(SettingName::kScrollDelay), 100);
    EXPECT_FALSE(store.ReadBool(SettingName::kIsSound));
    EXPECT_TRUE(store.ReadBool(SettingName::kIsIEButton));
    EXPECT_TRUE(store.ReadBool(SettingName::kIsAfterVisible));
    EXPECT_EQ(store.ReadString(SettingName::kLanguage), L"Korea");
    EXPECT_EQ(store.ReadString(SettingName::kOutputFolder), L"") << "text past the limit is unreadable";
    EXPECT_EQ(store.ReadInteger(SettingName::kOutputType), 1);
    EXPECT_EQ(store.ReadInteger(SettingName::kNewCaptureWidth), 320);
    EXPECT_EQ(store.StoredValue(SettingName::kIsBeforeHide), TStoredValue(true));
    EXPECT_EQ(settings.Props[1], TStoredValue(std::int32_t{0x4041}));
    EXPECT_EQ(settings.Props[3], TStoredValue(std::int32_t{24691}))
        << "a shortcut held as text is unreadable";
    EXPECT_EQ(settings.Props[8], TStoredValue(false));
    EXPECT_EQ(settings.Props[0], TStoredValue(std::int32_t{24688}));
}

TEST(FormStorageRegistry, SavedSettingsComeBackInTheNextRun) {
    TProductKeyGuard guard;
    TAppRegistryStorage registry;
    {
        TDesignedSettings first(registry, nullptr);
        first.Storage.RestoreFormPlacement();
        first.Storage.SetStoredValue(SettingName::kIsBeforeHide, false);
        first.Storage.SetStoredValue(SettingName::kHistoryColor3, std::int32_t{0x00112233});
        first.Storage.SetStoredValue(SettingName::kOutputFolder, std::wstring(L"D:\\캡처\\Größe"));
        first.Props[2] = std::int32_t{0x6000 + 'R'};
        first.Storage.SaveFormPlacement();
    }
    TDesignedSettings second(registry, nullptr);
    second.Storage.RestoreFormPlacement();
    EXPECT_FALSE(second.Storage.ReadBool(SettingName::kIsBeforeHide));
    EXPECT_EQ(second.Storage.ReadInteger(SettingName::kHistoryColor3), 0x00112233);
    EXPECT_EQ(second.Storage.ReadString(SettingName::kOutputFolder), L"D:\\캡처\\Größe");
    EXPECT_EQ(second.Props[2], TStoredValue(std::int32_t{0x6000 + 'R'}));
}

// ---- INI back end ----

TEST(FormStorageIni, AnEmptyFileReceivesSectionTolvexWithEveryKeyInSaveOrder) {
    TProductKeyGuard guard;
    TScratchFolder folder(L"TolvexSettingsTest");
    const std::wstring file = folder.File(L"Tolvex.ini");
    WriteBytes(file, "");
    TAppIniFileStorage ini;
    ini.SetFileName(file);
    TTestWindow window;
    TDesignedSettings settings(ini, window.Handle());
    settings.Storage.RestoreFormPlacement();
    settings.Storage.SaveFormPlacement();

    const TIniDocument written(ReadText(file));
    EXPECT_EQ(written.Keys(L"Tolvex"),
              SaveOrderKeys(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    const std::wstring text = ReadText(file);
    EXPECT_EQ(text.substr(0, 23), L"[Tolvex]\r\nFormVersion=0");
    for (const wchar_t* line :
         {L"\r\nisBeforeHide=TRUE\r\n", L"\r\nCaptureDelay=500\r\n",
          L"\r\nacCaptureControl_ShortCut=24688\r\n", L"\r\nLanguage=\r\n",
          L"\r\nacCaptureAutoScroll_Checked=TRUE\r\n", L"\r\nNewCaptureColor=16777215\r\n"})
        EXPECT_NE(text.find(line), std::wstring::npos) << std::string(line, line + wcslen(line));
    EXPECT_FALSE(ProductKeyExists()) << "the registry is not touched";
    EXPECT_FALSE(FileExists(file + L".tmp"));
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Tolvex.ini"}) << "no temporary file is left";
}

TEST(FormStorageIni, EverySaveReachesTheFileAndOtherSectionsAndKeysSurvive) {
    TScratchFolder folder(L"TolvexSettingsTest");
    const std::wstring file = folder.File(L"Tolvex.ini");
    WriteBytes(file, "; kept\r\n[Other]\r\nKeep=1\r\n\r\n[Tolvex]\r\nCaptureDelay=100\r\nMine=yes\r\n");
    TAppIniFileStorage ini;
    ini.SetFileName(file);
    TDesignedSettings settings(ini, nullptr);
    settings.Storage.RestoreFormPlacement();
    EXPECT_EQ(settings.Storage.ReadInteger(SettingName::kCaptureDelay), 100);

    settings.Storage.SetStoredValue(SettingName::kCaptureDelay, std::int32_t{750});
    settings.Storage.SaveFormPlacement();
    TIniDocument onDisk(ReadText(file));
    EXPECT_EQ(onDisk.Read(L"Other", L"Keep"), L"1");
    EXPECT_EQ(onDisk.Read(L"Tolvex", L"Mine"), L"yes");
    EXPECT_EQ(onDisk.Read(L"Tolvex", L"CaptureDelay"), L"750");
    EXPECT_EQ(onDisk.Keys(L"Tolvex").at(0), L"CaptureDelay") << "a known key stays where it was";
    EXPECT_EQ(ReadText(file).substr(0, 8), L"; kept\r\n");

    // A second save in the same run is on disk at once, not only at exit.
    settings.Storage.SetStoredValue(SettingName::kIsSound, false);
    settings.Storage.SaveFormPlacement();
    onDisk = TIniDocument(ReadText(file));
    EXPECT_EQ(onDisk.Read(L"Tolvex", L"isSound"), L"FALSE");
}

TEST(FormStorageIni, MalformedStoredTextGivesTheDefault) {
    TScratchFolder folder(L"TolvexSettingsTest");
    const std::wstring file = folder.File(L"Tolvex.ini");
    WriteBytes(file, "[Tolvex]\r\nCaptureDelay=abc\r\nisSound=maybe\r\nScrollDelay= 250 \r\nisIEButton=no\r\n"
                     "NewCaptureWidth=99999999999\r\nLanguage=Korea\r\nacCaptureRect_ShortCut=x\r\n"
                     "acCaptureAutoScroll_Checked=False\r\nFormVersion=zero\r\n");
    TAppIniFileStorage ini;
    ini.SetFileName(file);
    TDesignedSettings settings(ini, nullptr);
    settings.Storage.RestoreFormPlacement();
    const TFormStorage& store = settings.Storage;
    EXPECT_EQ(store.ReadInteger(SettingName::kCaptureDelay), 500);
    EXPECT_TRUE(store.ReadBool(SettingName::kIsSound));
    EXPECT_EQ(store.ReadInteger(SettingName::kScrollDelay), 250);
    EXPECT_FALSE(store.ReadBool(SettingName::kIsIEButton));
    EXPECT_EQ(store.ReadInteger(SettingName::kNewCaptureWidth), 320);
    EXPECT_EQ(store.ReadString(SettingName::kLanguage), L"Korea");
    EXPECT_EQ(settings.Props[3], TStoredValue(std::int32_t{24691}));
    EXPECT_EQ(settings.Props[8], TStoredValue(false));
}

TEST(FormStorageIni, AFileThatCouldNotBeReadIsNeverOverwritten) {
    TScratchFolder folder(L"TolvexSettingsTest");
    const std::wstring file = folder.File(L"Tolvex.ini");
    const std::string original = "[Other]\r\nPrecious=1\r\n[Tolvex]\r\nisSound=FALSE\r\n";
    WriteBytes(file, original);
    TAppIniFileStorage ini;
    {
        // Another program holds the file without sharing it while the store loads.
        HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ini.SetFileName(file);
        CloseHandle(held);
    }
    EXPECT_FALSE(ini.LoadError().empty());
    TDesignedSettings settings(ini, nullptr);
    settings.Storage.RestoreFormPlacement();
    EXPECT_TRUE(settings.Storage.ReadBool(SettingName::kIsSound)) << "defaults in memory";
    EXPECT_THROW(settings.Storage.SaveFormPlacement(), EAppStorageError);
    EXPECT_THROW(settings.Storage.SaveIfNotSavedSinceRestore(), EAppStorageError);
    EXPECT_EQ(ReadBytes(file), original);
}

TEST(FormStorageIni, TheFileKeepsItsEncodingAndNoCharacterIsLost) {
    TScratchFolder folder(L"TolvexSettingsTest");
    // UTF-16 with its byte-order mark stays UTF-16.
    const std::wstring wide = folder.File(L"wide.ini");
    const std::wstring wideText = L"[Other]\r\nName=Größe\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : wideText) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    WriteBytes(wide, bytes);
    {
        TAppIniFileStorage ini;
        ini.SetFileName(wide);
        EXPECT_EQ(ini.Encoding(), TAppIniFileStorage::TEncoding::Utf16Le);
        TDesignedSettings settings(ini, nullptr);
        settings.Storage.SaveFormPlacement();
        EXPECT_EQ(ReadBytes(wide).substr(0, 2), "\xFF\xFE");
        TAppIniFileStorage again;
        again.SetFileName(wide);
        EXPECT_EQ(again.ReadString(L"Other\\", L"Name"), L"Größe");
        EXPECT_EQ(again.ReadInteger(L"Tolvex\\", L"CaptureDelay"), 500);
    }
    // A file in the ANSI code page (not UTF-8) keeps its text; a folder name that code
    // page cannot hold turns the file into marked UTF-8 instead of being lost.
    const std::wstring ansi = folder.File(L"ansi.ini");
    const std::string ansiBytes = "[Other]\r\nName=Caf\xE9\r\n";
    WriteBytes(ansi, ansiBytes);
    wchar_t decoded[32] = {};
    MultiByteToWideChar(CP_ACP, 0, "Caf\xE9", 4, decoded, 32);
    const std::wstring folderName = L"D:\\\U0001F4F7 shots";
    {
        TAppIniFileStorage ini;
        ini.SetFileName(ansi);
        EXPECT_EQ(ini.Encoding(), TAppIniFileStorage::TEncoding::Ansi);
        TDesignedSettings settings(ini, nullptr);
        settings.Storage.SaveFormPlacement();
        EXPECT_EQ(ReadBytes(ansi).substr(0, ansiBytes.size()), ansiBytes) << "still ANSI while it can be";
        settings.Storage.SetStoredValue(SettingName::kOutputFolder, folderName);
        settings.Storage.SaveFormPlacement();
        EXPECT_EQ(ReadBytes(ansi).substr(0, 3), "\xEF\xBB\xBF");
    }
    TAppIniFileStorage again;
    again.SetFileName(ansi);
    EXPECT_EQ(again.ReadString(L"Other\\", L"Name"), std::wstring(decoded));
    EXPECT_EQ(again.ReadString(L"Tolvex\\", L"OutputFolder"), folderName);
}

// ---- Window placement ----

class FormStoragePlacement : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = folder_.File(L"Tolvex.ini");
        WriteBytes(file_, "");
    }
    // Loads a settings file of the given lines into a fresh INI back end.
    TAppIniFileStorage& Load(const std::wstring& lines) {
        std::wstring text = L"[Tolvex]\r\n" + lines;
        WriteBytes(file_, std::string(text.begin(), text.end()));
        ini_.SetFileName(file_);
        return ini_;
    }
    static std::wstring Rect(int l, int t, int r, int b) { return FormatPlacementText({l, t, r, b}); }

    TScratchFolder folder_{L"TolvexSettingsTest"};
    std::wstring file_;
    TAppIniFileStorage ini_;
    TTestWindow window_;
};

TEST_F(FormStoragePlacement, ASavedPlacementIsRestored) {
    ini_.SetFileName(file_);
    window_.MoveTo(40, 50, 320, 240);
    const auto saved = Numbers(window_.Normal());
    TDesignedSettings settings(ini_, window_.Handle());
    settings.Storage.SaveFormPlacement();

    window_.MoveTo(200, 210, 100, 100);
    TAppIniFileStorage reloaded;
    reloaded.SetFileName(file_);
    TDesignedSettings next(reloaded, window_.Handle());
    EXPECT_TRUE(next.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), saved);
    EXPECT_FALSE(IsWindowVisible(window_.Handle())) << "the window state is not restored";
}

TEST_F(FormStoragePlacement, TheKeysOfTheCurrentScreenSizeArePreferredOverThePlainOnes) {
    Load(L"NormPos" + Suffix() + L"=" + Rect(30, 40, 330, 290) + L"\r\nNormPos=" + Rect(60, 70, 360, 270) +
         L"\r\n");
    TDesignedSettings settings(ini_, window_.Handle());
    EXPECT_TRUE(settings.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), (std::array<int, 4>{30, 40, 330, 290}));
}

TEST_F(FormStoragePlacement, AtAnotherScreenSizeThePlainKeysAreUsed) {
    Load(L"NormPos(1x1)=" + Rect(30, 40, 330, 290) + L"\r\nNormPos=" + Rect(60, 70, 360, 270) + L"\r\n");
    TDesignedSettings settings(ini_, window_.Handle());
    EXPECT_TRUE(settings.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), (std::array<int, 4>{60, 70, 360, 270}));
}

TEST_F(FormStoragePlacement, APlacementFromAnotherPixelsPerInchIsNotApplied) {
    const auto before = Numbers(window_.Normal());
    Load(L"PixelsPerInch=" + std::to_wstring(PixelsPerInch() + 24) + L"\r\nNormPos=" +
         Rect(60, 70, 360, 270) + L"\r\nisSound=FALSE\r\n");
    TDesignedSettings settings(ini_, window_.Handle());
    EXPECT_FALSE(settings.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), before);
    EXPECT_FALSE(settings.Storage.ReadBool(SettingName::kIsSound)) << "the values are restored all the same";

    Load(L"PixelsPerInch=" + std::to_wstring(PixelsPerInch()) + L"\r\nNormPos=" + Rect(60, 70, 360, 270) +
         L"\r\n");
    TDesignedSettings same(ini_, window_.Handle());
    EXPECT_TRUE(same.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), (std::array<int, 4>{60, 70, 360, 270}));
}

TEST_F(FormStoragePlacement, AnEmptyNormalRectangleIsNotApplied) {
    const auto before = Numbers(window_.Normal());
    Load(L"NormPos=" + Rect(160, 70, 160, 170) + L"\r\n");
    TDesignedSettings settings(ini_, window_.Handle());
    EXPECT_FALSE(settings.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), before);
}

TEST_F(FormStoragePlacement, MalformedNumbersOfTheNormalRectangleKeepTheWindowsOwn) {
    window_.MoveTo(100, 120, 300, 200);
    const RECT before = window_.Normal();
    Load(L"NormPos=50,x,,350\r\nMinMaxPos=garbage\r\nFlags=-1\r\n");
    TDesignedSettings settings(ini_, window_.Handle());
    EXPECT_TRUE(settings.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()),
              (std::array<int, 4>{50, static_cast<int>(before.top), static_cast<int>(before.right), 350}));
}

TEST_F(FormStoragePlacement, AStoredVersionBelowZeroRestoresNothing) {
    const auto before = Numbers(window_.Normal());
    Load(L"FormVersion=-1\r\nNormPos=" + Rect(60, 70, 360, 270) + L"\r\nCaptureDelay=42\r\n");
    TDesignedSettings settings(ini_, window_.Handle());
    EXPECT_FALSE(settings.Storage.RestoreFormPlacement());
    EXPECT_EQ(Numbers(window_.Normal()), before);
    EXPECT_EQ(settings.Storage.ReadInteger(SettingName::kCaptureDelay), 500);
}

// ---- When the store saves, and which back end it uses ----

TEST(FormStorageLifecycle, TheDestroyPathSavesOnlyWhenNothingWasSavedSinceTheRestore) {
    TScratchFolder folder(L"TolvexSettingsTest");
    const std::wstring file = folder.File(L"Tolvex.ini");
    WriteBytes(file, "");
    TAppIniFileStorage ini;
    ini.SetFileName(file);
    TDesignedSettings settings(ini, nullptr);
    EXPECT_FALSE(settings.Storage.SaveIfNotSavedSinceRestore()) << "never restored: stored settings stay";
    EXPECT_EQ(ReadBytes(file), "");

    settings.Storage.RestoreFormPlacement();
    EXPECT_TRUE(settings.Storage.SaveIfNotSavedSinceRestore());
    EXPECT_NE(ReadBytes(file), "");
    EXPECT_FALSE(settings.Storage.SaveIfNotSavedSinceRestore());

    settings.Storage.RestoreFormPlacement();
    settings.Storage.SaveFormPlacement();
    EXPECT_FALSE(settings.Storage.SaveIfNotSavedSinceRestore());
}

TEST(FormStorageLifecycle, TheIniBackEndIsChosenOnlyWhenTheFileExists) {
    TScratchFolder folder(L"TolvexSettingsTest");
    TAppRegistryStorage registry;
    TAppIniFileStorage ini;
    const std::wstring file = folder.File(L"Tolvex.ini");
    EXPECT_EQ(&ChooseAppStorage(registry, ini, file), &registry);
    EXPECT_FALSE(FileExists(file)) << "the file is never created";

    CreateDirectoryW(file.c_str(), nullptr);
    EXPECT_EQ(&ChooseAppStorage(registry, ini, file), &registry)
        << "a folder of that name is no settings file";
    RemoveDirectoryW(file.c_str());

    WriteBytes(file, "[Tolvex]\r\nLanguage=English\r\n");
    EXPECT_EQ(&ChooseAppStorage(registry, ini, file), &ini);
    EXPECT_EQ(ini.ReadString(L"Tolvex\\", L"Language"), L"English");

    const std::wstring beside = ProgramIniFileName();
    EXPECT_GE(beside.size(), 11u);
    EXPECT_EQ(beside.substr(beside.size() - 11), L"\\Tolvex.ini");
}
