#pragma once
// Files of a language pack: "Languages/" + name + "/" + file, relative to the working
// directory. A name that could reach outside Languages/ names no pack.

#include <QString>

// True when name is a single folder name: not empty, not "." or "..", no separator.
bool IsLanguageFolderName(const QString& name);

// The relative path of fileName in the pack, or an empty string for an unusable name.
QString LanguageFilePath(const QString& languageName, const QString& fileName);
