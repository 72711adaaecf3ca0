#pragma once
// The capture library: screen and window grabs, and the browser tool-bar button.
#include <string>

// The browser extension key of the tool-bar button (under HKEY_CURRENT_USER).
extern const wchar_t* const kBrowserButtonKey;

// Creates or updates the browser button's key and writes its eight values. Throws when
// the key cannot be opened or a value cannot be written.
void RegisterBrowserButton();
// Deletes the browser button's key with everything below it; a missing key is no error.
void UnregisterBrowserButton();
