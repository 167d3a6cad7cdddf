#include "toolkit/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace tk {

QtTranslations::~QtTranslations() {
    if (m_translator) QCoreApplication::removeTranslator(m_translator.get());
}

bool QtTranslations::Switch(const std::string& tag) {
    m_language = tag;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    const QLocale locale(QString::fromStdString(tag));
    if (locale.language() == QLocale::English || locale.language() == QLocale::C) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}

}  // namespace tk
