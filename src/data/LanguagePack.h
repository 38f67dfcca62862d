#pragma once
// Main.xml of a language pack: the text groups, found by element name.

#include "LanguageStrings.h"

#include <QString>

class QWidget;

// Appends the texts of "Languages/<languageName>/Main.xml" to strings. When that file
// cannot be opened or does not parse, warns once (owned by owner), switches languageName
// to "English" and reads the English pack; false only when that cannot be read either.
// The groups a pack may lack are completed with their built-in English entries.
bool LoadLanguagePack(QWidget* owner, QString& languageName, LanguageStrings& strings);

// The language's name in its own words, as its pack spells it; empty when the pack has none.
QString LanguageOwnName(const QString& languageName);
