// What reader-config.exe carries besides its code (it lies beside this test
// program in the build): the version the build gave it, and the manifest
// that asks for common controls 6, names the Windows versions and makes the
// dialog DPI aware, which this program carries too.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/win32/Win32Api.h"

namespace {

// A module loaded as data: its resources, and no code run.
class ResourceFile {
  public:
    explicit ResourceFile(const wchar_t* path)
        : m_module(LoadLibraryExW(path, nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceFile() {
        if (m_module) FreeLibrary(m_module);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    // The bytes of resource id of type; empty when it has none.
    std::string Bytes(int id, int type) const {
        HRSRC found = m_module
                          ? FindResourceW(m_module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type))
                          : nullptr;
        if (!found) return {};
        HGLOBAL loaded = LoadResource(m_module, found);
        const auto* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes ? std::string(bytes, SizeofResource(m_module, found)) : std::string();
    }

  private:
    HMODULE m_module;
};

TEST(ProgramResources, TheVersionIsTheBuildsAndTheManifestAsksForWhatTheDialogNeeds) {
    const ResourceFile exe(L"reader-config.exe");
    std::vector<char> info(GetFileVersionInfoSizeW(L"reader-config.exe", nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(L"reader-config.exe", 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, READER_CONFIG_VERSION);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    for (const wchar_t* name : {L"\\StringFileInfo\\080404B0\\FileVersion",
                                L"\\StringFileInfo\\080404B0\\ProductVersion"}) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(info.data(), name, reinterpret_cast<void**>(&text), &size));
        EXPECT_EQ(tk::win32::Utf8(text), READER_CONFIG_VERSION);
    }

    const std::string manifest = exe.Bytes(1, 24);
    for (const char* want :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
          "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "level=\"asInvoker\""})
        EXPECT_NE(manifest.find(want), std::string::npos) << want;
    // The system read this program's copy of it.
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

}  // namespace
