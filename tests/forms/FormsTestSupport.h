#pragma once
// Shared fixture of the window-layer tests: one application object for the test program,
// the error box captured instead of shown, and a bounded message pump.
#include <windows.h>

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "forms/Application.h"
#include "tests/support/Deadlines.h"

class FormsTest : public ::testing::Test {
protected:
    static TApplication& App() {
        static TApplication* app = [] {
            auto* a = new TApplication(GetModuleHandleW(nullptr));
            a->Title = L"Tolvex tests";
            return a;
        }();
        return *app;
    }
    void SetUp() override {
        App().OnShowException = [this](const std::wstring& m) { errors.push_back(m); };
    }
    void TearDown() override { App().OnShowException = nullptr; }

    // Pumps messages until the condition holds or the time runs out; true when it held.
    static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = deadlines::kStateMs) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            if (!App().HandleMessage(false)) {
                App().DoIdle();
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
        }
        return true;
    }
    static void Pump(int ms) {
        PumpUntil([] { return false; }, ms);
    }
    // Handles every message waiting now (posted work, paints, due timers) and the idle work.
    static void PumpPending() {
        while (App().HandleMessage(false)) {
        }
        App().DoIdle();
    }
    // The quiet period of a check that something does not happen, with messages flowing.
    static void PumpQuietPeriod() { Pump(deadlines::kQuietMs); }

    std::vector<std::wstring> errors;
};
