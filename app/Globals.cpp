#include "app/Globals.h"

#include "keypad/KeyNameTable.h"

thread_local uint8_t g_bEnglish;
thread_local uint8_t g_bDeviceConnected;
thread_local uint8_t g_bDefaultsApplied;
thread_local uint8_t g_bBatchMode;
thread_local uint8_t g_bBatchDone;
thread_local uint32_t g_nBatchCount;
thread_local uint8_t g_bMultiCharSupported = 1;
thread_local uint8_t g_bKeyboardView;
thread_local uint8_t g_bAutoKeyboardConfig;
thread_local uint8_t g_bKeyboardBatch;
thread_local uint8_t g_bKeyboardBatchDone;
thread_local uint32_t g_nKeyboardBatchCount;
thread_local uint8_t g_bKeyFieldsFilled;
thread_local uint8_t g_nCurrentKey;
thread_local uint8_t g_nLastCapturedKey;
thread_local std::array<uint8_t, KEYPAD_KEY_COUNT> g_keyCodesOut = DEFAULT_KEY_CODES;
thread_local std::array<uint8_t, KEYPAD_KEY_COUNT> g_keyCodesIn = DEFAULT_KEY_CODES;

void ResetGlobals() {
    g_bEnglish = 0;
    g_bDeviceConnected = 0;
    g_bDefaultsApplied = 0;
    g_bBatchMode = 0;
    g_bBatchDone = 0;
    g_nBatchCount = 0;
    g_bMultiCharSupported = 1;
    g_bKeyboardView = 0;
    g_bAutoKeyboardConfig = 0;
    g_bKeyboardBatch = 0;
    g_bKeyboardBatchDone = 0;
    g_nKeyboardBatchCount = 0;
    g_bKeyFieldsFilled = 0;
    g_nCurrentKey = 0;
    g_nLastCapturedKey = 0;
    g_keyCodesOut = DEFAULT_KEY_CODES;
    g_keyCodesIn = DEFAULT_KEY_CODES;
}
