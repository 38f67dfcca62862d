#include "ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ToolkitTranslation::~ToolkitTranslation()
{
    Remove();
}

void ToolkitTranslation::Use(const QString& localeCode)
{
    if (localeCode == code)
        return;
    Remove();
    code = localeCode;
    auto loaded = std::make_unique<QTranslator>();
    if (!loaded->load(QStringLiteral("qtbase_") + localeCode, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    translator = std::move(loaded);
    QCoreApplication::installTranslator(translator.get());
}

void ToolkitTranslation::Remove()
{
    if (translator != nullptr && QCoreApplication::instance() != nullptr)
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}
