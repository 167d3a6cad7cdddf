#include "toolkit/qt/AppIcon.h"

#include <QCoreApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <map>
#include <memory>
#include <utility>

// The resources live in a static library: nothing else references their
// registration, so the linker would drop it unless it is called by name.
static void InitReaderResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tk {
namespace {

// The largest size any window system asks for; smaller ones scale down well.
constexpr int MASTER_SIZE = 256;

// The rendered image and the pixmaps made from it, shared by every copy.
struct IconImages {
    QImage master;  // null until first needed
    std::map<std::pair<int, int>, QPixmap> pixmaps;
    bool failed = false;

    const QImage& Master() {
        if (master.isNull() && !failed) {
            static bool registered = (InitReaderResources(), true);
            (void)registered;
            QSvgRenderer renderer(QStringLiteral(":/icons/reader-config.svg"));
            failed = !renderer.isValid();
            if (!failed) {
                master = QImage(MASTER_SIZE, MASTER_SIZE, QImage::Format_ARGB32_Premultiplied);
                master.fill(Qt::transparent);
                QPainter painter(&master);
                renderer.render(&painter);
            }
        }
        return master;
    }

    QPixmap Pixmap(const QSize& size) {
        const std::pair<int, int> key{size.width(), size.height()};
        auto it = pixmaps.find(key);
        if (it != pixmaps.end()) return it->second;
        const QImage& image = Master();
        QPixmap pixmap;
        if (!image.isNull() && !size.isEmpty())
            pixmap = QPixmap::fromImage(
                image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        return pixmaps.emplace(key, pixmap).first->second;
    }
};

class LazySvgIconEngine : public QIconEngine {
  public:
    explicit LazySvgIconEngine(std::shared_ptr<IconImages> images) : m_images(std::move(images)) {}

    QIconEngine* clone() const override { return new LazySvgIconEngine(m_images); }
    QString key() const override { return QStringLiteral("reader-config-lazy-svg"); }

    // Window icons and the About box show the icon only in its normal mode.
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return m_images->Pixmap(size);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, m_images->Pixmap(rect.size()));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        // The sizes a window manager picks from for the window's icon.
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32),
                QSize(48, 48), QSize(64, 64), QSize(128, 128)};
    }

  private:
    std::shared_ptr<IconImages> m_images;
};

const std::shared_ptr<IconImages>& Images() {
    static const auto images = std::make_shared<IconImages>();
    return images;
}

}  // namespace

QIcon AppIcon() {
    // Pixmaps belong to the application: they go with it, not at exit.
    static const bool cleanup = (qAddPostRoutine([] { *Images() = IconImages(); }), true);
    (void)cleanup;
    return QIcon(new LazySvgIconEngine(Images()));
}

}  // namespace tk
