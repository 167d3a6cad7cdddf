#pragma once
// The application icon: a card reader with a card, drawn from the SVG in the
// resources. Nothing is drawn until a window system or a dialog asks for a
// pixmap; the SVG is then rendered once, and every size is scaled from that
// image and kept.

#include <QIcon>

namespace tk {

// The one icon of the application; copies share its pixmaps.
QIcon AppIcon();

}  // namespace tk
