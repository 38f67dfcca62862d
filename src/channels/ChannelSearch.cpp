#include "ChannelSearch.h"

#include "TextFold.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace {
constexpr char kSeparator = '\0';
constexpr char16_t kFirstNonAscii = 0x80;

bool IsWordCharacter(char byte)
{
    // Bytes of multi-byte characters count as letters: nearly all of them are.
    const auto u = static_cast<unsigned char>(byte);
    return u >= kFirstNonAscii || std::isalnum(u);
}
} // namespace

void ChannelSearch::Clear()
{
    folded.clear();
    starts.clear();
    lastNeedle.clear();
    lastMatches.clear();
    numbers.clear();
    numberEntries.clear();
}

void ChannelSearch::Reserve(qsizetype names, qsizetype characters)
{
    starts.reserve(static_cast<std::size_t>(names));
    folded.reserve(characters + names);
}

void ChannelSearch::Add(const QString& name, const QString& number)
{
    if (!number.isEmpty()) {
        numberEntries.emplace_back(static_cast<int>(numbers.size()), static_cast<int>(starts.size()));
        QByteArray bytes = FoldText(number.trimmed()).toUtf8();
        bytes.replace(kSeparator, ' ');
        numbers += bytes;
        numbers += kSeparator;
    }
    starts.push_back(static_cast<int>(folded.size()));
    QByteArray bytes = FoldText(name).toUtf8();
    bytes.replace(kSeparator, ' '); // a zero inside a name must not end it
    folded += bytes;
    folded += kSeparator;
    lastNeedle.clear();
}

qsizetype ChannelSearch::End(int entry) const
{
    const auto next = static_cast<std::size_t>(entry) + 1;
    return next < starts.size() ? starts[next] - 1 : folded.size() - 1; // at the separator
}

qsizetype ChannelSearch::NextMatch(qsizetype from, qsizetype end) const
{
    if (from >= end)
        return -1;
    const void* found = memmem(folded.constData() + from, static_cast<std::size_t>(end - from),
                               needle.constData(), static_cast<std::size_t>(needle.size()));
    return found != nullptr ? static_cast<const char*>(found) - folded.constData() : -1;
}

ChannelSearch::Rank ChannelSearch::RankOf(int entry) const
{
    const qsizetype start = starts[static_cast<std::size_t>(entry)];
    const qsizetype end = End(entry);
    Rank rank = kNoMatch;
    for (qsizetype at = NextMatch(start, end); at >= 0; at = NextMatch(at + 1, end)) {
        if (at == start)
            return end - start == needle.size() ? kExact : kStartsName;
        if (!IsWordCharacter(folded[at - 1]))
            return kStartsWord;
        rank = kInside;
    }
    return rank;
}

// The entries whose number is the needle: one scan of the numbers, looking for it between
// two separators.
std::vector<int> ChannelSearch::NumberMatches() const
{
    std::vector<int> found;
    const char* begin = numbers.constData();
    const auto size = static_cast<std::size_t>(numbers.size());
    const auto length = static_cast<std::size_t>(needle.size());
    for (std::size_t from = 0; from + length < size;) {
        const void* hit = memmem(begin + from, size - from, needle.constData(), length);
        if (hit == nullptr)
            break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
        if ((at == 0 || begin[at - 1] == kSeparator) && begin[at + length] == kSeparator) {
            const auto entry = std::lower_bound(numberEntries.begin(), numberEntries.end(),
                                                std::pair(static_cast<int>(at), 0));
            found.push_back(entry->second);
        }
        from = at + 1;
    }
    return found;
}

std::vector<int> ChannelSearch::Find(const QString& query)
{
    needle = FoldText(query).toUtf8();
    needle.replace(kSeparator, QByteArray());
    if (needle.isEmpty())
        return {};

    std::array<std::vector<int>, kNoMatch> ranked;
    std::vector<int> matches;
    const auto take = [&](int entry, Rank rank) {
        if (rank == kNoMatch)
            return;
        ranked[rank].push_back(entry);
        matches.push_back(entry);
    };
    if (!lastNeedle.isEmpty() && needle.contains(lastNeedle)) {
        for (int entry : lastMatches)
            take(entry, RankOf(entry));
    } else {
        // One pass over the buffer: each found occurrence settles its entry, and the scan
        // goes on after that entry's name.
        int entry = 0;
        const qsizetype size = folded.size();
        for (qsizetype at = NextMatch(0, size); at >= 0;) {
            while (static_cast<std::size_t>(entry) + 1 < starts.size() && starts[entry + 1] <= at)
                ++entry;
            take(entry, RankOf(entry));
            at = NextMatch(End(entry) + 1, size);
        }
    }
    lastNeedle = needle;
    lastMatches = std::move(matches);

    // A channel's number counts as its exact name; one found both ways is listed once.
    std::vector<int>& exact = ranked[kExact];
    for (int entry : NumberMatches()) {
        for (int rank = kStartsName; rank < kNoMatch; ++rank)
            std::erase(ranked[rank], entry);
        exact.push_back(entry);
    }
    std::sort(exact.begin(), exact.end());
    exact.erase(std::unique(exact.begin(), exact.end()), exact.end());

    std::vector<int> found = std::move(exact);
    for (int rank = kStartsName; rank < kNoMatch; ++rank)
        found.insert(found.end(), ranked[rank].begin(), ranked[rank].end());
    return found;
}
