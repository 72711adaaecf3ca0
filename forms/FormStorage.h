#pragma once
// The settings store of the main window (`JvFormStorage1`) and its two back ends: the
// registry of the current user (`JvAppRegistryStorage1`) and the INI file beside the
// program (`JvAppIniFileStorage1`). The store keeps every named value in memory; a save
// writes the main window's placement, the stored component properties and the values to
// the back end in use, a restore reads them back.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/IniDocument.h"
#include "core/StoredValues.h"
#include "forms/Exceptions.h"
#include "forms/Handles.h"

// A save that could not reach its back end (a registry key that cannot be created, a
// settings file that cannot be written). The message is for the user's error box.
class EAppStorageError : public Exception {
public:
    // cause is what went wrong, without what the store does about it (empty: the message).
    explicit EAppStorageError(std::wstring message, std::wstring cause = {})
        : Exception(std::move(message)), cause_(cause.empty() ? Message() : std::move(cause)) {}
    // Two saves that fail for one reason have the same cause, so it can be reported once.
    const std::wstring& Cause() const { return cause_; }

private:
    std::wstring cause_;
};

// A back end: named values under a storage path ("Tolvex\"). Reads never throw: a value
// that is missing, of another type or unreadable gives nothing and the caller keeps its
// default. Writes happen between BeginUpdate and EndUpdate and throw EAppStorageError.
class TAppStorage {
public:
    // The longest text accepted from a back end; longer stored text counts as unreadable.
    static constexpr std::size_t kMaxTextLength = 32767;

    virtual ~TAppStorage() = default;

    virtual std::optional<std::int32_t> ReadInteger(std::wstring_view path, std::wstring_view name) = 0;
    virtual std::optional<std::wstring> ReadString(std::wstring_view path, std::wstring_view name) = 0;
    // Booleans are held as text: "TRUE, YES, Y" or "FALSE, NO, N".
    std::optional<bool> ReadBoolean(std::wstring_view path, std::wstring_view name);

    virtual void BeginUpdate(std::wstring_view path) = 0;
    virtual void WriteInteger(std::wstring_view name, std::int32_t value) = 0;
    virtual void WriteString(std::wstring_view name, std::wstring_view value) = 0;
    void WriteBoolean(std::wstring_view name, bool value);
    // Makes the writes since BeginUpdate lasting.
    virtual void EndUpdate() = 0;
    // Ends an update that failed part way.
    virtual void CancelUpdate() noexcept = 0;
};

// The registry back end: the storage path "Tolvex\" is the key Software\Tolvex of the
// current user; integers are REG_DWORD, texts and booleans REG_SZ.
class TAppRegistryStorage : public TAppStorage {
public:
    explicit TAppRegistryStorage(HKEY root = HKEY_CURRENT_USER,
                                 std::wstring rootPath = std::wstring(kRegistryRoot));
    ~TAppRegistryStorage() override;
    TAppRegistryStorage(const TAppRegistryStorage&) = delete;
    TAppRegistryStorage& operator=(const TAppRegistryStorage&) = delete;

    // The key that a storage path names, below the root: "Software\Tolvex".
    std::wstring KeyPath(std::wstring_view path) const;

    std::optional<std::int32_t> ReadInteger(std::wstring_view path, std::wstring_view name) override;
    std::optional<std::wstring> ReadString(std::wstring_view path, std::wstring_view name) override;
    // Creates the key when it does not exist; throws when it cannot.
    void BeginUpdate(std::wstring_view path) override;
    void WriteInteger(std::wstring_view name, std::int32_t value) override;
    void WriteString(std::wstring_view name, std::wstring_view value) override;
    void EndUpdate() override;
    void CancelUpdate() noexcept override;

private:
    HKEY root_;
    std::wstring rootPath_;
    std::wstring updatePath_;
    TRegKey updateKey_;
};

// The INI back end: the storage path "Tolvex\" is the section "Tolvex" of the file, every
// value is text. The file is read once, when its name is set, and written whole at every
// save (through a temporary file that then replaces it, so a failed or interrupted write
// leaves the previous file), keeping its other sections and keys and its text encoding.
class TAppIniFileStorage : public TAppStorage {
public:
    // Loads the file into memory. Never throws: a missing file starts empty; a file that
    // cannot be read gives defaults on reading and makes every save fail, so that it is
    // never overwritten with settings alone.
    void SetFileName(const std::wstring& fileName);
    const std::wstring& FileName() const { return fileName_; }
    // Why the file could not be read; empty when it was read (or did not exist).
    const std::wstring& LoadError() const { return loadError_; }

