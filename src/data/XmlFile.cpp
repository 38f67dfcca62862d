#include "XmlFile.h"

#include "PrivateFiles.h"
#include "RegularFile.h"

#include <QSaveFile>

#include <tinyxml.h>

#include <cstring>

namespace {

// The parser recurses once per element level; no file of the program nests deeper than
// three, so anything past this is damage, refused before it can exhaust the stack.
constexpr int kMaxNestingDepth = 100;
constexpr int kParserOverrun = 8; // beyond the longest UTF-8 sequence the parser may skip
// Far beyond any file of the program; a larger one is damage, not read into memory.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

bool StartsWith(const char* p, const char* prefix)
{
    return std::strncmp(p, prefix, std::strlen(prefix)) == 0;
}

const char* SkipPast(const char* p, const char* terminator)
{
    const char* found = std::strstr(p, terminator);
    return found ? found + std::strlen(terminator) : p + std::strlen(p);
}

bool IsNameStart(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Skips a start tag after its name's first character, honouring quoted attribute values.
// Sets selfClosing when the tag ends with "/>".
const char* SkipStartTag(const char* p, bool& selfClosing)
{
    char previous = 0;
    while (*p && *p != '>') {
        if (*p == '"' || *p == '\'') {
            const char* close = std::strchr(p + 1, *p);
            if (!close)
                return p + std::strlen(p);
            p = close;
        }
        previous = *p++;
    }
    selfClosing = previous == '/';
    return *p ? p + 1 : p;
}

} // namespace

int XmlNestingDepth(const char* p)
{
    int depth = 0;
    int deepest = 0;
    while (*p) {
        if (*p != '<') {
            ++p;
        } else if (StartsWith(p, "<!--")) {
            p = SkipPast(p + 4, "-->");
        } else if (StartsWith(p, "<![CDATA[")) {
            p = SkipPast(p + 9, "]]>");
        } else if (p[1] == '/') {
            depth = depth > 0 ? depth - 1 : 0;
            p = SkipPast(p + 2, ">");
        } else if (IsNameStart(p[1])) {
            bool selfClosing = false;
            p = SkipStartTag(p + 1, selfClosing);
            if (++depth > deepest)
                deepest = depth;
            if (selfClosing)
                --depth;
        } else {
            p = SkipPast(p + 1, ">");
        }
    }
    return deepest;
}

XmlReadResult ReadXmlFile(const QString& path, TiXmlDocument& document)
{
    const FileReadResult file = ReadRegularFile(path, kMaxFileBytes);
    if (file.error == FileReadError::TooLarge)
        return XmlReadResult::Malformed;
    if (file.error != FileReadError::None)
        return XmlReadResult::NotOpened;
    // The parser skips a whole UTF-8 sequence by its lead byte without looking for the end,
    // so a file ending in a lead byte would make it read past the buffer; zero bytes after
    // the text stop it.
    const QByteArray data = file.bytes + QByteArray(kParserOverrun, '\0');

    if (XmlNestingDepth(data.constData()) > kMaxNestingDepth)
        return XmlReadResult::Malformed;
    document.Parse(data.constData(), nullptr, TIXML_ENCODING_UTF8);
    if (document.Error() || !document.RootElement())
        return XmlReadResult::Malformed;
    return XmlReadResult::Parsed;
}

bool WriteXmlFile(const QString& path, const TiXmlDocument& document, XmlFileReaders readers, QString* reason)
{
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    document.Accept(&printer);

    // QSaveFile writes a temporary file beside the target, syncs it to disk and renames it
    // over the target only when everything succeeded.
    QSaveFile file(path);
    const auto fail = [&] {
        if (reason != nullptr)
            *reason = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)
        || (readers == XmlFileReaders::OwnerOnly && !file.setPermissions(kPrivateFileMode)))
        return fail();
    // commit() overlooks an error in flushing its own buffer and would rename a cut file
    // over the old one, so the data is flushed and checked here first.
    const qint64 size = static_cast<qint64>(printer.Size());
    if (file.write(printer.CStr(), size) != size || !file.flush()) {
        fail();
        file.cancelWriting();
        return false;
    }
    return file.commit() || fail();
}
