#include "cli/win32/StandardStream.h"

#include <algorithm>

#include "toolkit/win32/Win32Api.h"

namespace cli {

namespace {

// WriteConsoleW takes a limited amount at once on older systems.
constexpr size_t CONSOLE_CHUNK = 8192;

// The length of the longest prefix of s that ends with a whole UTF-8 character.
size_t WholeCharacters(const std::string& s) {
    size_t trail = 0;
    while (trail < 3 && trail < s.size() &&
           (static_cast<unsigned char>(s[s.size() - 1 - trail]) & 0xC0) == 0x80)
        ++trail;
    if (trail == s.size()) return s.size();
    const auto lead = static_cast<unsigned char>(s[s.size() - 1 - trail]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return trail + 1 < length ? s.size() - 1 - trail : s.size();
}

}  // namespace

StandardStreamBuf::~StandardStreamBuf() {
    Write(m_held.size());
    if (m_ownHandle) CloseHandle(static_cast<HANDLE>(m_handle));
}

void StandardStreamBuf::Open() {
    m_opened = true;
    HANDLE h =
        GetStdHandle(m_which == StandardHandle::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (!h || h == INVALID_HANDLE_VALUE || GetFileType(h) == FILE_TYPE_UNKNOWN) {
        // Not redirected. The other stream may have attached already.
        AttachConsole(ATTACH_PARENT_PROCESS);
        h = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        m_ownHandle = true;
    }
    m_handle = h;
    DWORD mode = 0;
    m_console = GetConsoleMode(h, &mode) != 0;
}

bool StandardStreamBuf::Write(size_t n) {
    if (n == 0) return true;
    if (!m_opened) Open();
    std::string bytes = m_held.substr(0, n);
    m_held.erase(0, n);
    if (!m_handle) return true;
    const auto h = static_cast<HANDLE>(m_handle);
    if (m_console) {
        const std::wstring text = tk::win32::Wide(bytes);
        for (size_t at = 0; at < text.size();) {
            DWORD written = 0;
            size_t chunk = std::min(CONSOLE_CHUNK, text.size() - at);
            // A surrogate pair goes in one call.
            if (chunk > 1 && at + chunk < text.size() && IS_HIGH_SURROGATE(text[at + chunk - 1]))
                --chunk;
            if (!WriteConsoleW(h, text.data() + at, static_cast<DWORD>(chunk), &written, nullptr) ||
                written == 0)
                return false;
            at += written;
        }
        return true;
    }
    for (size_t at = 0; at < bytes.size();) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1u << 20));
        if (!WriteFile(h, bytes.data() + at, chunk, &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

std::streamsize StandardStreamBuf::xsputn(const char* s, std::streamsize n) {
    m_held.append(s, static_cast<size_t>(n));
    const size_t end = m_held.rfind('\n');
    if (end != std::string::npos && !Write(end + 1)) return 0;
    return n;
}

StandardStreamBuf::int_type StandardStreamBuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

int StandardStreamBuf::sync() {
    if (m_held.empty()) return 0;
    if (!m_opened) Open();
    return Write(m_console ? WholeCharacters(m_held) : m_held.size()) ? 0 : -1;
}

}  // namespace cli
