// Drives reader-config.exe --simulate from outside, as window messages to its
// control ids, the way a user's clicks reach the dialog: checks the output
// pane after Set Device and Read Device, switches to English and checks the
// captions, saves the window as a picture in each language, and closes the
// tool through the exit question; then, with two virtual readers, chooses
// the second in the system menu by keys. Exit status 0 when every check held.
//
// win-smoke.exe TOOL.exe SHOT-DIR

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The dialog's control ids (app/ControlIds.h cannot share a unit with
// <windows.h>, whose IDCANCEL is a macro).
constexpr int IDC_OUTPUT = 1000;
constexpr int IDC_SET_DEVICE = 1024;
constexpr int IDC_READ_DEVICE = 1026;
constexpr int IDC_ENGLISH = 1070;
constexpr int IDC_DEVICE_LABEL = 1143;
constexpr DWORD WAIT_MS = 20000;
constexpr WPARAM IDM_ABOUTBOX = 0x0010;

int g_failures = 0;

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return text;
}

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++g_failures;
}

template <typename Pred>
bool WaitFor(Pred pred) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < WAIT_MS) {
        if (pred()) return true;
        Sleep(50);
    }
    return pred();
}

size_t Count(const std::wstring& text, const std::wstring& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A click as the button sends it: WM_COMMAND with BN_CLICKED, from an enabled,
// visible control only.
bool Click(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control || !IsWindowEnabled(control) || !IsWindowVisible(control)) return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return true;
}

// Saves the window as it is on screen, as a 24-bit BMP.
bool SaveWindow(HWND hwnd, const std::wstring& path) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER bf{};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(bf) + sizeof(bi);
    bf.bfSize = bf.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    fwrite(&bf, sizeof(bf), 1, f);
    fwrite(&bi, sizeof(bi), 1, f);
    fwrite(pixels.data(), 1, pixels.size(), f);
    fclose(f);
    return w > 0 && h > 0;
}

struct BoxSearch {
    HWND owner;
    HWND box;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<BoxSearch*>(lp);
    if (GetWindow(hwnd, GW_OWNER) == search->owner && IsWindowVisible(hwnd)) {
        search->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Starts the tool with arguments and waits for its dialog; nullptr when it
// did not appear.
HWND StartTool(const std::wstring& tool, const std::wstring& arguments, PROCESS_INFORMATION& pi) {
    std::wstring command = L"\"" + tool + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::fprintf(stderr, "win-smoke: cannot start the tool (%lu)\n", GetLastError());
        return nullptr;
    }
    HWND dialog = nullptr;
    WaitFor([&] {
        dialog = FindWindowW(L"#32770", L"USB读卡器设置");
        return dialog != nullptr && IsWindowVisible(dialog);
    });
    return dialog;
}

// A key as the keyboard queues it for the window.
void PostKey(HWND hwnd, WPARAM vk) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    PostMessageW(hwnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(hwnd, WM_KEYUP, vk, 1 | (scan << 16) | static_cast<LPARAM>(3UL << 30));
}

// With two virtual readers: the second one chosen in the system menu's
// 选择设备 by keys becomes the current device.
void ChooseTheSecondReader(const std::wstring& tool) {
    PROCESS_INFORMATION pi{};
    HWND dialog = StartTool(tool, L"--simulate=reader,reader", pi);
    Check(dialog != nullptr, "the dialog appears with two readers");
    if (!dialog) return;
    HWND line = GetDlgItem(dialog, IDC_DEVICE_LABEL);
    Check(WaitFor([&] { return TextOf(line).find(L"当前设备：/dev/vhidraw0") == 0; }),
          "the device line names the first reader");
    // Alt+Space (bit 29: Alt is down), then the keys once the system menu
    // shows its items, on the first: Up from there is 选择设备, the last entry.
    PostMessageW(dialog, WM_SYSCHAR, L' ', 1 | (1L << 29));
    Check(WaitFor([&] {
              HWND menu = FindWindowW(L"#32768", nullptr);
              return menu && IsWindowVisible(menu);
          }),
          "Alt+Space opens the system menu");
    for (WPARAM vk : {VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}) PostKey(dialog, vk);
    Check(WaitFor([&] { return TextOf(line).find(L"当前设备：/dev/vhidraw1") == 0; }),
          "the second reader chosen in the system menu is the current device");
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, WAIT_MS);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: win-smoke TOOL.exe SHOT-DIR\n");
        return 2;
    }
    const std::wstring shots = argv[2];
    PROCESS_INFORMATION pi{};
    HWND dialog = StartTool(argv[1], L"--simulate", pi);
    Check(dialog != nullptr, "the dialog window appears with its template title");
    if (!dialog) {
        if (pi.hProcess) TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    HWND output = GetDlgItem(dialog, IDC_OUTPUT);
    Check(WaitFor([&] { return TextOf(output).find(L"设备已连接！") != std::wstring::npos; }),
          "start-up reports the virtual reader");

    Check(Click(dialog, IDC_SET_DEVICE), "Set Device is enabled");
    Check(WaitFor([&] { return Count(TextOf(output), L"配置设备成功！") == 1; }),
          "Set Device reports success once");
    Check(Click(dialog, IDC_READ_DEVICE), "Read Device is enabled");
    Check(WaitFor([&] { return Count(TextOf(output), L"读取设备成功！") == 1; }),
          "Read Device reports success once");
    Sleep(300);  // the clock and the buttons repaint
    Check(SaveWindow(dialog, shots + L"\\windows-zh.bmp"), "picture of the Chinese window");

    Check(Click(dialog, IDC_ENGLISH), "the English radio button is enabled");
    Check(WaitFor([&] {
              return TextOf(GetDlgItem(dialog, IDC_SET_DEVICE)) == L"Set Device" &&
                     TextOf(dialog) == L"USB card reader setup";
          }),
          "English captions and title after the switch");
    Check(Click(dialog, IDC_SET_DEVICE), "Set Device is enabled in English");
    Check(WaitFor([&] {
              return TextOf(output).find(L"Configuration of success!") != std::wstring::npos;
          }),
          "Set Device reports success in English");
    Sleep(300);
    Check(SaveWindow(dialog, shots + L"\\windows-en.bmp"), "picture of the English window");

    // The About entry of the system menu opens the About box, in English now.
    PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    BoxSearch about{dialog, nullptr};
    Check(WaitFor([&] {
              about.box = nullptr;
              EnumWindows(FindBox, reinterpret_cast<LPARAM>(&about));
              return about.box != nullptr;
          }),
          "the system menu's About entry opens the About box");
    if (about.box) {
        Check(TextOf(about.box) == L"About Vorn software", "the About box's title is in English");
        PostMessageW(about.box, WM_COMMAND, IDOK, 0);
        Check(WaitFor([&] { return !IsWindow(about.box); }), "OK closes the About box");
    }

    // Closing asks the exit question; Yes ends the tool.
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    BoxSearch search{dialog, nullptr};
    Check(WaitFor([&] {
              search.box = nullptr;
              EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
              return search.box != nullptr;
          }),
          "the close box asks the exit question");
    if (search.box) {
        Check(TextOf(search.box) == L"Exit the prompt", "the question's caption is in English");
        PostMessageW(search.box, WM_COMMAND, IDYES, 0);
    }
    const bool ended = WaitForSingleObject(pi.hProcess, WAIT_MS) == WAIT_OBJECT_0;
    Check(ended, "Yes ends the tool");
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    ChooseTheSecondReader(argv[1]);
    std::printf("%s\n", g_failures == 0 ? "smoke test passed" : "smoke test FAILED");
    return g_failures == 0 ? 0 : 1;
}
