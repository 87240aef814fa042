#include "pigeon_list.h"

#include <QKeyEvent>

namespace dalvero {

PigeonList::PigeonList(QWidget* parent) : LineList(Picking::Ticks, parent) {
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { entries().toggle(index.row()); });
}

void PigeonList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        entries().toggle(listIndex());
        return;
    }
    LineList::keyPressEvent(event);
}

} // namespace dalvero
