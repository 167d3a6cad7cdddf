// No caption of the main dialog is clipped at the dialog font, in Chinese or
// in English, including the longest texts the status line and the batch
// buttons take.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/HelpTexts.h"
#include "app/keypad/ViewSets.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;

struct Caption {
    int id;
    const char* text;
};

// The captions the language switch sets, in both languages (the Chinese
// ones where they differ from the start-up captions), and the widest texts
// of the controls whose text changes at run time.
const std::vector<Caption> CHINESE = {
    {1026, "读取配置"},
    {1140, "屏蔽键盘控制键\t\t"},
    {1027, "停止批量设置"},
    {1079, "停止批量设置"},
    {1142, "2026年12月06日 05:31:36  星期三"},
    {1139, texts::KEYBOARD_TIPS.zh},
};

const std::vector<Caption> ENGLISH = {
    {1078, "Config key"},
    {1121, "Default Config"},
    {1122, "Read Config"},
    {1051, "Keyboard auto configuration"},
    {1080, "KEYBOARD"},
    {1131, "Computer slow"},
    {1140, "Shield control keys"},
    {1050, "ID card set area"},
    {1055, "Decimal output"},
    {1056, "Hexadecimal"},
    {1028, "10 decimal (4 bytes) after ID"},
    {1029, "10 decimal counter output (4 bytes) after ID"},
    {1030, "8 decimal (ID after 3 bytes)"},
    {1031, "00 + 8 decimal (ID after 3 bytes)"},
    {1032, "8 decimal (ID after 4 bytes)"},
    {1033, "8-bit decimal (8 bits) after card"},
    {1034, "5-bit decimal (5 bits) after card"},
    {1035, "After 13 decimal (ID turn 5 bytes decimal)"},
    {1036, "All 18 decimal (card number)"},
    {1037, "8 hexadecimal"},
    {1038, "8 hexadecimal reverse output"},
    {1039, "10 hexadecimal 5 bytes (hexadecimal)"},
    {1040, "2H4D + 2H4D"},
    {1047, "'=' number and character after filtering"},
    {1071, "ID card to add symbols"},
    {1042, "Middle separator:"},
    {1043, "Start separator:"},
    {1044, "End separator:"},
    {1045, "Behind the data and press enter"},
    {1057, "Magnetic card set area"},
    {1048, "SS and ES flag option"},
    {1006, "Output track option"},
    {1007, "Output CR flag option"},
    {1063, "Start"},
    {1064, "End"},
    {1065, "TRK1:"},
    {1066, "TRK2:"},
    {1067, "TRK3:"},
    {1008, "Output track 1 data"},
    {1015, "Output track 2 data"},
    {1018, "Output track 3 data"},
    {1020, "Output(CR) flag at the end of track 1"},
    {1021, "Output(CR) flag at the end of track 2"},
    {1022, "Output(CR) flag at the end of track 3"},
    {1023, "Output(CR) flag at the end of packet"},
    {1017, "EMPTY"},
    {1024, "Set Device"},
    {1025, "Default Setting"},
    {1026, "Read Device"},
    {1027, "Start batch set"},
    {1079, "Start batch set"},
    {1142, "  Septemper,30,2026 23:59:59 Wednesday"},
    {1139, texts::KEYBOARD_TIPS.en},
};

// The pixels a one-line text covers, from the top of its line: trailing
// spaces draw nothing, and a line box taller than the glyphs is no clipping.
QSize InkOfLine(const QFontMetrics& fm, const QString& text) {
    const QString shown = text.trimmed().isEmpty() ? text : text.left(text.size() - [&] {
        int n = 0;
        while (n < text.size() && text[text.size() - 1 - n].isSpace()) ++n;
        return n;
    }());
    const QRect ink = fm.boundingRect(shown);
    return {fm.horizontalAdvance(shown), fm.ascent() + std::max(ink.bottom() + 1, 0)};
}

