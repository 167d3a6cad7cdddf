// Recorded traces of whole operations, replayed: the tool must send exactly
// the recorded frames. Set RECORD_TRACES=1 to record them anew from the
// virtual readers (after a deliberate change of the wire format).

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "device/ReportTrace.h"
#include "keypad/KeyNameTable.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/ReplayHidPort.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"

using namespace ids;

namespace {

struct Scenario {
    const char* name;
    std::function<std::unique_ptr<sim::ReaderModel>()> device;
    std::function<void(tk::HeadlessSurface&)> steps;
};

std::unique_ptr<sim::ReaderModel> Reader() {
    return std::make_unique<sim::CardReaderModel>();
}
std::unique_ptr<sim::ReaderModel> Keypad() {
    return std::make_unique<sim::KeypadModel>(Reader(), DEFAULT_KEY_CODES);
}

const Scenario SCENARIOS[] = {
    {"set_device_factory", Reader, [](tk::HeadlessSurface& ui) { ui.Click(IDC_SET_DEVICE); }},
    {"set_device_long_texts", Reader,
     [](tk::HeadlessSurface& ui) {
         ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
         ui.SetChecked(IDC_MIDDLE_SEP, true);
         ui.SetText(IDC_T2_END, "?!");
         ui.Click(IDC_FORMAT_FIRST + 9);
         ui.Click(IDC_SET_DEVICE);
     }},
    {"read_device_after_set", Reader,
     [](tk::HeadlessSurface& ui) {
         ui.SetText(IDC_END_SEP_TEXT, "END");
         ui.SetChecked(IDC_END_SEP, true);
         ui.Click(IDC_SET_DEVICE);
         ui.Click(IDC_DEFAULT_SETTING);
         ui.Click(IDC_READ_DEVICE);
     }},
    {"keypad_config_and_read", Keypad,
     [](tk::HeadlessSurface& ui) {
         ui.ChooseMenu(ID_TOGGLE_VIEW);
         ui.SetText(KeyFieldId(1), "F5");
         ui.Click(IDC_CONFIG_KEY);
         ui.Click(IDC_READ_CONFIG);
     }},
};

std::string TracePath(const char* name) {
    return std::string(READER_CONFIG_TRACE_DIR) + "/" + name + ".trace";
}

std::string Record(const Scenario& s) {
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    port.AttachQuietly(s.device());
    tk::HeadlessSurface ui(app::MainDialogSpec());
    std::ostringstream out;
    dev::TraceWriter writer(out, clock);
    CReaderConfigDlg dlg(ui, port, port, clock);
    dlg.Link().SetTracer(&writer);
    dlg.OnInitDialog();
    s.steps(ui);
    return out.str();
}

class TraceReplay : public ::testing::TestWithParam<Scenario> {};

TEST_P(TraceReplay, ToolSendsTheRecordedFrames) {
    const Scenario& s = GetParam();
    const std::string path = TracePath(s.name);
    if (std::getenv("RECORD_TRACES")) {
        std::ofstream(path) << Record(s);
        GTEST_SKIP() << "recorded " << path;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << "no trace at " << path << " (record with RECORD_TRACES=1)";
    std::stringstream text;
    text << in.rdbuf();

    sim::VirtualClock clock;
    sim::ReplayHidPort replay(text.str());
    ASSERT_GT(replay.StepCount(), 0u);
    tk::HeadlessSurface ui(app::MainDialogSpec());
    CReaderConfigDlg dlg(ui, replay, replay, clock);
    dlg.OnInitDialog();
    s.steps(ui);
    EXPECT_EQ(replay.Failure(), "");
    EXPECT_TRUE(replay.Finished()) << replay.StepsPlayed() << " of " << replay.StepCount();
}

INSTANTIATE_TEST_SUITE_P(Recorded, TraceReplay, ::testing::ValuesIn(SCENARIOS),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TraceReplayFailure, DeliberatelyChangedFrameFailsReadably) {
    std::ifstream in(TracePath("set_device_factory"));
    std::stringstream text;
    text << in.rdbuf();
    sim::VirtualClock clock;
    sim::ReplayHidPort replay(text.str());
    tk::HeadlessSurface ui(app::MainDialogSpec());
    CReaderConfigDlg dlg(ui, replay, replay, clock);
    dlg.OnInitDialog();
    ui.Click(IDC_TRACK2);  // the recorded frame had track 2 on
    ui.Click(IDC_SET_DEVICE);
    EXPECT_NE(replay.Failure().find("(SetDevice): the tool sent a different frame"),
              std::string::npos)
        << replay.Failure();
    EXPECT_NE(replay.Failure().find("differs:"), std::string::npos);
}

}  // namespace
