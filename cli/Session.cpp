#include "cli/Session.h"

#include "base/Gbk.h"
#include "base/Printable.h"
#include "keypad/KeyNameTable.h"
#include "profile/ProfileFile.h"

namespace cli {
namespace {

// The commands read one answer per request: the link drops what cannot be
// the answer, so there is no late answer to wait for.
constexpr core::ExchangePolicy POLICY{1};

const char* DenialText(dev::AccessDenial denial) {
    switch (denial) {
        case dev::AccessDenial::RuleMissing:
            return "access denied: the udev rule is not installed";
        case dev::AccessDenial::RuleNotApplied:
            return "access denied: the udev rule has not reached the node yet (replug it)";
        case dev::AccessDenial::NotLocalSeat:
            return "access denied: the node belongs to the user at the active local seat";
        case dev::AccessDenial::Unknown:
            break;
    }
    return "access denied";
}

std::string Quoted(const std::string& gbk) {
    return "\"" + tk::GbkToUtf8(gbk) + "\"";
}

}  // namespace

std::string ProfileFieldName(int field) {
    static const std::array<const char*, reader::FIELD_COUNT + 1> names = {"",
                                                                           "sentinels.track1Start",
                                                                           "sentinels.track2Start",
                                                                           "sentinels.track3Start",
                                                                           "sentinels.track1End",
                                                                           "sentinels.track2End",
                                                                           "sentinels.track3End",
                                                                           "middleSeparator.text",
                                                                           "startString.text",
                                                                           "endString.text"};
    return field >= 1 && field <= reader::FIELD_COUNT ? names[static_cast<size_t>(field)] : "?";
}

std::string OpenText(const dev::ReaderInterface& r) {
    if (r.openable) return r.settings ? "yes" : "yes (not the settings interface)";
    switch (r.openError) {
        case dev::OpenError::AccessDenied:
            return std::string("no, ") + DenialText(r.denial);
        case dev::OpenError::NotFound:
            return "no, gone";
        default:
            return "no, open failed";
    }
}

Session::Session(Environment& env, const std::string& devicePath, dev::DeviceChangeReceiver* events)
    : m_env(env), m_link(env.port, env.watcher, env.clock), m_core(m_link, this) {
    m_link.SetTracer(env.tracer);
    m_link.m_hNotifyWnd = events;
    if (!devicePath.empty()) m_link.Bind(devicePath);
    m_link.CheckPresence();
}

void Session::RequireDevice() {
    if (m_link.IsPresent()) return;
    if (m_link.LastFindStatus() == dev::FindStatus::AccessDenied)
#ifdef _WIN32
        throw Failure{"a reader is attached but may not be opened (another program may hold it)"};
#else
        throw Failure{
            "a reader is attached but may not be opened: install the udev rule "
            "(see reader-config(1), PERMISSIONS)"};
#endif
    throw Failure{"no reader attached (USB vendor 016c, product 04f3)"};
}

std::string Session::DeviceName() const {
    const std::string& path = m_link.Binding().path;
    return path.empty() ? std::string("the reader") : tk::Printable(path);
}

std::string Session::Silence() const {
    switch (m_link.LastTransferStatus()) {
        case dev::TransferStatus::Timeout:
            return "no answer within " + std::to_string(dev::READ_WAIT_MS) + " ms";
        case dev::TransferStatus::NotPresent:
        case dev::TransferStatus::NotFound:
            return "the reader could not be opened";
        case dev::TransferStatus::Error:
            return "the system reported an error on the device";
        case dev::TransferStatus::Gone:
            return "the device went away";
        case dev::TransferStatus::Ok:
            break;
    }
    return "the answer was not the one asked for";
}

void Session::Fail(const std::string& what, const std::string& why) {
    if (m_link.Binding().active && m_link.LastTransferStatus() == dev::TransferStatus::Gone)
        throw Failure{what + " failed: the device " + m_link.Binding().path +
                      " went away during the operation; no other device was touched"};
    throw Failure{what + " failed: " + DeviceName() + ": " + why};
}

void Session::OnSymbolDefaulted(int field) {
    m_env.err << PROGRAM << ": " << ProfileFieldName(field)
              << " is ticked but empty: the reader gets "
              << Quoted(std::string(1, reader::DEFAULT_CHARS[static_cast<size_t>(field)]))
              << " instead\n";
}

void Session::OnOldReader(int field) {
    m_env.err << PROGRAM << ": " << DeviceName()
              << " is an older reader that stores one character of " << ProfileFieldName(field)
              << "\n";
}

void Session::WriteGeneral(const profile::Profile& p) {
    dev::OperationScope scope(m_link, "SetDevice");
    dev::DeviceBindingScope binding(m_link);
    reader::Settings settings = reader::Effective(p);
    core::SetResult r = m_core.SetSettings(settings, POLICY);
    // An answer lost on a starved machine (it came while no handle was open)
    // is asked for again once, as a person presses Set Device again: the
    // same settings written twice are the same settings.
    if (r.status != core::SetStatus::Configured &&
        m_link.LastTransferStatus() == dev::TransferStatus::Timeout)
        r = m_core.SetSettings(settings, POLICY);
    switch (r.status) {
        case core::SetStatus::Configured:
            return;
        case core::SetStatus::LongTextUnstored:
            Fail("Set Device", ProfileFieldName(r.field) + " " +
                                   Quoted(settings.texts[static_cast<size_t>(r.field)]) +
                                   " was not confirmed (" + Silence() +
                                   "); the settings were not sent");
        case core::SetStatus::NotAcknowledged:
            Fail("Set Device", "the settings were not acknowledged (" + Silence() + ")");
    }
}

profile::Profile Session::ReadGeneral() {
    dev::OperationScope scope(m_link, "ReadDevice");
    core::ReadResult r;
    for (int attempt = 0; attempt < 2; ++attempt) {
        dev::DeviceBindingScope binding(m_link);
        r = m_core.ReadSettings(POLICY);
        if (r.status == core::ReadStatus::Read || r.status == core::ReadStatus::NotConfigured)
            break;
        // A device that is gone is not asked again.
        if (m_link.LastTransferStatus() == dev::TransferStatus::Gone) break;
    }
    switch (r.status) {
        case core::ReadStatus::Read:
            return r.Settings();
        case core::ReadStatus::NotConfigured:
            throw Failure{"the reader holds no settings: it has never been configured", true};
        case core::ReadStatus::LongTextUnread:
            Fail("Read Device",
                 ProfileFieldName(r.field) + " could not be read (" + Silence() + ")");
        case core::ReadStatus::NoAnswer:
            break;
    }
    Fail("Read Device", "the settings could not be read (" + Silence() + ")");
}

std::optional<core::KeyCodes> Session::ProbeKeys() {
    dev::OperationScope scope(m_link, "ProbeKeypad");
    dev::DeviceBindingScope binding(m_link);
    const core::KeypadProbe probe = m_core.ProbeKeypad(POLICY);
    if (probe.status != core::KeypadStatus::Keypad) return std::nullopt;
    return probe.codes;
}

core::KeyCodes Session::ReadKeys() {
    const std::optional<core::KeyCodes> codes = ProbeKeys();
    if (!codes) throw Failure{"the device is no keypad: it has no keys to configure"};
    return *codes;
}

void Session::WriteKeys(const profile::Profile& p) {
    if (!p.keys) return;
    dev::OperationScope scope(m_link, "ConfigKeyboard");
    dev::DeviceBindingScope binding(m_link);
    switch (m_core.ConfigureKeypad(*p.keys, POLICY)) {
        case core::KeypadConfigStatus::Configured:
            return;
        case core::KeypadConfigStatus::NotKeypad:
            throw Failure{"the device is no keypad: it has no keys to configure"};
        case core::KeypadConfigStatus::NotAcknowledged:
            Fail("Config key", "the key codes were not acknowledged (" + Silence() + ")");
        case core::KeypadConfigStatus::NoAnswer:
            break;
    }
    Fail("Config key", "the keypad did not answer (" + Silence() + ")");
}

profile::Profile LoadProfileFile(const std::string& path) {
    profile::ParseResult parsed = profile::ReadProfileFile(path);
    if (!parsed.profile) throw Failure{path + ": " + parsed.error};
    return *parsed.profile;
}

void PrintDifferences(std::ostream& out, const std::vector<profile::Difference>& diffs,
                      const char* indent) {
    for (const profile::Difference& d : diffs)
        out << indent << d.field << ": expected " << d.expected << ", found " << d.found << "\n";
}

std::vector<profile::Difference> Compare(Session& s, const profile::Profile& expected) {
    profile::Profile found = s.ReadGeneral();
    if (expected.keys) found.keys = s.ReadKeys();
    return profile::Differences(expected, found);
}

std::vector<profile::Difference> ApplyAndCompare(Session& s, const profile::Profile& p) {
    // Nothing is written to a device the profile does not fit.
    if (p.keys && !s.ProbeKeys())
        throw Failure{"the device is no keypad: it has no keys to configure"};
    s.WriteGeneral(p);
    profile::Profile found = s.ReadGeneral();
    if (p.keys) {
        s.WriteKeys(p);
        found.keys = s.ReadKeys();
    }
    return profile::Differences(p, found);
}

}  // namespace cli
