// The time limit of writes over a platform call that may block for seconds.

#include <gtest/gtest.h>

#include <future>

#include "device/BoundedWrite.h"

namespace {

TEST(WriteGateTest, AWriteThatCannotCompleteIsGivenUpAndHoldsTheGate) {
    dev::WriteGate gate;
    EXPECT_EQ(gate.Run([] { return true; }, 200), dev::WriteGate::Result::Written);
    EXPECT_EQ(gate.Run([] { return false; }, 200), dev::WriteGate::Result::Failed);

    // A write the kernel holds: it ends only when the test lets it.
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    EXPECT_EQ(gate.Run(
                  [released] {
                      released.wait();
                      return true;
                  },
                  1),
              dev::WriteGate::Result::TimedOut);
    EXPECT_TRUE(gate.Busy());
    bool called = false;
    EXPECT_EQ(gate.Run([&] { return called = true; }, 200), dev::WriteGate::Result::Busy);
    EXPECT_FALSE(called);

    release->set_value();
    gate.WaitIdle();
    EXPECT_FALSE(gate.Busy());
    EXPECT_EQ(gate.Run([] { return true; }, 200), dev::WriteGate::Result::Written);
}

}  // namespace
