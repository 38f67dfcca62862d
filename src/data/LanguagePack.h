#pragma once
// Main.xml of a language pack: the nine text groups, found by element name.

#include "LanguageStrings.h"

#include <QString>

class QWidget;

// Appends the texts of "Languages/<languageName>/Main.xml" to strings. When that file
// cannot be opened, warns once (owned by owner), switches languageName to "English" and
// reads the English pack; false only when that cannot be opened either. A pack that does
// not parse leaves every group empty and still counts as loaded.
bool LoadLanguagePack(QWidget* owner, QString& languageName, LanguageStrings& strings);
