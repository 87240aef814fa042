#pragma once

#include "conversion/line_mark.h"
#include "conversion/text_rules.h"

#include <QAbstractListModel>

#include <vector>

namespace dalvero {

// How the user picks entries in a list: a list box has one current entry;
// the pigeon list has a tick on every entry, any number of them set.
enum class Picking { OneCurrent, Ticks };

// The entries of a list box, kept as the bytes they came from and shown
// through the byte-to-character mapping, so that they go back out unchanged.
// Every entry carries a selected flag; only a list picked by ticks shows it,
// as the entry's tick.
class LineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LineListModel(Picking picking, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const Lines& lines() const { return m_lines; }
    // Appends `lines` at the end, not selected and without a mark.
    void append(const Lines& lines);
    void clear();
    // One mark for each entry, in list order, shown as a tint, a tooltip and
    // in the entry's accessible text; the entries themselves do not change.
    void setMarks(std::vector<LineMark> marks);
    LineMark mark(int row) const;

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    void toggle(int row);
    void selectAll();
    // One flag per entry, in list order.
    const std::vector<bool>& selection() const { return m_selected; }
    void setSelection(const std::vector<bool>& flags);

private:
    void selectionChanged(int first, int last);

    Lines m_lines;
    std::vector<bool> m_selected;
    std::vector<LineMark> m_marks; // empty, or one for each entry
    Picking m_picking;
};

} // namespace dalvero
