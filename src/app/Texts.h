#pragma once
// The program's texts in the viewer's language: the language pack's groups, the channel
// catalogue's names and descriptions, and the toolkit's own texts in the same language.
// Whoever shows a text reads it here and follows Changed.

#include "ChannelCatalogue.h"
#include "LanguageStrings.h"
#include "ToolkitTranslation.h"

#include <QObject>
#include <QString>

#include <string>

class QWidget;

class Texts : public QObject
{
    Q_OBJECT
public:
    // Reads the pack and the catalogue of language, which falls back to English (a box
    // owned by owner says so) when its pack cannot be read; false when neither can be.
    bool Load(QWidget* owner, QString& language);
    // The same in another language, then Changed.
    void Reload(QWidget* owner, QString& language);

    const LanguageStrings& Strings() const { return strings; }
    const ChannelLists& Names() const { return names; }
    const ChannelLists& Descriptions() const { return descriptions; }
    QString LocaleCode() const;
    std::string GuideLanguage() const { return LocaleCode().toStdString(); }

signals:
    void Changed();

private:
    void Clear();

    LanguageStrings strings;
    ToolkitTranslation toolkit; // follows strings
    ChannelLists names;
    ChannelLists descriptions;
};
