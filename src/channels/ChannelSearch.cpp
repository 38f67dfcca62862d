#include "ChannelSearch.h"

#include <algorithm>
#include <array>

namespace {
enum Rank { kStartsName, kStartsWord, kInside, kRankCount };

constexpr QChar kSeparator(u'\0');

bool IsMark(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

bool IsAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}
} // namespace

QString ChannelSearch::Fold(const QString& text)
{
    if (IsAscii(text))
        return text.toLower(); // most names: nothing to decompose
    QString decomposed = text.normalized(QString::NormalizationForm_KD);
    decomposed.removeIf(IsMark);
    return decomposed.toCaseFolded();
}

void ChannelSearch::Clear()
{
    folded.clear();
    starts.clear();
}

void ChannelSearch::Reserve(qsizetype names, qsizetype characters)
{
    starts.reserve(static_cast<std::size_t>(names));
    folded.reserve(characters + names);
}

void ChannelSearch::Add(const QString& name)
{
    starts.push_back(static_cast<int>(folded.size()));
    QString foldedName = Fold(name);
    foldedName.replace(kSeparator, QLatin1Char(' ')); // a zero inside a name must not end it
    folded += foldedName;
    folded += kSeparator;
}

int ChannelSearch::EntryAt(qsizetype offset) const
{
    const auto next = std::upper_bound(starts.begin(), starts.end(), static_cast<int>(offset));
    return static_cast<int>(next - starts.begin()) - 1;
}

std::vector<int> ChannelSearch::Find(const QString& query) const
{
    const QString needle = Fold(query).remove(kSeparator);
    if (needle.isEmpty())
        return {};
    std::array<std::vector<int>, kRankCount> ranked;
    const QStringView text(folded);
    qsizetype from = 0;
    // One pass over every occurrence; once an entry's rank is settled the scan jumps to
    // the next entry, so no name is looked at twice for a better rank than it can get.
    while ((from = text.indexOf(needle, from)) >= 0) {
        const int entry = EntryAt(from);
        const qsizetype end = entry + 1 < Size() ? starts[entry + 1] : folded.size();
        Rank rank = kInside;
        if (from == starts[entry]) {
            rank = kStartsName;
        } else {
            for (qsizetype at = from; at >= 0 && at < end; at = text.indexOf(needle, at + 1)) {
                if (!text[at - 1].isLetterOrNumber()) {
                    rank = kStartsWord;
                    break;
                }
            }
        }
        ranked[rank].push_back(entry);
        from = end;
    }
    std::vector<int> found = std::move(ranked[kStartsName]);
    for (int rank = kStartsWord; rank < kRankCount; ++rank)
        found.insert(found.end(), ranked[rank].begin(), ranked[rank].end());
    return found;
}
