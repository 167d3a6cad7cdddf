#pragma once
// The dialog in its keyboard settings view, with virtual keypads and readers,
// and a count of the reports read per exchange.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"
#include "sim/KeypadModel.h"
#include "support/DialogFixture.h"

// Counts the reads the link made, answered or not.
class ReadCounter : public dev::ReportTracer {
  public:
    void OnReportWritten(const std::string&, const uint8_t*, size_t) override {}
    void OnReportRead(const std::string&, const uint8_t*, size_t) override { ++reads; }
    void OnReadTimeout(const std::string&) override { ++reads; }
    int reads = 0;
};

class KeypadFixture : public DialogFixture {
  public:
    static std::unique_ptr<sim::KeypadModel> Keypad(const kp::KeyCodes& codes = DEFAULT_KEY_CODES) {
        return std::make_unique<sim::KeypadModel>(std::make_unique<sim::AckingModel>(), codes);
    }
    static std::unique_ptr<sim::NoKeypadModel> PlainReader() {
        return std::make_unique<sim::NoKeypadModel>(std::make_unique<sim::AckingModel>());
    }
    static sim::SettingsEchoModel::Settings ReaderSettings() {
        // Sentinels % ? ; ? + ?, tracks 1-3, CR after track 3, no filter,
        // format "1", no ID-card strings, Enter.
        return {'%', '?', ';', '?', '+', '?', '7', '1', '0', '1', 0x04, 0x04, 0x04, '1'};
    }
    static std::unique_ptr<sim::SettingsEchoModel> OlderReader() {
        return std::make_unique<sim::SettingsEchoModel>(ReaderSettings());
    }

  protected:
    // Starts with the device attached (none when model is null) and shows
    // the keyboard settings view.
    void StartInKeyboardView(std::unique_ptr<sim::ReaderModel> model) {
        if (model) device = &AttachBeforeStart(std::move(model));
        Start();
        dlg->Link().SetTracer(&counter);
        g_bKeyboardView = 1;
        dlg->ShowView(0);
    }

    // Plugs a device in after start-up and lets the link see it. No
    // device-change event is raised: tests drive arrival themselves.
    sim::VirtualDevice& Plug(std::unique_ptr<sim::ReaderModel> model) {
        device = &port.AttachQuietly(std::move(model));
        dlg->Link().CheckPresence();
        return *device;
    }
    void Unplug() {
        port.DetachQuietly(*device);
        device = nullptr;
        dlg->Link().CheckPresence();
    }

    // Whole names, as Default Config and Read Config write them.
    void SetKeyFields(const std::array<const char*, KEYPAD_KEY_COUNT>& names) {
        const uint8_t filled = g_bKeyFieldsFilled;
        g_bKeyFieldsFilled = 0;
        for (int n = 1; n <= KEYPAD_KEY_COUNT; ++n) ui.SetText(ids::KeyFieldId(n), names[n - 1]);
        g_bKeyFieldsFilled = filled;
    }
    std::vector<std::string> KeyFields() const {
        std::vector<std::string> out;
        for (int n = 1; n <= KEYPAD_KEY_COUNT; ++n) out.push_back(ui.GetText(ids::KeyFieldId(n)));
        return out;
    }

    std::vector<sim::Frame> Frames() const {
        std::vector<sim::Frame> out;
        if (device)
            for (const sim::ReceivedFrame& r : device->Received()) out.push_back(r.frame);
        return out;
    }
    // Each frame twice, as every exchange writes it.
    static std::vector<sim::Frame> Twice(std::initializer_list<sim::Frame> frames) {
        std::vector<sim::Frame> out;
        for (const sim::Frame& f : frames) out.insert(out.end(), {f, f});
        return out;
    }
    static sim::Frame KeyCodeFrame(const kp::KeyCodes& codes) {
        return kp::BuildKeyCodeFrame(codes);
    }
    static sim::Frame Query() { return kp::BuildKeypadQuery(); }
    static sim::Frame ReadRequest() { return kp::BuildReadRequest(); }

    sim::VirtualDevice* device = nullptr;
    ReadCounter counter;
};
