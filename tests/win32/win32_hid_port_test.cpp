// The Windows HID port's contract (device/HidPort.h) over a stand-in for the
// Win32 calls: what a write, a read and an open return when the device
// answers, times out, moves part of a report or goes away, and what the
// enumeration lists.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "device/win32/Win32HidPort.h"

namespace {

using dev::win32::TransferStart;

// How the next transfer goes, and the calls the port made.
struct Script {
    TransferStart start = TransferStart::Pending;
    DWORD startError = 0;
    bool completes = true;  // within the wait
    bool resultOk = true;   // GetOverlappedResult after the wait
    DWORD moved = 65;       // what it reports as moved
};

class FakeHidSystem : public dev::win32::HidSystem {
  public:
    struct Device {
        std::wstring instanceId = {};
        uint16_t vendorId = 0x016C, productId = 0x04F3;
        std::wstring serial = {};
        DWORD openError = 0;  // 0: opens
        bool lengths = true;
    };

    std::vector<dev::win32::HidInterfaceEntry> Interfaces() override {
        std::vector<dev::win32::HidInterfaceEntry> list;
        for (const auto& [path, d] : devices) list.push_back({path, d.instanceId});
        return list;
    }
    HANDLE Open(const std::wstring& path, DWORD access, DWORD, DWORD* error) override {
        // Without access rights any present device opens.
        auto it = devices.find(path);
        const DWORD why = it == devices.end() ? ERROR_FILE_NOT_FOUND
                          : access != 0       ? it->second.openError
                                              : 0;
        if (why != 0) {
            *error = why;
            return INVALID_HANDLE_VALUE;
        }
        open[++m_last] = path;
        return reinterpret_cast<HANDLE>(m_last);
    }
    void Close(HANDLE h) override { open.erase(reinterpret_cast<uintptr_t>(h)); }
    bool Attributes(HANDLE h, uint16_t* vid, uint16_t* pid) override {
        const Device& d = Of(h);
        *vid = d.vendorId;
        *pid = d.productId;
        return true;
    }
    std::wstring SerialNumber(HANDLE h) override { return Of(h).serial; }
    bool ReportLengths(HANDLE h, size_t* input, size_t* output) override {
        *input = *output = 65;
        return Of(h).lengths;
    }
    TransferStart Start(HANDLE, bool read, uint8_t* buffer, DWORD length, OVERLAPPED*,
                        DWORD* error) override {
        calls.push_back(std::string(read ? "read " : "write ") + std::to_string(length));
        m_buffer = buffer;
        m_read = read;
        if (script.start == TransferStart::Failed) *error = script.startError;
        return script.start;
    }
    bool Wait(OVERLAPPED*, DWORD ms) override {
        calls.push_back("wait " + std::to_string(ms));
        return script.completes;
    }
    void Cancel(HANDLE) override { calls.push_back("cancel"); }
    bool Result(HANDLE, OVERLAPPED*, DWORD* moved, bool wait) override {
        calls.push_back(wait ? "result, waiting" : "result");
        if (!script.resultOk) return false;
        if (m_read)
            std::memcpy(m_buffer, input.data(), std::min<size_t>(input.size(), script.moved));
        *moved = script.moved;
        return true;
    }

    std::map<std::wstring, Device> devices;
    std::map<uintptr_t, std::wstring> open;
    Script script;
    std::vector<uint8_t> input;  // what a read delivers
    std::vector<std::string> calls;

  private:
    const Device& Of(HANDLE h) { return devices.at(open.at(reinterpret_cast<uintptr_t>(h))); }
    uintptr_t m_last = 0x100;
    uint8_t* m_buffer = nullptr;
    bool m_read = false;
};

const std::wstring READER =
    LR"(\\?\hid#vid_016c&pid_04f3&mi_01#8&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

class Win32HidPortContract : public ::testing::Test {
  protected:
    Win32HidPortContract() : port(system) { system.devices[READER] = {}; }
    std::unique_ptr<dev::HidHandle> OpenReader() {
        dev::OpenError error = dev::OpenError::Other;
        auto handle = port.Open(tk::win32::Utf8(READER), &error);
        EXPECT_EQ(error, dev::OpenError::None);
        return handle;
    }
    FakeHidSystem system;
    dev::Win32HidPort port;
};

TEST_F(Win32HidPortContract, WriteIsTrueOnlyForTheWholeReportInTime) {
    struct Case {
        const char* name;
        Script script;
        bool written;
        bool timedOut;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"in time", {}, true, false, {"write 65", "wait 200", "result"}},
        {"at once", {TransferStart::Completed}, true, false, {"write 65", "result"}},
        {"times out",
         {TransferStart::Pending, 0, false, false},
         false,
         true,
         {"write 65", "wait 200", "cancel", "result, waiting"}},
        {"done as it was cancelled",
         {TransferStart::Pending, 0, false, true, 65},
         true,
         false,
         {"write 65", "wait 200", "cancel", "result, waiting"}},
        {"part of the report",
         {TransferStart::Pending, 0, true, true, 10},
         false,
         false,
         {"write 65", "wait 200", "result"}},
        {"device gone before",
         {TransferStart::Failed, ERROR_DEVICE_NOT_CONNECTED},
         false,
         false,
         {"write 65"}},
        {"device gone during",
         {TransferStart::Pending, 0, true, false},
         false,
         false,
         {"write 65", "wait 200", "result"}},
    };
    auto handle = OpenReader();
    ASSERT_TRUE(handle);
    const uint8_t report[3] = {0x00, 0x20, 0x59};  // padded to the output report length
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system.script = c.script;
        system.calls.clear();
        EXPECT_EQ(handle->Write(report, sizeof report, 200), c.written);
        EXPECT_EQ(handle->LastWriteTimedOut(), c.timedOut);
        EXPECT_EQ(system.calls, c.calls);
    }
    // Longer than the device's output report: refused before any transfer.
    system.calls.clear();
    const std::vector<uint8_t> tooLong(66, 0x20);
    EXPECT_FALSE(handle->Write(tooLong.data(), tooLong.size(), 200));
    EXPECT_FALSE(handle->LastWriteTimedOut());
    EXPECT_TRUE(system.calls.empty());
}

