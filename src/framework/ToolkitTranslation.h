#pragma once
// The toolkit's own texts (names of keys, the buttons of standard boxes, the edit menus of
// text fields) in the language of the program, from the toolkit's installed translations.

#include <QString>
#include <QTranslator>

#include <memory>

class ToolkitTranslation
{
public:
    ToolkitTranslation() = default;
    ~ToolkitTranslation();
    ToolkitTranslation(const ToolkitTranslation&) = delete;
    ToolkitTranslation& operator=(const ToolkitTranslation&) = delete;

    // Switches to the translation for localeCode ("de", "pt_BR"); without one, the
    // toolkit's English stays.
    void Use(const QString& localeCode);

private:
    void Remove();

    QString code;
    std::unique_ptr<QTranslator> translator;
};
