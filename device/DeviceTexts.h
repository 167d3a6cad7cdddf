#pragma once
// Messages of device arrival and removal.

#include "app/TextPair.h"

namespace devicetexts {

inline constexpr TextPair CONNECTED{"已连接设备！", "Connected device!"};
inline constexpr TextPair REMOVED{"未连接设备！", "Remove device!"};
// Linux gives hidraw nodes to root only until the tool's udev rule is installed.
inline constexpr TextPair ACCESS_DENIED{
    "发现读卡器，但没有权限打开它。请安装 udev 规则：sudo cp 70-reader-config.rules "
    "/usr/lib/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger，"
    "然后重新插入读卡器。",
    "A card reader was found but access to it was denied. Install the udev rule: sudo cp "
    "70-reader-config.rules /usr/lib/udev/rules.d/ && sudo udevadm control --reload && sudo "
    "udevadm trigger, then plug the reader in again."};

}  // namespace devicetexts
