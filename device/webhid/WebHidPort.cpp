#include "device/webhid/WebHidPort.h"

#include <emscripten.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

namespace dev {
namespace {

// The page's side (webhid_port.js).
EM_JS(char*, hid_list, (), { return allocateUTF8(JSON.stringify(ReaderHid.list())); });
// Returns a handle number > 0, or -1 not found, -2 access denied, -3 other.
EM_ASYNC_JS(int, hid_open, (const char* path),
            { return await ReaderHid.open(UTF8ToString(path)); });
EM_JS(void, hid_close, (int handle), { ReaderHid.close(handle); });
// 1 written, 0 timed out, -1 error.
EM_ASYNC_JS(int, hid_write, (int handle, const uint8_t* report, int length, int timeoutMs), {
    return await ReaderHid.write(handle, HEAPU8.slice(report, report + length), timeoutMs);
});
// Bytes stored (report id first), 0 timed out, -1 error.
EM_ASYNC_JS(int, hid_read, (int handle, uint8_t* report, int capacity, int timeoutMs),
            { return await ReaderHid.readInto(handle, report, capacity, timeoutMs); });

class WebHidHandle : public HidHandle {
  public:
    WebHidHandle(int handle, size_t in, size_t out, bool keyboard)
        : m_handle(handle), m_in(in), m_out(out), m_keyboard(keyboard) {}
    ~WebHidHandle() override { hid_close(m_handle); }
    size_t InputReportLength() const override { return m_in; }
    size_t OutputReportLength() const override { return m_out; }
    bool HasKeyboardUsage() const override { return m_keyboard; }
    bool Write(const uint8_t* report, size_t length, int timeoutMs) override {
        const int result = hid_write(m_handle, report, static_cast<int>(length), timeoutMs);
        m_timedOut = result == 0;
        return result == 1;
    }
    bool LastWriteTimedOut() const override { return m_timedOut; }
    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        return hid_read(m_handle, report, static_cast<int>(capacity), timeoutMs);
    }

  private:
    int m_handle;
    size_t m_in, m_out;
    bool m_keyboard;
    bool m_timedOut = false;
};

struct Listed {
    HidInterfaceInfo info;
    size_t in = 0, out = 0;
    bool keyboard = false;
};

std::vector<Listed> List() {
    char* text = hid_list();
    const nlohmann::json all = nlohmann::json::parse(text ? text : "[]", nullptr, false);
    std::free(text);
    std::vector<Listed> out;
    if (!all.is_array()) return out;
    for (const auto& d : all) {
        Listed l;
        l.info.path = d.value("path", "");
        l.info.instance = d.value("instance", "");
        l.info.vendorId = d.value("vendorId", 0);
        l.info.productId = d.value("productId", 0);
        l.in = d.value("inputLength", 0u);
        l.out = d.value("outputLength", 0u);
        l.keyboard = d.value("keyboard", false);
        out.push_back(l);
    }
    return out;
}

WebHidWatcher* g_watcher = nullptr;

}  // namespace

std::vector<HidInterfaceInfo> WebHidPort::Enumerate() {
    std::vector<HidInterfaceInfo> out;
    for (const Listed& l : List()) out.push_back(l.info);
    return out;
}

std::unique_ptr<HidHandle> WebHidPort::Open(const std::string& path, OpenError* error) {
    auto fail = [error](OpenError why) -> std::unique_ptr<HidHandle> {
        if (error) *error = why;
        return nullptr;
    };
    for (const Listed& l : List()) {
        if (l.info.path != path) continue;
        const int handle = hid_open(path.c_str());
        if (handle == -1) return fail(OpenError::NotFound);
        if (handle == -2) return fail(OpenError::AccessDenied);
        if (handle <= 0) return fail(OpenError::Other);
        if (error) *error = OpenError::None;
        return std::make_unique<WebHidHandle>(handle, l.in, l.out, l.keyboard);
    }
    return fail(OpenError::NotFound);
}

AccessDenial WebHidPort::ExplainAccessDenied(const std::string&) {
    return AccessDenial::Unknown;
}

WebHidWatcher::~WebHidWatcher() {
    Unregister();
}

bool WebHidWatcher::Register(DeviceChangeReceiver* receiver) {
    m_receiver = receiver;
    g_watcher = this;
    return true;
}

void WebHidWatcher::Unregister() {
    m_receiver = nullptr;
    if (g_watcher == this) g_watcher = nullptr;
}

void WebHidWatcher::Deliver(uint32_t event) {
    if (!g_watcher || !g_watcher->m_receiver) return;
    g_watcher->m_receiver->OnDeviceChange(event, 0);
    g_watcher->m_receiver->OnDeviceChange(DBT_DEVNODES_CHANGED, 0);
}

}  // namespace dev

extern "C" EMSCRIPTEN_KEEPALIVE void web_hid_changed(int arrived) {
    dev::WebHidWatcher::Deliver(arrived ? dev::DBT_DEVICEARRIVAL : dev::DBT_DEVICEREMOVECOMPLETE);
}
