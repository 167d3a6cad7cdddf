#include "e2e/uhid/UhidReader.h"

#include <linux/input.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "device/HidLink.h"
#include "e2e/uhid/ModelFactory.h"
#include "e2e/uhid/OutputReport.h"
#include "e2e/uhid/ReaderDescriptor.h"

namespace e2e {

namespace {

const UhidIdentity READER_IDENTITY{"e2e card reader", BUS_USB, dev::VENDOR_ID, dev::PRODUCT_ID, ""};
const UhidIdentity KEYBOARD_IDENTITY{"e2e card reader keyboard", BUS_USB, dev::VENDOR_ID,
                                     dev::PRODUCT_ID, ""};

std::string Hex(const uint8_t* data, size_t size, size_t shown = 8) {
    std::string s;
    char b[4];
    for (size_t i = 0; i < size && i < shown; ++i) {
        std::snprintf(b, sizeof b, "%02x ", data[i]);
        s += b;
    }
    return size > shown ? s + "..." : s;
}

}  // namespace

UhidReader::UhidReader(UhidDevice& device, std::unique_ptr<sim::ReaderModel> model, bool verbose)
    : m_device(device), m_model(std::move(model)), m_verbose(verbose), m_startMs(NowMs()) {}

int64_t UhidReader::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void UhidReader::Log(const std::string& what) const {
    std::fprintf(stderr, "uhid-reader %7lld ms: %s\n", static_cast<long long>(NowMs() - m_startMs),
                 what.c_str());
}

int UhidReader::Run() {
    RunCommands();
    while (!m_quit) {
        pollfd fds[2] = {{m_device.Fd(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int n = poll(fds, m_stdinOpen ? 2 : 1, PollTimeoutMs());
        if (n < 0 && errno != EINTR) {
            Log("poll failed");
            return 1;
        }
        if (fds[0].revents & (POLLERR | POLLHUP)) {
            Log("/dev/uhid failed");
            return 1;
        }
        if (fds[0].revents & POLLIN) OnUhidEvent();
        if (m_stdinOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) ReadStdin();
        SendDue();
        RunCommands();
        if (!m_stdinOpen && m_commands.empty() && m_sleepLine.empty()) m_quit = true;
    }
    m_device.Destroy();
    return m_failed ? 1 : 0;
}

int UhidReader::PollTimeoutMs() const {
    int64_t due = -1;
    if (!m_pending.empty()) due = m_pending.front().dueMs;
    if (!m_sleepLine.empty() && (due < 0 || m_sleepUntilMs < due)) due = m_sleepUntilMs;
    if (due < 0) return -1;
    return static_cast<int>(std::max<int64_t>(0, due - NowMs()));
}

void UhidReader::OnUhidEvent() {
    uhid_event ev{};
    if (!m_device.ReadEvent(ev)) {
        Log(m_device.Error());
        m_failed = true;
        return;
    }
    switch (ev.type) {
        case UHID_OUTPUT:
            OnOutput(ev.u.output.data, std::min<size_t>(ev.u.output.size, UHID_DATA_MAX));
            break;
        case UHID_GET_REPORT:
        case UHID_SET_REPORT:
            if (m_verbose) Log("refusing a get/set report request");
            m_device.RefuseRequest(ev);
            break;
        case UHID_OPEN:
            if (m_verbose) Log("opened");
            break;
        case UHID_CLOSE:
            if (m_verbose) Log("closed");
            break;
        default:
            break;
    }
}

void UhidReader::OnOutput(const uint8_t* data, size_t size) {
    ++m_outputReports;
    const std::optional<sim::Frame> frame = FrameFromOutput(data, size);
    if (!frame) {
        Log("ignored an output report of " + std::to_string(size) + " bytes: " + Hex(data, size));
        return;
    }
    const int delay = m_delayOverride >= 0 ? m_delayOverride : m_model->AnswerDelayMs();
    const std::vector<sim::Frame> answers = m_model->OnFrame(*frame);
    if (m_verbose)
        Log("frame " + Hex(frame->data(), frame->size()) + "-> " + std::to_string(answers.size()) +
            " answer(s) in " + std::to_string(delay) + " ms");
    for (const sim::Frame& a : answers) m_pending.push_back({NowMs() + delay, a});
}

void UhidReader::SendDue() {
    while (!m_pending.empty() && m_pending.front().dueMs <= NowMs()) {
        const sim::Frame& f = m_pending.front().frame;
        // Unplugged meanwhile: the answer goes nowhere.
        if (m_device.Created()) {
            if (!m_device.SendInput(f.data(), f.size())) {
                Log(m_device.Error());
                m_failed = true;
            } else if (m_verbose) {
                Log("sent " + Hex(f.data(), f.size()));
            }
        }
        m_pending.pop_front();
    }
}

void UhidReader::ReadStdin() {
    char buf[512];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        m_stdinOpen = false;
        return;
    }
    m_stdinBuffer.append(buf, static_cast<size_t>(n));
    for (size_t nl; (nl = m_stdinBuffer.find('\n')) != std::string::npos;) {
        m_commands.push_back(m_stdinBuffer.substr(0, nl));
        m_stdinBuffer.erase(0, nl + 1);
    }
}

void UhidReader::RunCommands() {
    while (!m_quit) {
        if (!m_sleepLine.empty()) {
            if (m_sleepUntilMs > NowMs()) return;
            Acknowledge(m_sleepLine, {});
            m_sleepLine.clear();
        }
        if (m_commands.empty()) return;
        const std::string line = m_commands.front();
        m_commands.pop_front();
        std::string reason;
        const std::optional<DeviceCommand> cmd = ParseCommand(line, &reason);
        if (!cmd && reason.empty()) continue;  // blank line
        if (cmd) reason = Execute(*cmd);
        if (cmd && cmd->kind == CommandKind::Sleep)
            m_sleepLine = line;  // acknowledged once the wait is over
        else
            Acknowledge(line, reason);
    }
}

void UhidReader::Acknowledge(const std::string& line, const std::string& reason) {
    if (reason.empty())
        std::printf("ok %s\n", line.c_str());
    else
        std::printf("error %s: %s\n", line.c_str(), reason.c_str());
    std::fflush(stdout);
    if (!reason.empty()) Log(line + ": " + reason);
}

std::string UhidReader::Execute(const DeviceCommand& cmd) {
    switch (cmd.kind) {
        case CommandKind::Plug: {
            UhidIdentity id = m_keyboard ? KEYBOARD_IDENTITY : READER_IDENTITY;
            id.uniq = m_serial;
            if (!m_device.Create(id, m_keyboard
                                         ? std::span<const uint8_t>(KEYBOARD_REPORT_DESCRIPTOR)
                                         : std::span<const uint8_t>(READER_REPORT_DESCRIPTOR)))
                return m_device.Error();
            break;
        }
        case CommandKind::Unplug:
            m_pending.clear();
            if (!m_device.Destroy()) return m_device.Error();
            break;
        case CommandKind::Model:
            if (auto model = MakeModel(cmd.model))
                m_model = std::move(model);
            else
                return "unknown model \"" + cmd.model + "\"";
            break;
        case CommandKind::Delay:
            m_delayOverride = cmd.ms;
            break;
        case CommandKind::Send:
            if (!m_device.Created()) return "not plugged";
            if (!m_device.SendInput(cmd.frame.data(), cmd.frame.size())) return m_device.Error();
            break;
        case CommandKind::Sleep:
            m_sleepUntilMs = NowMs() + cmd.ms;
            break;
        case CommandKind::Frames:
            std::printf("frames %ld\n", m_outputReports);
            break;
        case CommandKind::Quit:
            m_quit = true;
            break;
    }
    return {};
}

}  // namespace e2e
