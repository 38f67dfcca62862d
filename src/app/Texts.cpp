#include "Texts.h"

#include "AccessTexts.h"
#include "LanguagePack.h"

bool Texts::Load(QWidget* owner, QString& language)
{
    Clear();
    if (!LoadLanguagePack(owner, language, strings))
        return false;
    toolkit.Use(LocaleCode());
    return LoadChannelCatalogue(language, names, descriptions);
}

void Texts::Reload(QWidget* owner, QString& language)
{
    Clear();
    LoadLanguagePack(owner, language, strings);
    toolkit.Use(LocaleCode());
    LoadChannelCatalogue(language, names, descriptions);
    emit Changed();
}

QString Texts::LocaleCode() const
{
    return strings[Locale].value(::LocaleCode);
}

void Texts::Clear()
{
    strings.Clear();
    for (auto& list : names)
        list.clear();
    for (auto& list : descriptions)
        list.clear();
}
