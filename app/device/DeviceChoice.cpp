// Several readers at once: which one the dialog talks to, the line that names
// it and the menu that changes it. With one reader or none the window shows
// neither, and operations bind to the reader their first transfer finds.

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "app/device/DeviceTexts.h"

using namespace ids;

namespace {

// A serial number comes from the device: control characters (a tab would
// split a Windows menu entry) are shown as "?".
std::string Printable(const std::string& serial) {
    std::string out = serial;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return out;
}

}  // namespace

void CReaderConfigDlg::RefreshDevices() {
    // Opening every interface to tell the settings one from the keyboard is
    // what costs; a device change that leaves the set of interfaces as it was
    // (the tree-change event after an arrival) lists nothing anew.
    // A dialog bound to one device for its life (a command's) has no choice to offer.
    if (m_link.Binding().active && !m_link.Binding().path.empty()) return;
    std::vector<dev::HidInterfaceInfo> present;
    for (dev::HidInterfaceInfo& info : m_port.Enumerate())
        if (dev::IsReaderId(info)) present.push_back(std::move(info));
    const bool same =
        present.size() == m_listedInterfaces.size() &&
        std::equal(present.begin(), present.end(), m_listedInterfaces.begin(), dev::SameAttachment);
    if (same) return;
    m_listedInterfaces = present;
    m_devices.clear();
    if (present.size() <= 1) {
        // One interface at most: one device at most, whatever it turns out to be.
        m_devices = std::move(present);
    } else {
        for (const dev::HidInterfaceInfo& info : present)
            if (dev::DescribeReaderInterface(m_port, info).settings) m_devices.push_back(info);
    }
    bool chosenPresent = false;
    for (const dev::HidInterfaceInfo& info : m_devices)
        chosenPresent = chosenPresent || dev::SameAttachment(info, m_chosenDevice);
    // The chosen reader was pulled out: the first one left takes its place.
    if (!chosenPresent)
        m_chosenDevice = m_devices.empty() ? dev::HidInterfaceInfo{} : m_devices.front();
    m_link.ChooseDevice(m_devices.size() > 1 ? m_chosenDevice.path : std::string());
    UpdateDeviceLine();
    UpdateWindowEntries();
}

void CReaderConfigDlg::ChooseDevice(size_t n) {
    if (n >= m_devices.size()) return;
    m_chosenDevice = m_devices[n];
    m_link.ChooseDevice(m_chosenDevice.path);
    UpdateDeviceLine();
    UpdateWindowEntries();
}

void CReaderConfigDlg::UpdateDeviceLine() {
    const bool several = m_devices.size() > 1;
    if (several) {
        std::string line = devicetexts::CURRENT_DEVICE.Get() + m_chosenDevice.path;
        if (!m_chosenDevice.serial.empty())
            line += devicetexts::DEVICE_SERIAL.Get() + Printable(m_chosenDevice.serial);
        line += devicetexts::DEVICE_COUNT_HEAD.Get() + std::to_string(m_devices.size()) +
                devicetexts::DEVICE_COUNT_TAIL.Get();
        m_ui.SetText(IDC_DEVICE_LABEL, line);
    }
    m_ui.SetAccessibleName(IDC_DEVICE_LABEL, devicetexts::DEVICE_LINE_NAME.Get());
    if (m_ui.IsVisible(IDC_DEVICE_LABEL) != several) m_ui.SetVisible(IDC_DEVICE_LABEL, several);
}

std::optional<tk::WindowEntry> CReaderConfigDlg::DeviceMenu() const {
    if (m_devices.size() < 2) return std::nullopt;
    tk::WindowEntry menu;
    menu.text = devicetexts::DEVICE_MENU.Get();
    for (size_t i = 0; i < m_devices.size() && i < static_cast<size_t>(DEVICE_ENTRY_LIMIT); ++i) {
        const dev::HidInterfaceInfo& info = m_devices[i];
        tk::WindowEntry e;
        e.commandId = ID_DEVICE_FIRST + static_cast<int>(i);
        e.text = info.serial.empty() ? info.path : info.path + "  " + Printable(info.serial);
        e.checkable = true;
        e.checked = dev::SameAttachment(info, m_chosenDevice);
        menu.submenu.push_back(std::move(e));
    }
    return menu;
}
