#pragma once
// Where the reader settings live in the general settings view: the edit of
// each field index, the box of each switch, the format radio buttons, and
// reading the view into the settings model.

#include <cstdint>
#include <string>

#include "app/TextPair.h"
#include "device/HidLink.h"
#include "reader/SendRule.h"
#include "reader/SettingsFrame.h"
#include "toolkit/DialogSurface.h"

namespace reader {

// Edit control of field index 1..9.
int FieldEdit(int index);
// Check box of a switch.
int SwitchBox(Switch s);
// Check box of ID-card symbol field 7, 8 or 9.
int IdSymbolBox(int index);
// Radio button of format 1..FORMAT_COUNT.
int FormatRadio(int format);

// The view's settings, without keys; texts are converted to GBK.
Settings ReadSettingsControls(const tk::DialogSurface& ui);

// A missing answer with the "Computer slow" box unticked: says so in a
// message box and ticks the box, so that the next attempt waits for a second
// answer. Does nothing when the box is ticked already.
void OfferComputerSlow(tk::DialogSurface& ui, const TextPair& text);

// Number of answers an exchange reads now: two while "Computer slow" is ticked.
int AnswerReads(const tk::DialogSurface& ui);

// The GBK bytes of a field's text (UTF-8, as the edit shows it) in *gbk when
// it may be sent (reader/SendRule.h); otherwise the message that says which
// character of the named field cannot (or that the system has no GBK
// conversion), in the current language.
std::string RefusalOf(const std::string& utf8, const std::string& fieldName, FieldKind kind,
                      std::string* gbk);

// "Batch set first  00001  successful!": the count in five digits (modulo 100000).
std::string BatchLine(uint32_t count);

}  // namespace reader
