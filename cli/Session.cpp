#include "cli/Session.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "base/FilePath.h"
#include "base/Gbk.h"
#include "base/Printable.h"
#include "keypad/KeyNameTable.h"
#include "profile/ProfileFile.h"

namespace cli {
namespace {

// The commands read one answer per request: the link drops what cannot be
// the answer, so there is no late answer to wait for.
constexpr core::ExchangePolicy POLICY{1};

Text DenialText(dev::AccessDenial denial) {
    switch (denial) {
        case dev::AccessDenial::RuleMissing:
            return {"access denied: the udev rule is not installed", "拒绝访问：udev 规则未安装"};
        case dev::AccessDenial::RuleNotApplied:
            return {"access denied: the udev rule has not reached the node yet (replug it)",
                    "拒绝访问：udev 规则尚未应用到这个设备节点（请重新插入读卡器）"};
        case dev::AccessDenial::NotLocalSeat:
            return {"access denied: the node belongs to the user at the active local seat",
                    "拒绝访问：该设备节点只属于本机屏幕前当前登录的用户"};
        case dev::AccessDenial::Unknown:
            break;
    }
    return {"access denied", "拒绝访问"};
}

// The operations as the window's buttons name them.
constexpr Text SET_DEVICE = {"Set Device", "设置设备"};
constexpr Text READ_DEVICE = {"Read Device", "读取设备"};
constexpr Text CONFIG_KEY = {"Config key", "配置键盘"};
constexpr Text NO_KEYPAD = {"the device is no keypad: it has no keys to configure",
                            "该设备不是键盘读卡器，没有可配置的按键"};

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

std::string OpenReason(const dev::ReaderInterface& r, Language language) {
    switch (r.openError) {
        case dev::OpenError::AccessDenied:
            return Say(language, DenialText(r.denial));
        case dev::OpenError::NotFound:
            return Say(language, {"gone", "已拔出"});
        default:
            return Say(language, {"open failed", "打开失败"});
    }
}

std::string OpenText(const dev::ReaderInterface& r, Language language) {
    if (r.openable)
        return r.settings
                   ? Say(language, {"yes", "是"})
                   : Say(language, {"yes (not the settings interface)", "是（不是设置接口）"});
    return Say(language, {"no, {}", "否，{}"}, {OpenReason(r, language)});
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
        throw Failure{
            Say({"a reader is attached but may not be opened (another program may hold it)",
                 "发现读卡器，但无法打开它（可能被其他程序占用）"})};
#else
        throw Failure{
            Say({"a reader is attached but may not be opened: install the udev rule "
                 "(see reader-config(1), PERMISSIONS)",
                 "发现读卡器，但没有权限打开它：请安装 udev 规则"
                 "（见 reader-config(1) 的 PERMISSIONS 一节）"})};
#endif
    throw Failure{Say({"no reader attached (USB vendor 016c, product 04f3)",
                       "未连接读卡器（USB 厂商 016c，产品 04f3）"})};
}

std::string Session::DeviceName() const {
    const std::string& path = m_link.Binding().path;
    return path.empty() ? Say({"the reader", "读卡器"}) : tk::Printable(path);
}

void Session::Note(int level, const std::string& line) const {
    if (m_env.verbose >= level) m_env.err << PROGRAM << ": " << line << "\n";
}

std::string Session::Silence() const {
    switch (m_link.LastTransferStatus()) {
        case dev::TransferStatus::Timeout:
            return Say({"no answer within {} ms", "{} 毫秒内没有应答"},
                       {std::to_string(dev::READ_WAIT_MS)});
        case dev::TransferStatus::NotPresent:
        case dev::TransferStatus::NotFound:
            return Say({"the reader could not be opened", "无法打开读卡器"});
        case dev::TransferStatus::Error:
            return Say({"the system reported an error on the device", "系统报告设备出错"});
        case dev::TransferStatus::Gone:
            return Say({"the device went away", "设备已拔出"});
        case dev::TransferStatus::Ok:
            break;
    }
    return Say({"the answer was not the one asked for", "应答不是所请求的"});
}

void Session::Fail(const std::string& what, const std::string& why) {
    if (m_link.Binding().active && m_link.LastTransferStatus() == dev::TransferStatus::Gone)
        throw Failure{Say({"{} failed: the device {} went away during the operation; no other "
                           "device was touched",
                           "{}失败：设备 {} 在操作中被拔出；没有触及其他设备"},
                          {what, m_link.Binding().path})};
    throw Failure{Say({"{} failed: {}: {}", "{}失败：{}：{}"}, {what, DeviceName(), why})};
}

void Session::OnSymbolDefaulted(int field) {
    m_env.err << PROGRAM << ": "
              << Say({"{} is ticked but empty: the reader gets {} instead",
                      "{} 已勾选但为空：读卡器改用默认的 {}"},
                     {ProfileFieldName(field),
                      Quoted(std::string(1, reader::DEFAULT_CHARS[static_cast<size_t>(field)]))})
              << "\n";
}

void Session::OnOldReader(int field) {
    m_env.err << PROGRAM << ": "
              << Say({"{} is an older reader that stores one character of {}",
                      "{} 可能是老版本的读卡器，{} 只能保存一个字符"},
                     {DeviceName(), ProfileFieldName(field)})
              << "\n";
}

void Session::WriteGeneral(const profile::Profile& p) {
    dev::OperationScope scope(m_link, "SetDevice");
    dev::DeviceBindingScope binding(m_link);
    Note(1, Say({"Set Device: {}", "设置设备：{}"}, {DeviceName()}));
    for (const auto& [field, value] : profile::EffectiveSettings(p))
        Note(2, Say({"  write {} = {}", "  写入 {} = {}"}, {field, value}));
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
            Fail(Say(SET_DEVICE),
                 Say({"{} {} was not confirmed ({}); the settings were not sent",
                      "读卡器没有确认 {} {} 的长文本（{}），设置没有发送"},
                     {ProfileFieldName(r.field),
                      Quoted(settings.texts[static_cast<size_t>(r.field)]), Silence()}));
        case core::SetStatus::NotAcknowledged:
            Fail(Say(SET_DEVICE),
                 Say({"the settings were not acknowledged ({})", "设置没有得到确认（{}）"},
                     {Silence()}));
    }
}

profile::Profile Session::ReadGeneral() {
    dev::OperationScope scope(m_link, "ReadDevice");
    Note(1, Say({"Read Device: {}", "读取设备：{}"}, {DeviceName()}));
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
        case core::ReadStatus::Read: {
            profile::Profile read = r.Settings();
            for (const auto& [field, value] : profile::EffectiveSettings(read))
                Note(2, Say({"  read {} = {}", "  读取 {} = {}"}, {field, value}));
            return read;
        }
        case core::ReadStatus::NotConfigured:
            throw Failure{Say({"the reader holds no settings: it has never been configured",
                               "读卡器中没有设置：此设备从未配置过，请重新配置"}),
                          true};
        case core::ReadStatus::LongTextUnread:
            Fail(Say(READ_DEVICE),
                 Say({"{} could not be read ({})", "读卡器没有返回 {} 的长文本（{}）"},
                     {ProfileFieldName(r.field), Silence()}));
        case core::ReadStatus::NoAnswer:
            break;
    }
    Fail(Say(READ_DEVICE),
         Say({"the settings could not be read ({})", "无法读取设置（{}）"}, {Silence()}));
}

