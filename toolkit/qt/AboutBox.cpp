#include "toolkit/qt/AboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "toolkit/qt/AppIcon.h"

namespace tk {
namespace {

constexpr int ABOUT_POINT_SIZE = 14;
constexpr int ICON_SIZE = 48;

QLabel* Line(const std::string& text, int id) {
    auto* label = new QLabel(QString::fromStdString(text));
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QStringLiteral("ctl_%1").arg(id));
    label->setProperty("controlId", id);
    return label;
}

}  // namespace

std::unique_ptr<QDialog> MakeAboutBox(QWidget* parent, const AboutTexts& texts) {
    auto box = std::make_unique<QDialog>(parent);
    box->setWindowTitle(QString::fromStdString(texts.title));
    // The dialog's family, larger.
    QFont font = parent ? parent->font() : box->font();
    font.setPointSize(ABOUT_POINT_SIZE);
    box->setFont(font);

    auto* icon = new QLabel;
    icon->setPixmap(AppIcon().pixmap(ICON_SIZE, ICON_SIZE));
    icon->setAccessibleName(QString::fromStdString(texts.line1));
    auto* lines = new QVBoxLayout;
    lines->addWidget(Line(texts.line1, ABOUT_PRODUCT_LINE));
    lines->addWidget(Line(texts.line2, ABOUT_NOTICE_LINE));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(lines, 1);

    auto* ok = new QPushButton(QString::fromStdString(texts.okButton));
    ok->setObjectName(QStringLiteral("ctl_%1").arg(ABOUT_OK));
    ok->setProperty("controlId", ABOUT_OK);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, box.get(), &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(box.get());
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return box;
}

}  // namespace tk
