#include "StreamTable.h"

#include "CBlowfish.h"
#include "StreamTableData.h"

#include <cstring>

namespace {

constexpr unsigned char kStreamKey[] = {'w', '4', 'k', 'p', '9', 'z'};

// Far larger than any entry; lives on the stack of the call.
constexpr std::size_t kPlaintextCapacity = 64 * 1024;

} // namespace

int StreamTableCount(int sectionNumber)
{
    if (sectionNumber < 1 || sectionNumber > kSectionCount)
        return 0;
    return static_cast<int>(kStreamSections[sectionNumber - 1].count);
}

const StreamEntry* FindStreamEntry(ChannelId id)
{
    const int position = ChannelPosition(id);
    if (position >= StreamTableCount(SectionNumber(id)))
        return nullptr;
    return kStreamSections[SectionIndex(id)].entries[position];
}

std::optional<QString> DecryptStreamEntry(const StreamEntry& entry)
{
    if (entry.length > kPlaintextCapacity)
        return std::nullopt;
    const std::size_t decrypted = entry.length - entry.length % 8;

    CBlowfish cipher;
    cipher.Initialize(kStreamKey, sizeof kStreamKey);
    unsigned char plaintext[kPlaintextCapacity];
    cipher.DecryptBuffer(entry.ciphertext, plaintext, decrypted);
    return StreamAddressFromPlaintext(plaintext, decrypted);
}

std::optional<QString> StreamAddressFromPlaintext(const unsigned char* plaintext, std::size_t length)
{
    const void* zero = std::memchr(plaintext, 0, length);
    if (!zero)
        return std::nullopt;
    const auto textLength = static_cast<const unsigned char*>(zero) - plaintext;
    QString address = QString::fromUtf8(reinterpret_cast<const char*>(plaintext), textLength);
    if (address.size() > kMaxStreamAddressUnits)
        return std::nullopt;

    qsizetype end = address.size();
    while (end > 0 && address.at(end - 1).isSpace())
        --end;
    address.truncate(end);
    return address;
}

std::optional<QString> ResolveStreamAddress(ChannelId id)
{
    const StreamEntry* entry = FindStreamEntry(id);
    if (!entry)
        return std::nullopt;
    return DecryptStreamEntry(*entry);
}
