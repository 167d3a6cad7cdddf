#include "toolkit/qt/ScreenshotTour.h"

#include <QAbstractButton>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "toolkit/qt/QtSurface.h"

namespace tk {
namespace {

// Long enough for the relabelled window to be laid out and drawn, and for
// the dialog's timers (the status line's clock) to have ticked.
constexpr int SETTLE_MS = 300;

void Settle() {
    QEventLoop loop;
    QTimer::singleShot(SETTLE_MS, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

bool RunScreenshotTour(QtSurface& surface, const std::string& dir,
                       const std::vector<ScreenshotStep>& steps, std::string* error) {
    const QDir folder(QString::fromStdString(dir));
    if (!folder.mkpath(QStringLiteral("."))) {
        *error = "cannot create " + dir;
        return false;
    }
    for (const ScreenshotStep& step : steps) {
        if (step.clickId) {
            auto* button = qobject_cast<QAbstractButton*>(surface.Widget(step.clickId));
            if (!button || !button->isEnabled()) {
                *error = "no button " + std::to_string(step.clickId) + " to click";
                return false;
            }
            button->click();
        }
        if (step.menuCommand && !surface.TriggerMenuCommand(step.menuCommand)) {
            *error = "no menu command " + std::to_string(step.menuCommand);
            return false;
        }
        surface.FinishOperations();
        Settle();
        const QString path = folder.filePath(QString::fromStdString(step.file));
        const QPixmap image = step.wholeScreen && surface.Dialog()->screen()
                                  ? surface.Dialog()->screen()->grabWindow(0)
                                  : surface.Dialog()->grab();
        if (!image.save(path, "PNG")) {
            *error = "cannot write " + path.toStdString();
            return false;
        }
    }
    return true;
}

}  // namespace tk
