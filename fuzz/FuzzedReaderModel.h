#pragma once
// A virtual device whose answers the fuzz input decides frame by frame. It
// wraps a real reader model, which sees every frame and keeps its state, and
// then answers as that reader would, stays silent, answers late, garbles the
// answer, sends up to three frames of arbitrary bytes, or echoes the request.

#include <memory>
#include <vector>

#include "FuzzInput.h"
#include "sim/ReaderModel.h"

namespace fuzz {

class FuzzedReaderModel : public sim::ReaderModel {
  public:
    FuzzedReaderModel(FuzzInput& in, std::unique_ptr<sim::ReaderModel> real);

    std::vector<sim::Frame> OnFrame(const sim::Frame& request) override;
    // Chosen anew with every frame; all answers to one frame share it.
    int AnswerDelayMs() const override { return m_delayMs; }

  private:
    // 0 to 1530 ms: in time, late for the first of two reads, or too late.
    int Delay() { return m_in.Byte() * 6; }

    FuzzInput& m_in;
    std::unique_ptr<sim::ReaderModel> m_real;
    int m_delayMs = 0;
};

// A card reader, keypad, reader without keypad or older reader, with
// firmware and stored settings taken from the input, behind a
// FuzzedReaderModel. With the input used up: a keypad that answers properly.
std::unique_ptr<sim::ReaderModel> MakeFuzzedDevice(FuzzInput& in);

}  // namespace fuzz