TEST_F(Win32HidPortContract, ReadReturnsTheReportNothingOnTimeoutOrMinusOneOnError) {
    struct Case {
        const char* name;
        Script script;
        int got;
    };
    std::vector<uint8_t> answer(65, 0);
    answer[1] = 0x20;
    answer[2] = 'Y';
    const std::vector<Case> cases = {
        {"in time", {TransferStart::Pending, 0, true, true, 65}, 65},
        {"times out", {TransferStart::Pending, 0, false, false}, 0},
        {"arrived as it was cancelled", {TransferStart::Pending, 0, false, true, 65}, 65},
        {"device gone before", {TransferStart::Failed, ERROR_DEVICE_NOT_CONNECTED}, -1},
        {"device gone during", {TransferStart::Pending, 0, true, false}, -1},
    };
    system.input = answer;
    auto handle = OpenReader();
    ASSERT_TRUE(handle);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system.script = c.script;
        std::vector<uint8_t> buffer(65, 0xEE);
        EXPECT_EQ(handle->Read(buffer.data(), buffer.size(), 600), c.got);
        // Untouched unless a report came.
        EXPECT_EQ(buffer, c.got > 0 ? answer : std::vector<uint8_t>(65, 0xEE));
    }
}

TEST_F(Win32HidPortContract, OpenTellsWhyItFailedAndLeavesNoHandleOpen) {
    struct Case {
        const char* name;
        DWORD openError;
        bool lengths;
        dev::OpenError want;
    };
    const std::vector<Case> cases = {
        {"opens", 0, true, dev::OpenError::None},
        {"gone", ERROR_DEVICE_NOT_CONNECTED, true, dev::OpenError::NotFound},
        {"no such path", ERROR_FILE_NOT_FOUND, true, dev::OpenError::NotFound},
        {"held by the system", ERROR_ACCESS_DENIED, true, dev::OpenError::AccessDenied},
        {"opened elsewhere without sharing", ERROR_SHARING_VIOLATION, true,
         dev::OpenError::AccessDenied},
        {"other failure", ERROR_GEN_FAILURE, true, dev::OpenError::Other},
        {"no report lengths", 0, false, dev::OpenError::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system.devices[READER].openError = c.openError;
        system.devices[READER].lengths = c.lengths;
        dev::OpenError error = dev::OpenError::None;
        auto handle = port.Open(tk::win32::Utf8(READER), &error);
        EXPECT_EQ(error, c.want);
        EXPECT_EQ(handle != nullptr, c.want == dev::OpenError::None);
        handle.reset();
        EXPECT_TRUE(system.open.empty());
    }
}

TEST_F(Win32HidPortContract, EnumerationCarriesSerialInstanceAndInterfaceNumber) {
    const std::wstring keyboard =
        LR"(\\?\hid#vid_046d&pid_c31c&mi_00#7&2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}\kbd)";
    const std::wstring single =
        LR"(\\?\hid#vid_016c&pid_04f3#6&3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
    system.devices[READER] = {L"HID\\VID_016C&PID_04F3&MI_01\\8&1A2B&0&0000", 0x016C, 0x04F3,
                              L"VR000001"};
    system.devices[keyboard] = {L"HID\\VID_046D&PID_C31C&MI_00\\7&2B&0&0000", 0x046D, 0xC31C};
    system.devices[single] = {L"HID\\VID_016C&PID_04F3\\6&3C&0&0000", 0x016C, 0x04F3, L"序列 7"};
    const std::vector<dev::HidInterfaceInfo> found = port.Enumerate();
    ASSERT_EQ(found.size(), 3u);
    std::map<std::string, dev::HidInterfaceInfo> byPath;
    for (const dev::HidInterfaceInfo& info : found) byPath[info.path] = info;
    const dev::HidInterfaceInfo& reader = byPath.at(tk::win32::Utf8(READER));
    EXPECT_EQ(reader.serial, "VR000001");
    EXPECT_EQ(reader.instance, "HID\\VID_016C&PID_04F3&MI_01\\8&1A2B&0&0000");
    EXPECT_EQ(reader.interfaceNumber, 1);
    const dev::HidInterfaceInfo& other = byPath.at(tk::win32::Utf8(single));
    EXPECT_EQ(other.serial, "序列 7");
    EXPECT_EQ(other.interfaceNumber, -1);
    EXPECT_EQ(byPath.at(tk::win32::Utf8(keyboard)).vendorId, 0x046D);
    EXPECT_EQ(byPath.at(tk::win32::Utf8(keyboard)).serial, "");
    EXPECT_TRUE(system.open.empty());
}

}  // namespace
