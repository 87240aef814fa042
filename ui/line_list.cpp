#include "line_list.h"

namespace dalvero {

LineList::LineList(Picking picking, QWidget* parent) : QListView(parent), m_model(picking) {
    setModel(&m_model);
    // Every row is one line of text: the view then need not measure 32,767
    // rows one by one.
    setUniformItemSizes(true);
    setSelectionMode(picking == Picking::Ticks ? QAbstractItemView::NoSelection
                                               : QAbstractItemView::SingleSelection);
}

int LineList::listIndex() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void LineList::setListIndex(int index) {
    selectionModel()->setCurrentIndex(m_model.index(index), QItemSelectionModel::NoUpdate);
}

} // namespace dalvero
