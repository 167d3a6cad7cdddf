#pragma once
// The main dialog's controls: id, kind, start-up caption, template state and
// place in dialog units. The Qt toolkit builds its widgets from this table;
// the headless toolkit keeps the same controls in memory.

#include "toolkit/ControlSpec.h"

namespace app {

// Dialog template 102: 703 x 390 dialog units, caption "USB读卡器设置", menu bar 133.
const tk::DialogSpec& MainDialogSpec();

// Radio groups.
constexpr int FORMAT_RADIO_GROUP = 1;
constexpr int LANGUAGE_RADIO_GROUP = 2;

}  // namespace app
