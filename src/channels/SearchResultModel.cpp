#include "SearchResultModel.h"

void SearchResultModel::SetResults(const QStringList* names, std::vector<int> entries)
{
    beginResetModel();
    this->names = names;
    rows = std::move(entries);
    endResetModel();
}

int SearchResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || names == nullptr || !index.isValid()
        || index.row() >= static_cast<int>(rows.size()))
        return {};
    return names->value(rows[static_cast<std::size_t>(index.row())]);
}
