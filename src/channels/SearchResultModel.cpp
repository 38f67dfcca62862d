#include "SearchResultModel.h"

void SearchResultModel::SetResults(const SearchEntries* list, std::vector<int> found)
{
    beginResetModel();
    entries = list;
    rows = std::move(found);
    endResetModel();
}

int SearchResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const
{
    if (entries == nullptr || !index.isValid() || index.row() >= static_cast<int>(rows.size()))
        return {};
    const int entry = rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return entries->names.value(entry);
    case DetailRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return entries->details.value(entry);
    default:
        return {};
    }
}
