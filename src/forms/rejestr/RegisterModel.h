// The register's plates as a table view shows them, newest first, read from the register a
// page at a time as the view scrolls: a register of any size costs a few pages of memory.
#pragma once

#include "register/PlateRegister.h"

#include <QAbstractTableModel>

#include <list>
#include <map>

class TRegisterModel final : public QAbstractTableModel {
public:
    enum Column { Data, Marka, Model, Nadwozie, Wyroznik, Pozycja, Drukarka, ColumnCount };

    explicit TRegisterModel(TRegisterReader &reader, QObject *parent = nullptr);

    const TRegisterFilter &Filter() const { return filter_; }
    void SetFilter(const TRegisterFilter &filter);
    // The plate of a row; none past the end.
    std::optional<TRegisterEntry> Entry(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int PageRows = 200;
    static constexpr std::size_t KeptPages = 8;

private:
    const std::vector<TRegisterEntry> &PageOf(int row) const;

    TRegisterReader &reader_;
    TRegisterFilter filter_;
    int count_ = 0;
    // The pages read lately, the latest first.
    mutable std::map<int, std::vector<TRegisterEntry>> pages_;
    mutable std::list<int> used_;
};
