#include "line_list.h"

namespace dalvero {

LineList::LineList(bool withSelection, QWidget* parent)
    : QListView(parent), m_model(withSelection) {
    setModel(&m_model);
    // Every row is one line of text: the view then need not measure 32,767
    // rows one by one.
    setUniformItemSizes(true);
    setSelectionMode(withSelection ? QAbstractItemView::NoSelection
                                   : QAbstractItemView::SingleSelection);
}

int LineList::listIndex() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void LineList::setListIndex(int index) {
    selectionModel()->setCurrentIndex(m_model.index(index), QItemSelectionModel::NoUpdate);
}

} // namespace dalvero
