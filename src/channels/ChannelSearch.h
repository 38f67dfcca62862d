#pragma once
// Finds channels by part of their name, ignoring case and accents. Names are folded once
// when added, into one buffer, so that a query costs one scan of that buffer.

#include <QString>

#include <vector>

class ChannelSearch
{
public:
    void Clear();
    void Reserve(qsizetype names, qsizetype characters);
    // The entry's index is the number of names added before it.
    void Add(const QString& name);
    qsizetype Size() const { return static_cast<qsizetype>(starts.size()); }

    // The entries whose name contains query: those starting with it first, then those
    // where a word starts with it, then the rest, each in the order they were added.
    // Nothing for an empty query.
    std::vector<int> Find(const QString& query) const;

    // Lower case without accents: decomposed, combining marks dropped, case folded.
    static QString Fold(const QString& text);

private:
    int EntryAt(qsizetype offset) const;

    QString folded;           // every folded name, each followed by a zero character
    std::vector<int> starts;  // offset of each name in folded
};
