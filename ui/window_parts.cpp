#include "window_parts.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace dalvero {

namespace {

const char* const kAccessiblePrefix = "dalveroAccessiblePrefix";

} // namespace

void setAccessiblePrefix(QLabel* label, const QString& prefix) {
    label->setProperty(kAccessiblePrefix, prefix);
}

void setCaption(QLabel* label, const QString& text) {
    label->setText(text);
    const QString prefix = label->property(kAccessiblePrefix).toString();
    const QString said = label->buddy() ? withoutMnemonic(text) : text;
    if (prefix.isEmpty())
        label->setAccessibleName(said);
    else
        label->setAccessibleName(said.isEmpty() ? prefix : prefix + QStringLiteral(": ") + said);
}

QString withoutMnemonic(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

void setUpButtons(std::initializer_list<QPushButton*> buttons) {
    for (QPushButton* button : buttons) {
        button->setAutoDefault(true);
        button->setAccessibleName(withoutMnemonic(button->text()));
    }
}

void setTabChain(std::initializer_list<QWidget*> order) {
    for (auto next = order.begin(); next != order.end() && next + 1 != order.end(); ++next)
        QWidget::setTabOrder(*next, *(next + 1));
}

void centreOnScreen(QWidget* window) {
    const QScreen* shownOn = window->screen();
    if (!shownOn)
        return;
    window->resize(window->size().boundedTo(shownOn->availableGeometry().size()));
    window->move(shownOn->availableGeometry().center() - window->rect().center());
}

} // namespace dalvero
