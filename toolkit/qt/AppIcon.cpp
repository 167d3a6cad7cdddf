#include "toolkit/qt/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library: nothing else references their
// registration, so the linker would drop it unless it is called by name.
static void InitReaderResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tk {

QIcon AppIcon() {
    static bool registered = (InitReaderResources(), true);
    (void)registered;
    QSvgRenderer renderer(QStringLiteral(":/icons/reader-config.svg"));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace tk