    std::optional<std::int32_t> ReadInteger(std::wstring_view path, std::wstring_view name) override;
    std::optional<std::wstring> ReadString(std::wstring_view path, std::wstring_view name) override;
    void BeginUpdate(std::wstring_view path) override;
    void WriteInteger(std::wstring_view name, std::int32_t value) override;
    void WriteString(std::wstring_view name, std::wstring_view value) override;
    // Writes the whole file.
    void EndUpdate() override;
    void CancelUpdate() noexcept override {}

    // How the file's text is encoded on disk; kept when the file is written again.
    enum class TEncoding : std::uint8_t { Utf8 = 0, Utf8Bom = 1, Utf16Le = 2, Utf16Be = 3, Ansi = 4 };
    TEncoding Encoding() const { return encoding_; }

    // The largest settings file read.
    static constexpr std::size_t kMaxFileSize = 4u << 20;

private:
    std::wstring fileName_;
    std::wstring loadError_;
    TIniDocument document_;
    TEncoding encoding_ = TEncoding::Utf8;
    std::wstring section_;
};

// The full name of "Tolvex.ini" in the program's folder.
std::wstring ProgramIniFileName();
// The back end of this run: the INI file when it exists (its name is then set, which loads
// it), else the registry. The INI file is never created here.
TAppStorage& ChooseAppStorage(TAppRegistryStorage& registry, TAppIniFileStorage& ini,
                              const std::wstring& iniFileName);

class TFormStorage {
public:
    explicit TFormStorage(std::wstring appStoragePath = std::wstring(kAppStoragePath));

    // The back end in use (not owned); none until set.
    void SetStorage(TAppStorage* storage) { storage_ = storage; }
    TAppStorage* Storage() const { return storage_; }
    const std::wstring& AppStoragePath() const { return appStoragePath_; }
    // The window whose placement is stored.
    void SetFormHandle(HWND form) { form_ = form; }

    // Registers a stored value; its value is the default until set or restored. Names
    // are compared without regard to case; a name registered twice is a program error.
    void AddStoredValue(std::wstring_view name, TStoredValue defaultValue);
    bool HasStoredValue(std::wstring_view name) const;
    // The in-memory value; an unknown name is a program error (std::out_of_range).
    const TStoredValue& StoredValue(std::wstring_view name) const;
    // Changes memory only; the back end follows at the next save.
    void SetStoredValue(std::wstring_view name, TStoredValue value);
    // The value as the type asked: a value of another type is converted where that has a
    // meaning (a number from its text, a boolean from its word) and is otherwise the
    // registered default; never throws for what was stored.
    bool ReadBool(std::wstring_view name) const;
    std::int32_t ReadInteger(std::wstring_view name) const;
    std::wstring ReadString(std::wstring_view name) const;

    // Registers a stored component property ("acCaptureControl.ShortCut"), kept under its
    // entry with "." replaced by "_" and typed by what get returns.
    void AddStoredProp(std::wstring_view entry, std::function<TStoredValue()> get,
                       std::function<void(const TStoredValue&)> set);

    // Writes the version, the window placement, the stored properties and the stored
    // values, in that order. Throws EAppStorageError when the back end fails (memory is
    // unchanged) and std::logic_error when no back end is set.
    void SaveFormPlacement();
    // Reads them back. Returns whether the window placement was applied, so that the form
    // then keeps it rather than taking its default position.
    bool RestoreFormPlacement();
    // The save of the window's destroy path: only when a restore ran and nothing was
    // saved since. Returns whether it saved.
    bool SaveIfNotSavedSinceRestore();
    bool Restored() const { return restored_; }
    bool SavedSinceRestore() const { return savedSinceRestore_; }

private:
    struct TValueEntry {
        std::wstring Name;
        TStoredValue Default;
        TStoredValue Value;
    };
    struct TPropEntry {
        std::wstring Key;
        std::function<TStoredValue()> Get;
        std::function<void(const TStoredValue&)> Set;
    };

    // Throws std::out_of_range for a name never registered.
    std::size_t IndexOf(std::wstring_view name) const;
    const TValueEntry& Find(std::wstring_view name) const;
    void WriteValue(std::wstring_view key, const TStoredValue& value);
    std::optional<TStoredValue> ReadAs(TStoredType type, std::wstring_view key);
    void SavePlacement();
    bool RestorePlacement();

    std::wstring appStoragePath_;
    TAppStorage* storage_ = nullptr;
    HWND form_ = nullptr;
    std::vector<TValueEntry> values_;
    std::vector<TPropEntry> props_;
    bool restored_ = false;
    bool savedSinceRestore_ = false;
};
