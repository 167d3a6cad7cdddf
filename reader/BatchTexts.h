#pragma once
// Captions of the two batch buttons (1027 and 1079).

#include "app/TextPair.h"

namespace batchtexts {

inline constexpr TextPair START{"开始批量设置", "Start batch set"};
inline constexpr TextPair STOP{"停止批量设置", "Stop batch set"};

}  // namespace batchtexts