std::optional<core::KeyCodes> Session::ProbeKeys() {
    dev::OperationScope scope(m_link, "ProbeKeypad");
    dev::DeviceBindingScope binding(m_link);
    Note(1, Say({"keypad probe: {}", "探测键盘：{}"}, {DeviceName()}));
    const core::KeypadProbe probe = m_core.ProbeKeypad(POLICY);
    if (probe.status != core::KeypadStatus::Keypad) return std::nullopt;
    return probe.codes;
}

core::KeyCodes Session::ReadKeys() {
    const std::optional<core::KeyCodes> codes = ProbeKeys();
    if (!codes) throw Failure{Say(NO_KEYPAD)};
    return *codes;
}

void Session::WriteKeys(const profile::Profile& p) {
    if (!p.keys) return;
    dev::OperationScope scope(m_link, "ConfigKeyboard");
    dev::DeviceBindingScope binding(m_link);
    Note(1, Say({"Config key: {}", "配置键盘：{}"}, {DeviceName()}));
    switch (m_core.ConfigureKeypad(*p.keys, POLICY)) {
        case core::KeypadConfigStatus::Configured:
            return;
        case core::KeypadConfigStatus::NotKeypad:
            throw Failure{Say(NO_KEYPAD)};
        case core::KeypadConfigStatus::NotAcknowledged:
            Fail(Say(CONFIG_KEY),
                 Say({"the key codes were not acknowledged ({})", "按键码没有得到确认（{}）"},
                     {Silence()}));
        case core::KeypadConfigStatus::NoAnswer:
            break;
    }
    Fail(Say(CONFIG_KEY),
         Say({"the keypad did not answer ({})", "键盘没有应答（{}）"}, {Silence()}));
}

