#pragma once
// Conversions between the values in the XML files and the program's values, with the
// fixed length limits of the file formats.

#include <QByteArray>
#include <QString>

class TiXmlElement;
class TiXmlNode;

// The integer in attribute name: optional white space and sign, then decimal digits up
// to the first other character. No digits or a missing attribute give 0; values beyond
// the int range saturate.
int IntegerAttribute(const TiXmlElement* element, const char* name);

// The UTF-8 attribute as text of at most maxLength UTF-16 units; empty when missing.
QString TextAttribute(const TiXmlElement* element, const char* name, int maxLength);

// The element's text (its first child, when that is text), at most maxLength units.
QString ElementText(const TiXmlElement* element, int maxLength);

// The UTF-8 form of text as a C buffer of maxBytes + 1 would hold it: cut at the first
// zero character and to at most maxBytes, without splitting a sequence.
QByteArray AttributeUtf8(const QString& text, int maxBytes);

// The first child node of parent when that node is an element, else null: a list whose
// first node is text or a comment reads as empty.
const TiXmlElement* FirstNodeAsElement(const TiXmlNode* parent);
