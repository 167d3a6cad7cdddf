#pragma once
// The dialog's modes and counters. Each is written by the one operation that
// owns it and read directly by the others. ResetGlobals puts them into their
// program-start state; the dialog's constructor calls it, so every dialog
// (and every test) starts as the program does. They belong to the one dialog
// of the window's one thread; the command line and the parallel batch keep
// theirs in their own reader sessions.

#include <array>
#include <cstdint>

#include "keypad/KeyCount.h"

extern uint8_t g_bEnglish;              // UI language: 0 Chinese, 1 English
extern uint8_t g_bDeviceConnected;      // last reported presence of the reader
extern uint8_t g_bDefaultsApplied;      // Default Setting has run once
extern uint8_t g_bBatchMode;            // reader batch mode runs
extern uint8_t g_bBatchDone;            // the attached reader has been configured in batch mode
extern uint32_t g_nBatchCount;          // readers configured in this batch run
extern uint8_t g_bMultiCharSupported;   // the reader stores long texts; starts at 1
extern uint8_t g_bKeyboardView;         // the keyboard settings view is shown
extern uint8_t g_bAutoKeyboardConfig;   // Set Device also configures the keypad
extern uint8_t g_bKeyboardBatch;        // keypad batch mode runs
extern uint8_t g_bKeyboardBatchDone;    // the attached keypad has been configured in batch mode
extern uint32_t g_nKeyboardBatchCount;  // keypads configured in this batch run
extern uint8_t g_bKeyFieldsFilled;      // the key fields have been filled by reading or restoring
extern uint8_t g_nCurrentKey;           // 1..20 key field with focus, 255 output pane, 0 none yet
extern uint8_t g_nLastCapturedKey;      // key field that the last capture wrote into

extern std::array<uint8_t, KEYPAD_KEY_COUNT> g_keyCodesOut;  // codes to write to the keypad
extern std::array<uint8_t, KEYPAD_KEY_COUNT> g_keyCodesIn;   // codes read from the keypad

void ResetGlobals();