namespace {

// The bytes of a profile file, or of standard input for "-"; at most
// MAX_PROFILE_FILE_BYTES.
std::string ReadProfileText(const std::string& path, const Environment& env) {
    const Language l = env.language;
    std::ifstream file;
    std::istream* in = env.in ? env.in : &std::cin;
    const bool standardInput = path == "-";
    const std::string name = standardInput ? Say(l, {"standard input", "标准输入"}) : path;
    if (!standardInput) {
        errno = 0;
        file.open(tk::PathFromUtf8(path), std::ios::binary);
        if (!file) {
            const int error = errno;
            throw Failure{Say(l, {"cannot read {}: {}", "无法读取文件 {}：{}"},
                              {path, error ? std::strerror(error) : "?"})};
        }
        in = &file;
    }
    std::string text;
    char buffer[4096];
    while (in->read(buffer, sizeof buffer) || in->gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in->gcount()));
        if (text.size() > profile::MAX_PROFILE_FILE_BYTES)
            throw Failure{Say(l,
                              {"{}: profile: the file is larger than 1 MiB; this is no profile",
                               "{}：文件大于 1 MiB，不是配置文件"},
                              {name})};
    }
    if (in->bad()) throw Failure{Say(l, {"cannot read {}", "无法读取文件 {}"}, {name})};
    return text;
}

}  // namespace

profile::Profile LoadProfileFile(const std::string& path, const Environment& env) {
    profile::ParseResult parsed = profile::ParseProfile(ReadProfileText(path, env));
    const std::string name = path == "-" ? Say(env.language, {"standard input", "标准输入"}) : path;
    if (!parsed.profile)
        throw Failure{Say(
            env.language, {"{}: {}", "{}：不是有效的配置文件：{}"},
            {name, parsed.Error(env.language == Language::Chinese && !parsed.errorZh.empty())})};
    return *parsed.profile;
}

std::string ValueText(const std::string& value, Language language) {
    if (language != Language::Chinese) return value;
    if (value == "(not in effect)") return "（未生效）";
    if (value == "20 key names") return "20 个按键名";
    if (value == "no keypad") return "不是键盘读卡器";
    return value;
}

void PrintDifferences(std::ostream& out, const std::vector<profile::Difference>& diffs,
                      const char* indent, Language language) {
    for (const profile::Difference& d : diffs)
        out << indent
            << Say(language, {"{}: expected {}, found {}", "{}：应为 {}，实际为 {}"},
                   {d.field, ValueText(d.expected, language), ValueText(d.found, language)})
            << "\n";
}

std::vector<profile::Difference> Compare(Session& s, const profile::Profile& expected) {
    profile::Profile found = s.ReadGeneral();
    if (expected.keys) found.keys = s.ReadKeys();
    return profile::Differences(expected, found);
}

std::vector<profile::Difference> ApplyAndCompare(Session& s, const profile::Profile& p) {
    // Nothing is written to a device the profile does not fit.
    if (p.keys && !s.ProbeKeys()) throw Failure{s.Say(NO_KEYPAD)};
    s.WriteGeneral(p);
    profile::Profile found = s.ReadGeneral();
    if (p.keys) {
        s.WriteKeys(p);
        found.keys = s.ReadKeys();
    }
    return profile::Differences(p, found);
}

}  // namespace cli
