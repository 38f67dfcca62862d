#pragma once
// Text drawn in a left-to-right window keeps a right-to-left name in the order its reader
// expects: digits or Latin words at its start or end stay where the name puts them.

#include <QString>

// text embedded right-to-left when its first strong character is right-to-left; else text.
QString NaturalOrder(const QString& text);
