#pragma once
// The search results as a flat list for a list view: the indices of the found entries,
// shown by the names the model was given. Holding indices rather than items keeps a
// result of 200,000 channels as cheap as one of ten.

#include <QAbstractListModel>
#include <QStringList>

#include <vector>

class SearchResultModel : public QAbstractListModel
{
public:
    explicit SearchResultModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // names must outlive the model's use of them; entries index into it.
    void SetResults(const QStringList* names, std::vector<int> entries);
    const std::vector<int>& Entries() const { return rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const QStringList* names = nullptr;
    std::vector<int> rows;
};
