#include "year_combo.h"

#include <QLineEdit>
#include <QScopedValueRollback>

namespace dalvero {

// The edit field of the year list; it tells the list when the user is typing.
class YearEdit : public QLineEdit {
public:
    explicit YearEdit(YearCombo* combo) : QLineEdit(combo), m_combo(combo) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QScopedValueRollback editing(m_combo->m_editing, true);
        QLineEdit::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        const QScopedValueRollback editing(m_combo->m_editing, true);
        QLineEdit::focusOutEvent(event);
    }

private:
    YearCombo* m_combo;
};

YearCombo::YearCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setLineEdit(new YearEdit(this));
    // Enter in the edit field must neither add the typed text nor complete it.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_editing)
            emit picked();
    });
}

Lines YearCombo::codes() const {
    Lines result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result << fromDisplay(itemText(i)).value_or(QByteArray());
    return result;
}

void YearCombo::addCodes(const Lines& codes) {
    if (codes.isEmpty())
        return;
    // The first entry added to an empty list would otherwise become the
    // current one and replace the edit field's text.
    const QString text = currentText();
    const int current = currentIndex();
    addItems(toDisplay(codes));
    if (current < 0) {
        setCurrentIndex(-1);
        setEditText(text);
    }
}

void YearCombo::clearAll() {
    clear();
    clearEditText();
}

} // namespace dalvero
