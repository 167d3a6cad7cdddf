#pragma once
// Texts of the profile and batch log entries of the window's own menu.

#include "app/TextPair.h"

namespace profile_texts {

inline constexpr TextPair SAVE_PROFILE_ENTRY{"保存配置文件...", "Save profile..."};
inline constexpr TextPair LOAD_PROFILE_ENTRY{"载入配置文件...", "Load profile..."};
inline constexpr TextPair SAVE_BATCH_LOG_ENTRY{"保存批量记录...", "Save batch log..."};
inline constexpr TextPair PROFILE_FILTER{"配置文件", "Profiles"};
inline constexpr TextPair CSV_FILTER{"CSV 文件", "CSV files"};
inline constexpr TextPair PROFILE_SAVED{"配置文件已保存：", "Profile saved: "};
inline constexpr TextPair PROFILE_LOADED{"已载入配置文件：", "Profile loaded: "};
inline constexpr TextPair BATCH_LOG_SAVED{"批量记录已保存：", "Batch log saved: "};
inline constexpr TextPair FILE_ERROR_CAPTION{"错误提示", "Error message"};
inline constexpr TextPair CANNOT_WRITE{"无法写入文件：", "Cannot write the file: "};
inline constexpr TextPair CANNOT_READ{"无法读取文件：", "Cannot read the file: "};
inline constexpr TextPair NOT_A_PROFILE{"不是有效的配置文件，未做任何更改：",
                                        "Not a valid profile; nothing was changed: "};
inline constexpr TextPair STOP_BATCH_FIRST{"批量设置进行中，请先停止批量设置。",
                                           "Batch mode is running; stop it first."};

}  // namespace profile_texts
