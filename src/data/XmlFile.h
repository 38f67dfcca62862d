#pragma once
// Reading and writing the program's XML files. Files are read as raw bytes and parsed as
// UTF-8; they are written atomically so that a failed save never damages the old file.

#include <QString>

class TiXmlDocument;

enum class XmlReadResult {
    NotOpened,  // missing, unreadable, or not a regular file
    Malformed,  // opened, but not a document with a root element, or far too large
    Parsed,
};

XmlReadResult ReadXmlFile(const QString& path, TiXmlDocument& document);

enum class XmlFileReaders {
    AsBefore,  // a new file as the umask has it; a replaced one keeps its mode
    OwnerOnly, // 0600, also when it replaces a file others could read
};

// Prints with four-space indentation and CR LF line ends. On any failure the file at
// path keeps its previous contents, false is returned and reason (when given) says why.
bool WriteXmlFile(const QString& path, const TiXmlDocument& document,
                  XmlFileReaders readers = XmlFileReaders::AsBefore, QString* reason = nullptr);

// Deepest element nesting the parser could reach in data, counted generously; used to
// refuse documents that would exhaust the stack of the recursive parser.
int XmlNestingDepth(const char* data);