// Why the caption does not fit its widget; empty when it fits.
std::string Clipping(QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    QSize need, room = w->size();
    if (auto* check = qobject_cast<QCheckBox*>(w); check || qobject_cast<QRadioButton*>(w)) {
        auto* button = static_cast<QAbstractButton*>(w);
        // The caption is drawn in the contents rectangle beside the indicator.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = w->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, w);
        need = QSize(InkOfLine(fm, button->text()).width(), fm.height());
        room = QSize(contents.width(), w->height());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        need = QSize(button->sizeHint().width(), fm.height());
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        need = QSize(box->minimumSizeHint().width(), fm.height());
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap())
            need = label->fontMetrics()
                       .boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text())
                       .size();
        else
            need = InkOfLine(fm, label->text());
        room = label->contentsRect().size();
    } else {
        return "";
    }
    if (need.width() <= room.width() && need.height() <= room.height()) return "";
    return "needs " + std::to_string(need.width()) + "x" + std::to_string(need.height()) +
           ", has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
}

class ClippingTest : public ::testing::Test {
  protected:
    ClippingTest() { widgettest::App(); }

    void ExpectAllFit(tk::QtSurface& ui, const char* language) {
        for (const tk::ControlSpec& s : app::MainDialogSpec().controls) {
            const std::string why = Clipping(ui.Widget(s.id));
            EXPECT_EQ(why, "") << language << " caption of " << s.id << " \"" << ui.GetText(s.id)
                               << "\"";
        }
    }
};

TEST_F(ClippingTest, ChineseCaptionsFit) {
    tk::QtSurface ui(app::MainDialogSpec());
    ExpectAllFit(ui, "start-up");
    for (const Caption& c : CHINESE) ui.SetText(c.id, c.text);
    ExpectAllFit(ui, "Chinese");
}

TEST_F(ClippingTest, EnglishCaptionsFit) {
    tk::QtSurface ui(app::MainDialogSpec());
    for (const Caption& c : ENGLISH) ui.SetText(c.id, c.text);
    ExpectAllFit(ui, "English");
}

TEST_F(ClippingTest, TooLongCaptionsAreSeen) {
    tk::QtSurface ui(app::MainDialogSpec());
    const std::string tooLong(80, 'W');
    for (int id : {IDC_TRACK1, IDC_FORMAT_FIRST, IDC_CLEAR, IDC_ID_AREA, IDC_STATUS,
                   IDC_SENTINEL_START_HEAD}) {
        ui.SetText(id, tooLong);
        EXPECT_NE(Clipping(ui.Widget(id)), "") << id;
    }
    ui.SetText(IDC_TIP_TEXT, std::string(80, 'W'));  // a word too long for a line
    EXPECT_NE(Clipping(ui.Widget(IDC_TIP_TEXT)), "");
    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "tip line\n";
    ui.SetText(IDC_TIP_TEXT, lines);  // wraps, but runs out of room
    EXPECT_NE(Clipping(ui.Widget(IDC_TIP_TEXT)), "");
}

TEST_F(ClippingTest, ControlsOfOneViewDoNotOverlap) {
    tk::QtSurface ui(app::MainDialogSpec());
    // Controls that are not frames may not cover each other, except across
    // the two views, which are never shown together.
    std::vector<const tk::ControlSpec*> controls;
    for (const tk::ControlSpec& s : app::MainDialogSpec().controls)
        if (s.kind != tk::ControlKind::GroupBox) controls.push_back(&s);
    auto viewOf = [](int id) {
        auto in = [id](const std::vector<int>& set) {
            return std::find(set.begin(), set.end(), id) != set.end();
        };
        return in(GeneralViewControls()) ? 1 : in(KeyboardViewControls()) ? 2 : 0;
    };
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const int a = controls[i]->id, b = controls[j]->id;
            const int viewA = viewOf(a), viewB = viewOf(b);
            if (viewA != 0 && viewB != 0 && viewA != viewB) continue;
            EXPECT_FALSE(ui.Widget(a)->geometry().intersects(ui.Widget(b)->geometry()))
                << a << " and " << b;
        }
}

}  // namespace
