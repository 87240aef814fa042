#pragma once

#include "conversion/text_rules.h"

#include <QComboBox>

namespace dalvero {

// The year list: an edit field over a drop-down list. Its click is `picked`,
// the user's pick from the drop-down or with the arrow keys. Adding and
// clearing entries raise nothing and leave the edit field's text as it was,
// and typing runs nothing: not Enter, and not leaving the field.
class YearCombo : public QComboBox {
    Q_OBJECT
public:
    explicit YearCombo(QWidget* parent = nullptr);

    Lines codes() const;
    void addCodes(const Lines& codes);
    // No year codes and nothing typed: what a new export file starts from,
    // as a code typed for the old one would pick from the new.
    void clearAll();
    // The edit field's text as bytes; empty when it holds a character that no
    // file can hold (and so matches no year code).
    std::optional<QByteArray> textBytes() const { return fromDisplay(currentText()); }

signals:
    void picked();

private:
    friend class YearEdit;
    // Set while the edit field handles a key or loses focus: QComboBox then
    // takes typed text that equals an entry for a pick, which it is not.
    bool m_editing = false;
};

} // namespace dalvero
