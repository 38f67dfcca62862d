#pragma once
// The search results as a flat list for a list view: the indices of the found entries,
// shown by the names the model was given, each with the detail that tells it apart (its
// number, group and playlist). Holding indices rather than items keeps a result of
// 200,000 channels as cheap as one of ten.

#include "ChannelItemDelegate.h"

#include <QAbstractListModel>
#include <QStringList>

#include <vector>

// What can be searched, by entry: the names, the channels' own numbers (empty for none)
// and the details shown beside the names.
struct SearchEntries
{
    QStringList names;
    QStringList numbers;
    QStringList details;
};

class SearchResultModel : public QAbstractListModel
{
public:
    // The detail of a result, shown after its name.
    static constexpr int DetailRole = ChannelItemDelegate::DetailRole;

    explicit SearchResultModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // entries and more must outlive the model's use of them; found indexes into entries and
    // on into more (entry entries->names.size() + k is more's k).
    void SetResults(const SearchEntries* entries, std::vector<int> found, const SearchEntries* more = nullptr);
    const std::vector<int>& Entries() const { return rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const SearchEntries* entries = nullptr;
    const SearchEntries* more = nullptr;
    std::vector<int> rows;
};
