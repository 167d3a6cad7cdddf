#include "cli/Session.h"

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "keypad/KeypadTexts.h"
#include "profile/ProfileControls.h"
#include "profile/ProfileFile.h"
#include "reader/ReaderTexts.h"

using namespace ids;

namespace cli {
namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of("\r\n ");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of("\r\n ") - first + 1);
}

std::string FirstLine(const std::string& text) {
    const std::string t = Trimmed(text);
    const size_t end = t.find_first_of("\r\n");
    return end == std::string::npos ? t : t.substr(0, end);
}

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

}  // namespace

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

Session::Session(Environment& env, const std::string& devicePath)
    : m_env(env), m_ui(app::MainDialogSpec()), m_dlg(m_ui, env.port, env.watcher, env.clock) {
    m_dlg.Link().SetTracer(env.tracer);
    if (!devicePath.empty()) m_dlg.Link().Bind(devicePath);
    m_dlg.OnInitDialog();
    m_ui.Click(IDC_ENGLISH);
    TakeOutput();
}

void Session::RequireDevice() {
    if (m_dlg.Link().IsPresent()) return;
    if (m_dlg.Link().LastFindStatus() == dev::FindStatus::AccessDenied)
        throw Failure{
            "a reader is attached but may not be opened: install the udev rule "
            "(see reader-config(1), PERMISSIONS)"};
    throw Failure{"no reader attached (USB vendor 016c, product 04f3)"};
}

std::string Session::Run(int id) {
    m_dlg.OnCommand(id);
    Settle();
    return TakeOutput();
}

void Session::Settle() {
    // Every request goes out twice and most answers are read once: the
    // second answer may still be on its way when the operation ends. A
    // person takes longer than this to press the next button; a command
    // that pressed it at once could open the next read in time to take that
    // late answer for its own.
    m_env.clock.WaitUntil(m_env.clock.NowMs() + SETTLE_MS);
}

void Session::Expect(int id, const TextPair& success, const std::string& what) {
    const std::string output = Run(id);
    if (output.find(success.Get()) == std::string::npos) Fail(what, output);
}

void Session::Fail(const std::string& what, const std::string& output) {
    const dev::CHidLink& link = m_dlg.Link();
    if (link.Binding().active && link.LastTransferStatus() == dev::TransferStatus::Gone)
        throw Failure{what + " failed: the device " + link.Binding().path +
                      " went away during the operation; no other device was touched"};
    throw Failure{what + " failed: " + FirstLine(output)};
}

std::string Session::TakeOutput() {
    for (const tk::ShownMessageBox& box : m_ui.MessageBoxes())
        m_env.err << PROGRAM << ": " << box.caption << ": " << Trimmed(box.text) << "\n";
    m_ui.ClearMessageBoxes();
    std::string text = m_ui.GetText(IDC_OUTPUT);
    m_dlg.ClearOutput();
    return text;
}

profile::Profile Session::ReadGeneral() {
    std::string output = Run(IDC_READ_DEVICE);
    // A late second answer of one exchange can reach the next exchange's
    // read on a loaded machine; a person presses Read Device again, and so
    // does this, once (it writes back only what the reader holds). A device
    // that is gone is not asked again.
    if (output.find(reader_texts::READ_SUCCESS.Get()) == std::string::npos &&
        output.find(reader_texts::NOT_CONFIGURED.Get()) == std::string::npos &&
        m_dlg.Link().LastTransferStatus() != dev::TransferStatus::Gone)
        output = Run(IDC_READ_DEVICE);
    if (output.find(reader_texts::NOT_CONFIGURED.Get()) != std::string::npos)
        throw Failure{"the reader holds no settings: it has never been configured", true};
    if (output.find(reader_texts::READ_SUCCESS.Get()) == std::string::npos)
        Fail("Read Device", output);
    return profile::ProfileFromControls(m_ui, false);
}

bool Session::IsKeypad() {
    // Only a keypad is switched to the keyboard view: the switch sends the
    // factory layout to a device that does not answer.
    dev::OperationScope scope(m_dlg.Link(), "ProbeKeypad");
    const bool keypad = m_dlg.ProbeKeypad() == KP_KEYPAD;
    Settle();
    return keypad;
}

std::array<std::string, profile::KEY_COUNT> Session::ReadKeys() {
    // The switch reads the keys into the key fields; later, Read Config.
    if (!g_bKeyboardView) {
        if (!IsKeypad()) throw Failure{"the device is no keypad: it has no keys to configure"};
        const std::string output = Run(ID_TOGGLE_VIEW);
        if (!g_bKeyboardView)
            throw Failure{"the keyboard view could not be opened: " + FirstLine(output)};
    } else {
        Expect(IDC_READ_CONFIG, kp::texts::READ_OK, "Read Config");
    }
    return *profile::ProfileFromControls(m_ui, true).keys;
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
    s.Dlg().LoadProfile(p);
    s.Expect(IDC_SET_DEVICE, reader_texts::CONFIG_SUCCESS, "Set Device");
    profile::Profile found = s.ReadGeneral();
    if (p.keys) {
        s.ReadKeys();
        s.Dlg().LoadProfileKeys(p);
        s.Expect(IDC_CONFIG_KEY, kp::texts::CONFIG_OK, "Config key");
        found.keys = s.ReadKeys();
    }
    return profile::Differences(p, found);
}

}  // namespace cli
