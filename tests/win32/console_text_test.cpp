// reader-config.exe's messages on a console (it lies beside this test
// program in the build): written as UTF-16, so a Chinese file name reads
// back as it was typed whatever the console's code page, both when the
// console is handed over as standard error and when the tool, a GUI
// program started without standard handles, attaches to its parent's.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/win32/Win32Api.h"

namespace {

// The console's text, row after row, trailing blanks cut.
std::wstring ConsoleText(HANDLE out) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(out, &info);
    std::wstring text;
    for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
        std::wstring line(static_cast<size_t>(info.dwSize.X), L' ');
        DWORD got = 0;
        ReadConsoleOutputCharacterW(out, line.data(), static_cast<DWORD>(line.size()), {0, row},
                                    &got);
        line.resize(got);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += line + L"\n";
    }
    return text;
}

TEST(ConsoleText, AChinesePathReadsBackOnTheConsole) {
    struct Case {
        const char* name;
        bool handOver;  // standard error is the console, inherited
    };
    const std::vector<Case> cases = {{"handed over", true}, {"attached to", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreeConsole();
        ASSERT_TRUE(AllocConsole());
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE out =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(out, INVALID_HANDLE_VALUE);
        SetConsoleOutputCP(437);                      // a code page without these characters
        SetConsoleScreenBufferSize(out, {200, 100});  // no line wraps
        std::wstring command = L"reader-config.exe --simulate verify \"没有 这个.json\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (c.handOver) {
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdOutput = si.hStdError = out;
        }
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, c.handOver, 0,
                                   nullptr, nullptr, &si, &pi));
        ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
        DWORD status = 0;
        GetExitCodeProcess(pi.hProcess, &status);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        EXPECT_EQ(status, 2u);
        const std::wstring text = ConsoleText(out);
        EXPECT_NE(
            text.find(L"reader-config: cannot read 没有 这个.json: No such file or directory"),
            std::wstring::npos)
            << tk::win32::Utf8(text);
        CloseHandle(out);
        FreeConsole();
    }
}

}  // namespace
