#include "line_list_model.h"

#include "line_marks.h"

#include <algorithm>

namespace dalvero {

namespace {
// Far more than a row can show. The view measures and elides the whole text
// on every paint, so a line of a megabyte would hold the window for a second
// each time; the entry itself keeps every byte.
constexpr qsizetype kShownCharacters = 4096;
} // namespace

LineListModel::LineListModel(Picking picking, QObject* parent)
    : QAbstractListModel(parent), m_picking(picking) {}

int LineListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return toDisplay(m_lines.at(index.row()).left(kShownCharacters));
    case Qt::AccessibleTextRole: {
        const QString line = toDisplay(m_lines.at(index.row()).left(kShownCharacters));
        const QString said = markText(mark(index.row()));
        return said.isEmpty() ? line : line + QStringLiteral(", ") + said;
    }
    case Qt::ToolTipRole: {
        const QString said = markText(mark(index.row()));
        return said.isEmpty() ? QVariant() : QVariant(said);
    }
    case Qt::BackgroundRole: {
        const LineMark shown = mark(index.row());
        return shown == LineMark::None ? QVariant() : QVariant(markBrush(shown));
    }
    case Qt::CheckStateRole:
        if (m_picking == Picking::Ticks)
            return m_selected[index.row()] ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

void LineListModel::append(const Lines& lines) {
    if (lines.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(lines.size()) - 1);
    m_lines.append(lines);
    m_selected.resize(m_lines.size(), false);
    if (!m_marks.empty())
        m_marks.resize(m_lines.size(), LineMark::None);
    endInsertRows();
}

void LineListModel::clear() {
    if (m_lines.isEmpty())
        return;
    beginResetModel();
    m_lines.clear();
    m_selected.clear();
    m_marks.clear();
    endResetModel();
}

void LineListModel::setMarks(std::vector<LineMark> marks) {
    marks.resize(m_lines.size(), LineMark::None);
    m_marks = std::move(marks);
    if (!m_lines.isEmpty())
        emit dataChanged(index(0), index(rowCount() - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole, Qt::AccessibleTextRole});
}

LineMark LineListModel::mark(int row) const {
    return row >= 0 && static_cast<size_t>(row) < m_marks.size() ? m_marks[row] : LineMark::None;
}

bool LineListModel::isSelected(int row) const {
    return row >= 0 && row < rowCount() && m_selected[row];
}

void LineListModel::setSelected(int row, bool selected) {
    if (row < 0 || row >= rowCount() || m_selected[row] == selected)
        return;
    m_selected[row] = selected;
    selectionChanged(row, row);
}

void LineListModel::toggle(int row) {
    if (row >= 0 && row < rowCount())
        setSelected(row, !m_selected[row]);
}

void LineListModel::selectAll() {
    setSelection(std::vector<bool>(m_lines.size(), true));
}

void LineListModel::setSelection(const std::vector<bool>& flags) {
    if (flags.size() != m_selected.size())
        return;
    m_selected = flags;
    if (!m_selected.empty())
        selectionChanged(0, rowCount() - 1);
}

void LineListModel::selectionChanged(int first, int last) {
    if (m_picking == Picking::Ticks)
        emit dataChanged(index(first), index(last), {Qt::CheckStateRole});
}

} // namespace dalvero
