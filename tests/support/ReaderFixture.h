#pragma once
// Behaviour tests of the reader settings: the dialog with one virtual card
// reader attached at start-up, and the frames it received in readable form.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reader/SettingsFrame.h"
#include "sim/CardReaderModel.h"
#include "support/DialogFixture.h"

// Lets a test look at the dialog whenever the wrapped model receives a frame.
class WatchedModel : public sim::ReaderModel {
  public:
    WatchedModel(std::unique_ptr<sim::ReaderModel> inner, std::function<void()> onFrame)
        : m_inner(std::move(inner)), m_onFrame(std::move(onFrame)) {}
    std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
        m_onFrame();
        return m_inner->OnFrame(in);
    }
    int AnswerDelayMs() const override { return m_inner->AnswerDelayMs(); }

  private:
    std::unique_ptr<sim::ReaderModel> m_inner;
    std::function<void()> m_onFrame;
};

class ReaderFixture : public DialogFixture {
  protected:
    // Attaches a card reader and starts the dialog.
    sim::CardReaderModel& StartWithReader(
        sim::CardReaderModel::Firmware firmware = sim::CardReaderModel::Firmware::Current) {
        auto model = std::make_unique<sim::CardReaderModel>(firmware);
        reader = model.get();
        device = &AttachBeforeStart(std::move(model));
        Start();
        return *reader;
    }

    // The frames the reader received, each named by its kind: "settings",
    // "read request", "write N" and "read N" for the string frames of field
    // index N, "other".
    std::vector<std::string> WireKinds() const {
        std::vector<std::string> out;
        for (const sim::ReceivedFrame& r : device->Received()) out.push_back(KindOf(r.frame));
        return out;
    }
    // The received frames of one kind.
    std::vector<sim::Frame> FramesOf(const std::string& kind) const {
        std::vector<sim::Frame> out;
        for (const sim::ReceivedFrame& r : device->Received())
            if (KindOf(r.frame) == kind) out.push_back(r.frame);
        return out;
    }

    // A line of the output pane without its time stamp " HH:MM:SS", for
    // lines written while transfers let the virtual clock run.
    static std::string Unstamped(const std::string& line) {
        const size_t n = line.size();
        const bool stamped =
            n >= 9 && line[n - 9] == ' ' && line[n - 6] == ':' && line[n - 3] == ':';
        return stamped ? line.substr(0, n - 9) : line;
    }
    std::vector<std::string> UnstampedLinesSince(size_t mark) const {
        std::vector<std::string> lines = LinesSince(mark);
        for (std::string& l : lines) l = Unstamped(l);
        return lines;
    }

    static std::string KindOf(const sim::Frame& f) {
        if (f == reader::EncodeReadRequest()) return "read request";
        if (f[0] != 0x20) return "other";
        switch (f[1]) {
            case 0x20:
                return "settings";
            case 0xFD:
                return "write " + std::to_string(f[2]);
            case 0xFC:
                return "read " + std::to_string(f[2]);
            default:
                return "other";
        }
    }

    sim::CardReaderModel* reader = nullptr;
    sim::VirtualDevice* device = nullptr;
};
