// The real program is large-address-aware: on 64-bit Windows the 32-bit editor may use
// address space above 2 GB for big screenshots and their undo states.
#include <windows.h>

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

#include "E2eSupport.h"

using namespace e2e;

namespace {

TEST(LargePicturesTest, TheProgramMayUseAddressesAboveTwoGigabytes) {
    TProgramFolder folder;
    // The flag in the program file's header.
    const std::string exe = ReadTextFile(folder.Exe());
    ASSERT_GT(exe.size(), 0x100u);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(exe.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_LT(static_cast<std::size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), exe.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(exe.data() + dos->e_lfanew);
    EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0);

    // The running program's address space reaches past 2 GB (as it does on 64-bit Windows).
    TProcess process(folder.Exe());
    ASSERT_NE(MainWindowOf(process.Id()), nullptr);
    MEMORY_BASIC_INFORMATION info{};
    EXPECT_NE(VirtualQueryEx(process.Handle(), reinterpret_cast<LPCVOID>(std::uintptr_t{0xC0000000}), &info,
                             sizeof(info)),
              0u);
    process.Kill();
}

} // namespace
