// The keypad through the dialog against the keypad variant made through the
// kernel: the switch to the keyboard view, Config key with a new layout, and
// Read Config bringing that layout back.

#include <array>
#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/keypad/KeyFieldNames.h"
#include "app/keypad/KeypadTexts.h"
#include "app/keypad/ViewTexts.h"
#include "base/Gbk.h"
#include "e2e/driver/DialogSession.h"
#include "e2e/driver/Scenarios.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"

using namespace ids;

namespace e2e {

namespace {

using Layout = std::array<std::string, KEYPAD_KEY_COUNT>;

// Every key changed from the factory layout: named keys, letters, digits,
// punctuation, and the two names that differ by language.
const Layout NEW_LAYOUT = {"F8", "A",   "B", "TAB",     "1",    "2", "3", "HOME", "4", "5",
                           "6",  "END", "7", "PAGE_UP", "清除", "0", "-", "8",    "9", "回车键"};

Layout Shown(const tk::HeadlessSurface& ui) {
    Layout names;
    for (int n = 1; n <= KEYPAD_KEY_COUNT; ++n)
        names[static_cast<size_t>(n - 1)] = ui.GetText(KeyFieldId(n));
    return names;
}

Layout Names(const kp::KeyCodes& codes) {
    Layout names;
    for (size_t i = 0; i < codes.size(); ++i) names[i] = tk::GbkToUtf8(KeyCodeText(codes[i]));
    return names;
}

std::string Describe(const Layout& names) {
    std::string s;
    for (const std::string& n : names) s += (s.empty() ? "" : " ") + n;
    return s;
}

// Writes whole names into the key fields, as Default Config and Read Config
// do: the fields' one-character rule is for typing.
void SetKeyFields(tk::HeadlessSurface& ui, const Layout& names) {
    const uint8_t filled = g_bKeyFieldsFilled;
    g_bKeyFieldsFilled = 0;
    for (int n = 1; n <= KEYPAD_KEY_COUNT; ++n)
        ui.SetText(KeyFieldId(n), names[static_cast<size_t>(n - 1)]);
    g_bKeyFieldsFilled = filled;
}

std::string Detail(const Step& step, bool ok, const std::string& more) {
    if (!step.done) return "could not be chosen";
    return (ok ? step.Transfers() : "said \"" + OneLine(step.added) + "\"") + "; " + more;
}

}  // namespace

void Keypad(Context& c) {
    const char* s = "keypad";
    if (!c.Prepare(s, "keypad", REALISTIC_DELAY_MS)) return;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;

    const Step view = d.Menu(ID_TOGGLE_VIEW);
    const Layout factory = Names(DEFAULT_KEY_CODES);
    const bool viewOk = view.done && OutputIs(view.added, {viewtexts::TO_KEYBOARD_OK}) &&
                        g_bKeyboardView == 1 && Shown(d.ui) == factory;
    c.results.Record(s, "switch to the keyboard view", viewOk, view.ms,
                     Detail(view, viewOk, "keys " + Describe(Shown(d.ui))));
    if (!viewOk) return;
    Context::Settle(REALISTIC_DELAY_MS);

    SetKeyFields(d.ui, NEW_LAYOUT);
    const Step config = d.Click(IDC_CONFIG_KEY);
    const bool configOk = config.done && OutputIs(config.added, {kp::texts::CONFIG_OK});
    c.results.Record(s, "Config key, new layout", configOk, config.ms,
                     Detail(config, configOk, "probe and key codes"));
    Context::Settle(REALISTIC_DELAY_MS);

    d.Click(IDC_DEFAULT_KEYS);
    if (Shown(d.ui) != factory) {
        c.results.Record(s, "Default Config", false, 0, "keys " + Describe(Shown(d.ui)));
        return;
    }
    const Step read = d.Click(IDC_READ_CONFIG);
    const bool readOk =
        read.done && OutputIs(read.added, {kp::texts::READ_OK}) && Shown(d.ui) == NEW_LAYOUT;
    c.results.Record(s, "Read Config", readOk, read.ms,
                     Detail(read, readOk, "keys " + Describe(Shown(d.ui))));
}

}  // namespace e2e
