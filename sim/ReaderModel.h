#pragma once
// How a virtual device answers: one 64-byte frame in, zero or more 64-byte
// answers out. Kept apart from the transport so the same model can serve the
// in-process virtual port and a kernel uhid device.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sim {

using Frame = std::array<uint8_t, 64>;

class ReaderModel {
  public:
    virtual ~ReaderModel() = default;
    virtual std::vector<Frame> OnFrame(const Frame& in) = 0;
    // Milliseconds between receiving a frame and sending its answers.
    virtual int AnswerDelayMs() const { return 5; }
};

// Acknowledges any frame: byte 2 of the answer is "Y".
class AckingModel : public ReaderModel {
  public:
    std::vector<Frame> OnFrame(const Frame& in) override;
};

// Never answers.
class SilentModel : public ReaderModel {
  public:
    std::vector<Frame> OnFrame(const Frame&) override { return {}; }
};

}  // namespace sim
