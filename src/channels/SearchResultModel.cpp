#include "SearchResultModel.h"

void SearchResultModel::SetResults(const SearchEntries* list, std::vector<int> found, const SearchEntries* further)
{
    beginResetModel();
    entries = list;
    more = further;
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
    int entry = rows[static_cast<std::size_t>(index.row())];
    const SearchEntries* from = entries;
    if (entry >= entries->names.size() && more != nullptr) {
        entry -= static_cast<int>(entries->names.size());
        from = more;
    }
    switch (role) {
    case Qt::DisplayRole:
        return from->names.value(entry);
    case DetailRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return from->details.value(entry);
    default:
        return {};
    }
}
