#pragma once
// The application icon: a card reader with a card, drawn from the SVG in the
// resources at every size a window system asks for.

#include <QIcon>

namespace tk {

QIcon AppIcon();

}  // namespace tk
