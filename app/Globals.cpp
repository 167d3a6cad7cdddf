#include "app/Globals.h"

#include "keypad/KeyNameTable.h"

uint8_t g_bEnglish;
uint8_t g_bDeviceConnected;
uint8_t g_bDefaultsApplied;
uint8_t g_bBatchMode;
uint8_t g_bBatchDone;
uint32_t g_nBatchCount;
uint8_t g_bMultiCharSupported = 1;
uint8_t g_bKeyboardView;
uint8_t g_bAutoKeyboardConfig;
uint8_t g_bKeyboardBatch;
uint8_t g_bKeyboardBatchDone;
uint32_t g_nKeyboardBatchCount;
uint8_t g_bKeyFieldsFilled;
uint8_t g_nCurrentKey;
uint8_t g_nLastCapturedKey;
std::array<uint8_t, KEYPAD_KEY_COUNT> g_keyCodesOut = DEFAULT_KEY_CODES;
std::array<uint8_t, KEYPAD_KEY_COUNT> g_keyCodesIn = DEFAULT_KEY_CODES;

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
