#pragma once
// Messages of device arrival and removal.

#include "app/TextPair.h"

namespace devicetexts {

inline constexpr TextPair CONNECTED{"已连接设备！", "Connected device!"};
inline constexpr TextPair REMOVED{"未连接设备！", "Remove device!"};

}  // namespace devicetexts
