#pragma once
// The main dialog over the headless toolkit, with virtual readers on a
// virtual clock: the behaviour tests' world.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"

class DialogFixture : public ::testing::Test {
  protected:
    DialogFixture();
    ~DialogFixture() override;

    // Builds the dialog and runs its start-up.
    void Start();
    // Attaches a reader before start-up (no events).
    sim::VirtualDevice& AttachBeforeStart(std::unique_ptr<sim::ReaderModel> model);

    // The output pane split into lines (without CR LF).
    std::vector<std::string> OutputLines() const;
    // The last line of the output pane.
    std::string LastLine() const;
    // The lines added since the mark.
    std::vector<std::string> LinesSince(size_t mark) const;
    size_t LineCount() const { return OutputLines().size(); }

    sim::VirtualClock clock;
    tk::HeadlessSurface ui;
    sim::VirtualHidPort port;
    std::unique_ptr<CReaderConfigDlg> dlg;
};

// "message HH:MM:SS" as AppendOutput writes it for the clock's current time.
std::string Stamped(const std::string& message, const tk::Clock& clock);
