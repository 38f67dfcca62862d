#pragma once
// Reading and writing the program's XML files. Files are read as raw bytes and parsed as
// UTF-8; they are written atomically so that a failed save never damages the old file.

#include <QString>

class TiXmlDocument;

enum class XmlReadResult {
    NotOpened,  // missing or unreadable
    Malformed,  // opened, but not a document with a root element
    Parsed,
};

XmlReadResult ReadXmlFile(const QString& path, TiXmlDocument& document);

// Prints with four-space indentation and CR LF line ends. On any failure the file at
// path keeps its previous contents and false is returned.
bool WriteXmlFile(const QString& path, const TiXmlDocument& document);

// Deepest element nesting the parser could reach in data, counted generously; used to
// refuse documents that would exhaust the stack of the recursive parser.
int XmlNestingDepth(const char* data);
