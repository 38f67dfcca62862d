#pragma once
// Folding text for comparison the way a viewer reads it: lower case without accents.

#include <QString>

// Decomposed, combining marks dropped, case folded. Safe on any thread.
QString FoldText(const QString& text);
