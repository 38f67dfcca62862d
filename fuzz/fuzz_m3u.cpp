// The M3U parser on any bytes, as a downloaded playlist and as a local file: no crash, and
// every channel it returns has an address the player would take, in lower case.

#include "FuzzFolder.h"
#include "M3uParser.h"
#include "StreamRules.h"

#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QUrl& location : {QUrl(QStringLiteral("http://127.0.0.1/lists/a.m3u")),
                                 QUrl::fromLocalFile(QStringLiteral("/lists/a.m3u"))}) {
        const M3uResult result = M3uParser(location).Parse(bytes);
        for (const PlaylistChannel& channel : result.channels) {
            RequireInvariant(!channel.address.isEmpty(), "a channel has an address");
            RequireInvariant(RefusalOf(channel.address, channel.userAgent, channel.referrer) == UnavailableReason::None,
                             "the player takes every channel");
            RequireInvariant(WithLowerCaseScheme(channel.address) == channel.address, "schemes are in lower case");
        }
    }
    return 0;
}
