#pragma once

#include "line_list.h"

namespace dalvero {

// The pigeon list: any number of entries selected, shown ticked. A click or
// Space toggles the one entry and leaves the others as they are.
class PigeonList : public LineList {
    Q_OBJECT
public:
    explicit PigeonList(QWidget* parent = nullptr);

    bool isSelected(int index) const { return entries().isSelected(index); }
    void setSelected(int index, bool selected) { entries().setSelected(index, selected); }
    void selectAll() { entries().selectAll(); }
    const std::vector<bool>& selection() const { return entries().selection(); }
    void setSelection(const std::vector<bool>& flags) { entries().setSelection(flags); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace dalvero
