#pragma once

#include "line_list_model.h"

#include <QListView>

namespace dalvero {

// A list box: entries in the order added, at most one current entry.
class LineList : public QListView {
    Q_OBJECT
public:
    explicit LineList(QWidget* parent = nullptr) : LineList(Picking::OneCurrent, parent) {}

    LineListModel& entries() { return m_model; }
    const LineListModel& entries() const { return m_model; }

    int count() const { return m_model.rowCount(); }
    QByteArray entry(int index) const { return m_model.lines().value(index); }
    const Lines& lines() const { return m_model.lines(); }
    void addLines(const Lines& lines) { m_model.append(lines); }
    void clear() { m_model.clear(); }
    void setMarks(std::vector<LineMark> marks) { m_model.setMarks(std::move(marks)); }
    LineMark mark(int index) const { return m_model.mark(index); }

    // The current entry, -1 when there is none; setting it changes no
    // selected flag.
    int listIndex() const;
    void setListIndex(int index);

protected:
    // Picked by ticks, the view keeps no selection of its own: the ticks are
    // the selection, and the current entry only where the keyboard is.
    LineList(Picking picking, QWidget* parent);

private:
    LineListModel m_model;
};

} // namespace dalvero
