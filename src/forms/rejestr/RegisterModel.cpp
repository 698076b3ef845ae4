#include "RegisterModel.h"

#include "register/RegisterCsv.h"

TRegisterModel::TRegisterModel(TRegisterReader &reader, QObject *parent)
    : QAbstractTableModel(parent), reader_(reader), count_(reader.Count(filter_)) {}

void TRegisterModel::SetFilter(const TRegisterFilter &filter) {
    beginResetModel();
    filter_ = filter;
    pages_.clear();
    used_.clear();
    count_ = reader_.Count(filter_);
    endResetModel();
}

const std::vector<TRegisterEntry> &TRegisterModel::PageOf(int row) const {
    const int page = row / PageRows;
    used_.remove(page);
    used_.push_front(page);
    auto found = pages_.find(page);
    if (found == pages_.end()) {
        found = pages_.emplace(page, reader_.Rows(filter_, page * PageRows, PageRows)).first;
        if (used_.size() > KeptPages) {
            pages_.erase(used_.back());
            used_.pop_back();
        }
    }
    return found->second;
}

std::optional<TRegisterEntry> TRegisterModel::Entry(int row) const {
    if (row < 0 || row >= count_)
        return std::nullopt;
    const std::vector<TRegisterEntry> &page = PageOf(row);
    const std::size_t at = std::size_t(row % PageRows);
    return at < page.size() ? std::optional(page[at]) : std::nullopt;
}

int TRegisterModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : count_;
}

int TRegisterModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TRegisterModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const std::optional<TRegisterEntry> entry = Entry(index.row());
    if (!entry)
        return {};
    switch (index.column()) {
    case Data:
        return entry->PrintedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case Pozycja:
        return SheetPositionText(*entry);
    case Drukarka:
        return entry->Printer;
    default:
        return entry->Texts[std::size_t(index.column() - Marka)];
    }
}

QVariant TRegisterModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char *const Titles[] = {"Data",         "Marka",       "Model",   "Nr nadwozia",
                                         "Wyróżnik SKP", "Arkusz/poz.", "Drukarka"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(Titles[section]);
}
