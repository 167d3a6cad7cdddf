// The references for the start-up benchmark: the smallest Qt dialog program,
// built and set up as reader-config is (same flags, same application
// settings), showing one dialog with one label. With --cjk the label is
// Chinese and the application font is the tool's dialog font, as in the
// tool; without, it is the Latin "Hello" in Qt's default font.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <cstring>

#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/DialogUnits.h"
#include "toolkit/qt/FirstPaint.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minimal-dialog"));
    QApplication::setApplicationVersion(QStringLiteral(READER_CONFIG_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.reader_config.MinimalDialog"));
    QApplication::setWindowIcon(tk::AppIcon());
    const bool cjk = argc > 1 && std::strcmp(argv[1], "--cjk") == 0;
    if (cjk) QApplication::setFont(tk::DialogFont());

    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(cjk ? QStringLiteral("设置设备") : QStringLiteral("Hello")));
    if (qEnvironmentVariableIsSet("READER_CONFIG_EXIT_WHEN_SHOWN")) {
        tk::AfterFirstPaint(&dialog, [] {
            tk::PrintShownReport();
            QCoreApplication::exit(0);
        });
    }
    dialog.exec();
    return 0;
}
