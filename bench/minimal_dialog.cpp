// The references for the start-up benchmark: the smallest Qt dialog program,
// built and set up as reader-config is (same flags, same application
// settings), showing one dialog with one label. With --cjk the label is
// Chinese and the application font is the tool's dialog font, as in the
// tool; without, it is the Latin "Hello" in Qt's default font. With
// --captions it shows every caption of the tool's control table as a plain
// label where the control would be, in a window of the tool's size: the
// same glyphs and the same window to paint, without the controls.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/ControlTable.h"
#include "app/keypad/ViewSets.h"
#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/ControlBuilder.h"
#include "toolkit/qt/DialogUnits.h"
#include "toolkit/qt/FirstPaint.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minimal-dialog"));
    QApplication::setApplicationVersion(QStringLiteral(READER_CONFIG_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.reader_config.MinimalDialog"));
    QApplication::setWindowIcon(tk::AppIcon());
    const bool captions = argc > 1 && std::strcmp(argv[1], "--captions") == 0;
    const bool cjk = captions || (argc > 1 && std::strcmp(argv[1], "--cjk") == 0);
    if (cjk) QApplication::setFont(tk::DialogFont());

    QDialog dialog;
    if (captions) {
        const tk::DialogSpec& def = app::MainDialogSpec();
        const tk::BaseUnits units = tk::BaseUnitsOf(QApplication::font());
        dialog.setFixedSize(tk::ToPixels({0, 0, def.size.width, def.size.height}, units).size());
        for (const tk::ControlSpec& c : def.controls) {
            const std::vector<int>& hidden = KeyboardViewControls();
            // The tool starts in the general view.
            if (c.caption.empty() || std::find(hidden.begin(), hidden.end(), c.id) != hidden.end())
                continue;
            auto* label = new QLabel(tk::DisplayCaption(c.caption, c.kind), &dialog);
            label->setGeometry(tk::ToPixels(c.rect, units));
        }
    } else {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(cjk ? QStringLiteral("设置设备") : QStringLiteral("Hello")));
    }
    if (qEnvironmentVariableIsSet("READER_CONFIG_EXIT_WHEN_SHOWN")) {
        tk::AfterFirstPaint(&dialog, [] {
            tk::PrintShownReport();
            QCoreApplication::exit(0);
        });
    }
    dialog.exec();
    return 0;
}
