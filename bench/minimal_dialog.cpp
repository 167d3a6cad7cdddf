// The reference for the start-up benchmark: the smallest Qt dialog program,
// built and set up as reader-config is (same flags, same application
// settings), showing one dialog with one label.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/FirstPaint.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minimal-dialog"));
    QApplication::setApplicationVersion(QStringLiteral(READER_CONFIG_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.reader_config.MinimalDialog"));
    QApplication::setWindowIcon(tk::AppIcon());

    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Hello")));
    if (qEnvironmentVariableIsSet("READER_CONFIG_EXIT_WHEN_SHOWN")) {
        tk::AfterFirstPaint(&dialog, [] {
            tk::PrintShownReport();
            QCoreApplication::exit(0);
        });
    }
    dialog.exec();
    return 0;
}
