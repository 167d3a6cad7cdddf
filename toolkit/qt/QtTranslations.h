#pragma once
// Qt's own texts (the standard buttons of message boxes, the edits' context
// menu) in the dialog's interface language, from the translations Qt ships
// (Debian package qt6-translations-l10n). Without them the texts stay English.

#include <QTranslator>
#include <memory>
#include <string>

namespace tk {

class QtTranslations {
  public:
    QtTranslations() = default;
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // tag: BCP 47, "zh-CN", "en". Qt's texts are English: English installs
    // nothing. Returns false when the language's translations are missing.
    bool Switch(const std::string& tag);
    // The language last switched to.
    const std::string& Language() const { return m_language; }

  private:
    std::string m_language = "en";
    std::unique_ptr<QTranslator> m_translator;
};

}  // namespace tk
