// The guide reader on any bytes, plain or gzip: no crash, texts within their bounds, and
// every programme it hands on has a channel.

#include "FuzzFolder.h"
#include "GuideInflater.h"
#include "XmltvReader.h"

#include <QBuffer>

namespace {

class CheckingSink : public XmltvSink
{
public:
    void Channel(XmltvChannel& channel) override
    {
        RequireInvariant(channel.names.size() <= XmltvReader::kMaxNames, "display names are bounded");
        for (const std::string& name : channel.names)
            RequireInvariant(name.size() <= XmltvReader::kMaxTextBytes, "a display name is bounded");
    }
    bool WantsProgrammesOf(const std::string& channel) override { return channel.size() % 2 == 0; }
    void Programme(XmltvProgramme& programme) override
    {
        RequireInvariant(programme.channel.size() % 2 == 0, "only programmes asked for are read");
        RequireInvariant(programme.title.size() <= XmltvReader::kMaxTextBytes, "a title is bounded");
        RequireInvariant(programme.description.size() <= XmltvReader::kMaxDescriptionBytes,
                         "a description is bounded");
    }
};

constexpr qint64 kFuzzMaxBytes = 16 * 1024 * 1024; // a bomb ends here rather than at 2 GiB

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    GuideInflater inflater(source, kFuzzMaxBytes);
    CheckingSink sink;
    XmltvReader reader(sink, "en");
    QByteArray chunk;
    bool reading = true;
    while (reading && inflater.Next(chunk))
        reading = reader.Feed(chunk.constData(), chunk.size());
    if (reading)
        reader.Finish();
    return 0;
}
