#pragma once
// English texts of the groups that packs made before those groups existed may lack.

#include "LanguageStrings.h"

#include <QStringList>

// The built-in English entries of group, in pack order; empty for the groups every pack
// must carry itself.
const QStringList& BuiltinTexts(LanguageGroup group);

// Appends to list the built-in entries it lacks, so that a pack with fewer entries than
// this program knows keeps its own translations and gets English for the rest.
void CompleteWithBuiltinTexts(LanguageGroup group, QStringList& list);
