#include "forms/FormStorage.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "forms/Files.h"
#include "forms/Handles.h"
#include "forms/Strings.h"

namespace {

// Texts of the errors a save can report.
constexpr std::wstring_view kCannotCreateKey = L"Cannot create the registry key ";
constexpr std::wstring_view kCannotWriteValue = L"Cannot write the registry value ";
constexpr std::wstring_view kCannotReadFile = L"Cannot read the settings file ";
constexpr std::wstring_view kCannotWriteFile = L"Cannot write the settings file ";
constexpr std::wstring_view kFileTooLarge = L"The file is too large to be a settings file.";
constexpr std::wstring_view kFileNotText = L"The file is not text in a known encoding.";
constexpr std::wstring_view kNotOverwritten = L" It was not read, so it is not overwritten.";

std::wstring Quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

// "Tolvex\" names the key or section "Tolvex".
std::wstring WithoutTrailingSeparator(std::wstring_view path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.remove_suffix(1);
    return std::wstring(path);
}

// The key for reading values; none when it does not exist or cannot be opened.
TRegKey OpenForQuery(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return TRegKey();
    return TRegKey(key);
}

std::wstring DecodeUtf16(const char* bytes, std::size_t size, bool bigEndian) {
    std::wstring text(size / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2 + 2);
    const auto put = [&](unsigned value) {
        const auto high = static_cast<char>((value >> 8) & 0xFF);
        const auto low = static_cast<char>(value & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    put(0xFEFF);
    for (wchar_t c : text)
        put(static_cast<unsigned>(c));
    return bytes;
}

// The screen's vertical pixels per inch, as the placement records it.
int ScreenPixelsPerInch() {
    const TWindowDC screen(nullptr);
    return screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}

// Conversions between the types a value may hold; nothing where there is no meaning.
std::optional<bool> AsBool(const TStoredValue& value) {
    if (const auto* b = std::get_if<bool>(&value))
        return *b;
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i != 0;
    return StoredTextToBool(std::get<std::wstring>(value));
}

std::optional<std::int32_t> AsInteger(const TStoredValue& value) {
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return *i;
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    return StoredTextToInteger(std::get<std::wstring>(value));
}

std::wstring AsString(const TStoredValue& value) {
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return IntegerToStoredText(*i);
    if (const auto* b = std::get_if<bool>(&value))
        return std::wstring(BoolToStoredText(*b));
    return std::get<std::wstring>(value);
}

} // namespace

// ---- TAppStorage ----

std::optional<bool> TAppStorage::ReadBoolean(std::wstring_view path, std::wstring_view name) {
    const auto text = ReadString(path, name);
    return text ? StoredTextToBool(*text) : std::nullopt;
}

void TAppStorage::WriteBoolean(std::wstring_view name, bool value) {
    WriteString(name, BoolToStoredText(value));
}

// ---- TAppRegistryStorage ----

TAppRegistryStorage::TAppRegistryStorage(HKEY root, std::wstring rootPath)
    : root_(root), rootPath_(std::move(rootPath)) {}

TAppRegistryStorage::~TAppRegistryStorage() {
    CancelUpdate();
}

std::wstring TAppRegistryStorage::KeyPath(std::wstring_view path) const {
    const std::wstring relative = WithoutTrailingSeparator(path);
    if (rootPath_.empty() || relative.empty())
        return rootPath_ + relative;
    return rootPath_ + L"\\" + relative;
}

// Only a REG_DWORD is an integer here; anything else under that name counts as missing.
std::optional<std::int32_t> TAppRegistryStorage::ReadInteger(std::wstring_view path, std::wstring_view name) {
    const TRegKey key = OpenForQuery(root_, KeyPath(path));
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const std::wstring valueName(name);
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::wstring> TAppRegistryStorage::ReadString(std::wstring_view path, std::wstring_view name) {
    const TRegKey key = OpenForQuery(root_, KeyPath(path));
    if (!key)
        return std::nullopt;
    const std::wstring valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > (kMaxTextLength + 1) * sizeof(wchar_t))
        return std::nullopt;
    // One character more than reported, so that text stored without its terminator ends too.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &read) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    text.resize(std::min<std::size_t>(read / sizeof(wchar_t), text.size()));
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}

void TAppRegistryStorage::BeginUpdate(std::wstring_view path) {
    CancelUpdate();
    updatePath_ = KeyPath(path);
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExW(root_, updatePath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        throw EAppStorageError(std::wstring(kCannotCreateKey) + Quoted(updatePath_) + L": " +
                               SysErrorMessage(static_cast<DWORD>(result)));
    updateKey_.Reset(key);
}

void TAppRegistryStorage::WriteInteger(std::wstring_view name, std::int32_t value) {
    if (!updateKey_)
        throw std::logic_error("registry write outside an update");
    // Negative numbers (none of the designed values is) keep their bits in the DWORD.
    const auto data = static_cast<DWORD>(value);
    const LONG result = RegSetValueExW(updateKey_.Get(), std::wstring(name).c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&data), sizeof(data));
    if (result != ERROR_SUCCESS)
        throw EAppStorageError(std::wstring(kCannotWriteValue) + Quoted(name) + L": " +
                               SysErrorMessage(static_cast<DWORD>(result)));
}

void TAppRegistryStorage::WriteString(std::wstring_view name, std::wstring_view value) {
    if (!updateKey_)
        throw std::logic_error("registry write outside an update");
    const std::wstring data(value);
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    const LONG result = RegSetValueExW(updateKey_.Get(), std::wstring(name).c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    if (result != ERROR_SUCCESS)
        throw EAppStorageError(std::wstring(kCannotWriteValue) + Quoted(name) + L": " +
                               SysErrorMessage(static_cast<DWORD>(result)));
}

void TAppRegistryStorage::EndUpdate() {
    CancelUpdate();
}

void TAppRegistryStorage::CancelUpdate() noexcept {
    // Registry writes last as soon as they are made; ending an update only lets the key go.
    updateKey_.Reset();
}

// ---- TAppIniFileStorage ----

void TAppIniFileStorage::SetFileName(const std::wstring& fileName) {
    fileName_ = fileName;
    loadError_.clear();
    document_ = TIniDocument();
    encoding_ = TEncoding::Utf8;

    const auto fail = [&](std::wstring_view reason) {
        loadError_ = std::wstring(kCannotReadFile) + Quoted(fileName_) + L": " + std::wstring(reason);
    };
    TFileHandle file(CreateFileW(fileName_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        // A file that is not there yet starts empty; it is made by the first save.
        if (error != ERROR_FILE_NOT_FOUND)
            fail(SysErrorMessage(error));
        return;
    }
    const TFileRead read = ReadOpenFile(file.Get(), kMaxFileSize);
    if (read.Status == TReadStatus::TooLarge)
        return fail(kFileTooLarge);
    if (read.Status == TReadStatus::Failed)
        return fail(SysErrorMessage(read.Error));
    const std::string_view bytes = read.Chars();

    // The byte-order mark tells the encoding; without one, valid UTF-8 is taken as UTF-8.
    const auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    std::optional<std::wstring> text;
    if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        encoding_ = bigEndian ? TEncoding::Utf16Be : TEncoding::Utf16Le;
        if (bytes.size() % 2 == 0)
            text = DecodeUtf16(bytes.data() + 2, bytes.size() - 2, bigEndian);
    } else if (startsWith("\xEF\xBB\xBF")) {
        encoding_ = TEncoding::Utf8Bom;
        text = DecodeCodePage(CP_UTF8, bytes.substr(3), true);
    } else if ((text = DecodeCodePage(CP_UTF8, bytes, true))) {
        encoding_ = TEncoding::Utf8;
    } else {
        // Not UTF-8: text in the system's ANSI code page, as Windows' own INI files are.
        encoding_ = TEncoding::Ansi;
        text = DecodeCodePage(CP_ACP, bytes, false);
    }
    if (!text)
        return fail(kFileNotText);
    document_ = TIniDocument(*text);
}

std::optional<std::wstring> TAppIniFileStorage::ReadString(std::wstring_view path, std::wstring_view name) {
    auto text = document_.Read(WithoutTrailingSeparator(path), name);
    if (text && text->size() > kMaxTextLength)
        return std::nullopt;
    return text;
}

std::optional<std::int32_t> TAppIniFileStorage::ReadInteger(std::wstring_view path, std::wstring_view name) {
    const auto text = ReadString(path, name);
    return text ? StoredTextToInteger(*text) : std::nullopt;
}

void TAppIniFileStorage::BeginUpdate(std::wstring_view path) {
    if (fileName_.empty())
        throw std::logic_error("settings file name not set");
    // Writing over a file that could not be read would lose whatever else it holds.
    if (!loadError_.empty())
        throw EAppStorageError(loadError_ + std::wstring(kNotOverwritten), loadError_);
    section_ = WithoutTrailingSeparator(path);
}

void TAppIniFileStorage::WriteInteger(std::wstring_view name, std::int32_t value) {
    document_.Write(section_, name, IntegerToStoredText(value));
}

void TAppIniFileStorage::WriteString(std::wstring_view name, std::wstring_view value) {
    document_.Write(section_, name, value);
}

void TAppIniFileStorage::EndUpdate() {
    const std::wstring text = document_.Text();
    std::string bytes;
    switch (encoding_) {
    case TEncoding::Utf16Le:
    case TEncoding::Utf16Be:
        bytes = EncodeUtf16(text, encoding_ == TEncoding::Utf16Be);
        break;
    case TEncoding::Ansi:
        if (auto ansi = EncodeCodePage(CP_ACP, text)) {
            bytes = std::move(*ansi);
            break;
        }
        // A character the code page cannot hold (a folder name in another script): the
        // file becomes UTF-8, marked so, rather than losing it.
        encoding_ = TEncoding::Utf8Bom;
        [[fallthrough]];
    case TEncoding::Utf8Bom:
        bytes = "\xEF\xBB\xBF" + EncodeCodePage(CP_UTF8, text).value_or(std::string());
        break;
    case TEncoding::Utf8:
        bytes = EncodeCodePage(CP_UTF8, text).value_or(std::string());
        break;
    }

    // The new text goes to a temporary file first, which then replaces the old file.
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (const DWORD error = TryWriteFileAtomic(fileName_, data, false))
        throw EAppStorageError(std::wstring(kCannotWriteFile) + Quoted(fileName_) + L": " +
                               SysErrorMessage(error));
}

// ---- Choice of back end ----

std::wstring ProgramIniFileName() {
    // The program's path may be longer than MAX_PATH; the buffer grows until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring(kIniFileName);
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        // The name was cut: try again with room for a longer one.
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + std::wstring(kIniFileName);
}

// The INI file wins only as a file: a folder of that name leaves the registry in use.
TAppStorage& ChooseAppStorage(TAppRegistryStorage& registry, TAppIniFileStorage& ini,
                              const std::wstring& iniFileName) {
    const DWORD attributes = GetFileAttributesW(iniFileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return registry;
    ini.SetFileName(iniFileName);
    return ini;
}

// ---- TFormStorage ----

TFormStorage::TFormStorage(std::wstring appStoragePath) : appStoragePath_(std::move(appStoragePath)) {}

void TFormStorage::AddStoredValue(std::wstring_view name, TStoredValue defaultValue) {
    if (HasStoredValue(name))
        throw std::invalid_argument("stored value registered twice: " + WideToUtf8(name));
    values_.push_back({std::wstring(name), defaultValue, defaultValue});
}

bool TFormStorage::HasStoredValue(std::wstring_view name) const {
    return std::any_of(values_.begin(), values_.end(),
                       [&](const auto& e) { return SameSettingName(e.Name, name); });
}

std::size_t TFormStorage::IndexOf(std::wstring_view name) const {
    const auto it = std::find_if(values_.begin(), values_.end(),
                                 [&](const auto& e) { return SameSettingName(e.Name, name); });
    if (it == values_.end())
        throw std::out_of_range("unknown stored value: " + WideToUtf8(name));
    return static_cast<std::size_t>(it - values_.begin());
}

const TFormStorage::TValueEntry& TFormStorage::Find(std::wstring_view name) const {
    return values_[IndexOf(name)];
}

const TStoredValue& TFormStorage::StoredValue(std::wstring_view name) const {
    return Find(name).Value;
}

void TFormStorage::SetStoredValue(std::wstring_view name, TStoredValue value) {
    values_[IndexOf(name)].Value = std::move(value);
}

bool TFormStorage::ReadBool(std::wstring_view name) const {
    const TValueEntry& entry = Find(name);
    return AsBool(entry.Value).value_or(AsBool(entry.Default).value_or(false));
}

std::int32_t TFormStorage::ReadInteger(std::wstring_view name) const {
    const TValueEntry& entry = Find(name);
    return AsInteger(entry.Value).value_or(AsInteger(entry.Default).value_or(0));
}

std::wstring TFormStorage::ReadString(std::wstring_view name) const {
    return AsString(Find(name).Value);
}

void TFormStorage::AddStoredProp(std::wstring_view entry, std::function<TStoredValue()> get,
                                 std::function<void(const TStoredValue&)> set) {
    if (!get || !set)
        throw std::invalid_argument("stored property without accessors: " + WideToUtf8(entry));
    props_.push_back({StoredPropKey(entry), std::move(get), std::move(set)});
}

void TFormStorage::WriteValue(std::wstring_view key, const TStoredValue& value) {
    if (const auto* b = std::get_if<bool>(&value))
        storage_->WriteBoolean(key, *b);
    else if (const auto* i = std::get_if<std::int32_t>(&value))
        storage_->WriteInteger(key, *i);
    else
        storage_->WriteString(key, std::get<std::wstring>(value));
}

std::optional<TStoredValue> TFormStorage::ReadAs(TStoredType type, std::wstring_view key) {
    switch (type) {
    case TStoredType::Boolean:
        if (auto b = storage_->ReadBoolean(appStoragePath_, key))
            return TStoredValue(*b);
        break;
    case TStoredType::Integer:
        if (auto i = storage_->ReadInteger(appStoragePath_, key))
            return TStoredValue(*i);
        break;
    case TStoredType::String:
        if (auto s = storage_->ReadString(appStoragePath_, key))
            return TStoredValue(std::move(*s));
        break;
    }
    return std::nullopt;
}

void TFormStorage::SaveFormPlacement() {
    if (!storage_)
        throw std::logic_error("settings store without a back end");
    storage_->BeginUpdate(appStoragePath_);
    // A back end that fails part way is told, so that it lets go of what it holds open.
    try {
        storage_->WriteInteger(PlacementName::kFormVersion, kFormVersion);
        SavePlacement();
        for (const auto& prop : props_)
            WriteValue(prop.Key, prop.Get());
        for (const auto& entry : values_)
            WriteValue(entry.Name, entry.Value);
        storage_->EndUpdate();
    } catch (...) {
        storage_->CancelUpdate();
        throw;
    }
    savedSinceRestore_ = true;
}

void TFormStorage::SavePlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    // Without a window there is no placement to keep; the values are saved all the same.
    if (!form_ || !GetWindowPlacement(form_, &placement))
        return;
    const std::wstring suffix =
        ScreenSizeSuffix(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const std::wstring minMax = FormatPlacementText({placement.ptMinPosition.x, placement.ptMinPosition.y,
                                                     placement.ptMaxPosition.x, placement.ptMaxPosition.y});
    const RECT& normal = placement.rcNormalPosition;
    const std::wstring norm = FormatPlacementText({normal.left, normal.top, normal.right, normal.bottom});
    storage_->WriteInteger(PlacementName::kFlags, static_cast<std::int32_t>(placement.flags));
    storage_->WriteInteger(PlacementName::kPixelsPerInch, ScreenPixelsPerInch());
    storage_->WriteString(std::wstring(PlacementName::kMinMaxPos) + suffix, minMax);
    storage_->WriteString(PlacementName::kMinMaxPos, minMax);
    storage_->WriteString(std::wstring(PlacementName::kNormPos) + suffix, norm);
    storage_->WriteString(PlacementName::kNormPos, norm);
}

bool TFormStorage::RestoreFormPlacement() {
    restored_ = true;
    savedSinceRestore_ = false;
    if (!storage_)
        return false;
    if (storage_->ReadInteger(appStoragePath_, PlacementName::kFormVersion).value_or(kFormVersion) <
        kFormVersion)
        return false;
    const bool placed = RestorePlacement();
    // Each property and value is read with its own type; what is missing or unreadable
    // keeps the designed value or default.
    for (const auto& prop : props_)
        if (auto value = ReadAs(StoredTypeOf(prop.Get()), prop.Key))
            prop.Set(*value);
    for (auto& entry : values_)
        if (auto value = ReadAs(StoredTypeOf(entry.Default), entry.Name))
            entry.Value = std::move(*value);
    return placed;
}

bool TFormStorage::RestorePlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!form_ || !GetWindowPlacement(form_, &placement))
        return false;
    const std::wstring suffix =
        ScreenSizeSuffix(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const auto readText = [&](std::wstring_view name) {
        auto text = storage_->ReadString(appStoragePath_, std::wstring(name) + suffix);
        return text ? text : storage_->ReadString(appStoragePath_, name);
    };
    const auto minMaxText = readText(PlacementName::kMinMaxPos);
    const auto normText = readText(PlacementName::kNormPos);
    if (!minMaxText && !normText)
        return false;
    // A placement taken at another screen resolution would land in the wrong place.
    const auto pixelsPerInch = storage_->ReadInteger(appStoragePath_, PlacementName::kPixelsPerInch);
    if (pixelsPerInch && *pixelsPerInch != ScreenPixelsPerInch())
        return false;

    RECT& normal = placement.rcNormalPosition;
    const TPlacementNumbers minMax = ParsePlacementText(minMaxText.value_or(L""), {0, 0, 0, 0});
    const TPlacementNumbers norm =
        ParsePlacementText(normText.value_or(L""), {normal.left, normal.top, normal.right, normal.bottom});
    if (norm[2] - norm[0] <= 0)
        return false;
    // Only the placement flags that mean something for the program's own window are taken.
    constexpr UINT kKnownFlags = WPF_SETMINPOSITION | WPF_RESTORETOMAXIMIZED;
    if (const auto flags = storage_->ReadInteger(appStoragePath_, PlacementName::kFlags))
        placement.flags = static_cast<UINT>(*flags) & kKnownFlags;
    placement.ptMinPosition = {minMax[0], minMax[1]};
    placement.ptMaxPosition = {minMax[2], minMax[3]};
    normal = {norm[0], norm[1], norm[2], norm[3]};
    // The window state is not restored: the window stays hidden, minimised, maximised or
    // normal as it is, and is not activated.
    if (!IsWindowVisible(form_))
        placement.showCmd = SW_HIDE;
    else if (IsIconic(form_))
        placement.showCmd = SW_SHOWMINNOACTIVE;
    else if (IsZoomed(form_))
        placement.showCmd = SW_SHOWMAXIMIZED;
    else
        placement.showCmd = SW_SHOWNOACTIVATE;
    return SetWindowPlacement(form_, &placement) != FALSE;
}

bool TFormStorage::SaveIfNotSavedSinceRestore() {
    // Before any restore the memory holds only defaults: saving them would wipe the stored
    // settings of a run that never showed its window.
    if (!restored_ || savedSinceRestore_)
        return false;
    SaveFormPlacement();
    return true;
}
