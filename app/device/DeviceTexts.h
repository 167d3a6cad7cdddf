#pragma once
// Messages of device arrival and removal, and of a reader that may not be
// opened.

#include "app/TextPair.h"

namespace devicetexts {

inline constexpr TextPair CONNECTED{"已连接设备！", "Connected device!"};
inline constexpr TextPair REMOVED{"未连接设备！", "Remove device!"};

// Several readers attached: the device the dialog talks to, in the top row
// ("当前设备：/dev/hidraw3，序列号 A1（共 2 个）"), and the device menu.
inline constexpr TextPair CURRENT_DEVICE{"当前设备：", "Device: "};
inline constexpr TextPair DEVICE_SERIAL{"，序列号 ", ", serial "};
inline constexpr TextPair DEVICE_COUNT_HEAD{"（共 ", " ("};
inline constexpr TextPair DEVICE_COUNT_TAIL{" 个）", " attached)"};
inline constexpr TextPair DEVICE_MENU{"选择设备", "Choose device"};
inline constexpr TextPair DEVICE_LINE_NAME{"当前设备", "Current device"};  // for screen readers

// Linux gives hidraw nodes to root only. The commands are whole, so that a
// user without the source tree (a package install) can paste them as they are.
// clang-format off
#define READER_CONFIG_APPLY_RULES \
    "sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw --action=change"
// The udev rule is the one in packaging/70-reader-config.rules.
inline constexpr TextPair ACCESS_DENIED_NO_RULE{
    "发现读卡器，但没有权限打开它：udev 规则 70-reader-config.rules 未安装。"
    "请安装 reader-config 软件包，或执行："
    "echo 'SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"016c\", ATTRS{idProduct}==\"04f3\", TAG+=\"uaccess\"' "
    "| sudo tee /etc/udev/rules.d/70-reader-config.rules && " READER_CONFIG_APPLY_RULES,
    "A card reader was found but access to it was denied: the udev rule 70-reader-config.rules "
    "is not installed. Install the reader-config package, or run: "
    "echo 'SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"016c\", ATTRS{idProduct}==\"04f3\", TAG+=\"uaccess\"' "
    "| sudo tee /etc/udev/rules.d/70-reader-config.rules && " READER_CONFIG_APPLY_RULES};
inline constexpr TextPair ACCESS_DENIED_RULE_NOT_APPLIED{
    "发现读卡器，但没有权限打开它：udev 规则已安装，但尚未应用到这个读卡器。"
    "请执行：" READER_CONFIG_APPLY_RULES "，或重新插入读卡器。",
    "A card reader was found but access to it was denied: the udev rule is installed but has not "
    "been applied to this reader yet. Run: " READER_CONFIG_APPLY_RULES
    ", or plug the reader in again."};
// uaccess hands the node to the user of the active session at the local
// seat only; anyone else (SSH, a second session) needs a group.
inline constexpr TextPair ACCESS_DENIED_NOT_LOCAL_SEAT{
    "发现读卡器，但没有权限打开它：udev 规则已应用，但它只允许本机屏幕前当前登录的用户使用读卡器。"
    "远程（SSH）或其他会话的用户请通过 plugdev 组获得权限："
    "echo 'SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"016c\", ATTRS{idProduct}==\"04f3\", GROUP=\"plugdev\", MODE=\"0660\"' "
    "| sudo tee /etc/udev/rules.d/71-reader-config-group.rules && sudo usermod -aG plugdev $USER && "
    READER_CONFIG_APPLY_RULES "，然后重新登录。",
    "A card reader was found but access to it was denied: the udev rule is applied, but it gives "
    "the reader only to the user logged in at this computer's own screen. For a remote (SSH) or "
    "other session, grant access through the plugdev group: "
    "echo 'SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"016c\", ATTRS{idProduct}==\"04f3\", GROUP=\"plugdev\", MODE=\"0660\"' "
    "| sudo tee /etc/udev/rules.d/71-reader-config-group.rules && sudo usermod -aG plugdev $USER && "
    READER_CONFIG_APPLY_RULES ", then log in again."};
#undef READER_CONFIG_APPLY_RULES
// clang-format on

}  // namespace devicetexts
