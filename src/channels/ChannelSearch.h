#pragma once
// Finds channels by part of their name, ignoring case and accents, or by their channel
// number. Names are folded once when added, into one UTF-8 buffer, so that a query costs
// one scan of that buffer; a query that extends the previous one looks only at the
// previous matches.

#include <QByteArray>
#include <QString>

#include <vector>

class ChannelSearch
{
public:
    void Clear();
    void Reserve(qsizetype names, qsizetype characters);
    // The entry's index is the number of names added before it; number is the channel's
    // own number, if it has one.
    void Add(const QString& name, const QString& number = {});
    qsizetype Size() const { return static_cast<qsizetype>(starts.size()); }

    // The entries whose name is query or whose number is query first, then those whose
    // name starts with it, then those where a word starts with it, then the rest, each in
    // the order they were added. Nothing for an empty query.
    std::vector<int> Find(const QString& query);

private:
    enum Rank { kExact, kStartsName, kStartsWord, kInside, kNoMatch };

    Rank RankOf(int entry) const;
    qsizetype NextMatch(qsizetype from, qsizetype end) const;
    qsizetype End(int entry) const;

    QByteArray folded;        // every folded name in UTF-8, each followed by a zero byte
    std::vector<int> starts;  // offset of each name in folded
    QByteArray needle;        // the folded query being looked for
    QByteArray lastNeedle;
    std::vector<int> lastMatches; // entries whose name matches lastNeedle, in entry order
    // The folded channel numbers, each followed by a zero byte, and the entry of each by
    // its offset there, in offset order.
    QByteArray numbers;
    std::vector<std::pair<int, int>> numberEntries;
    std::vector<int> NumberMatches() const;
};
