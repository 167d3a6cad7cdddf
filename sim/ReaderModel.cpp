#include "sim/ReaderModel.h"

namespace sim {

std::vector<Frame> AckingModel::OnFrame(const Frame& in) {
    Frame answer = in;
    answer[2] = 'Y';
    return {answer};
}

}  // namespace sim
