#include "forms/controls/TRadioGroup.h"

#include <QFontMetrics>
#include <QRadioButton>

#include <algorithm>

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent) {
    for (int i = 0; i < items.size(); ++i)
        buttons_.addButton(new QRadioButton(items[i], this), i);
    connect(&buttons_, &QButtonGroup::idClicked, this, &TRadioGroup::Click);
}

void TRadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, ItemCount() - 1);
    // An exclusive group refuses to uncheck its last checked item.
    buttons_.setExclusive(false);
    for (QAbstractButton *button : buttons_.buttons())
        button->setChecked(buttons_.id(button) == index);
    buttons_.setExclusive(true);
}

void TRadioGroup::resizeEvent(QResizeEvent *event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

// One column of equal rows below the caption line, 8 pixels in from the left edge.
void TRadioGroup::ArrangeButtons() {
    const auto items = buttons_.buttons();
    if (items.isEmpty())
        return;
    const int textHeight = QFontMetrics(font()).height();
    const int space = height() - textHeight - 5;
    const int rowHeight = space / int(items.size());
    const int topMargin = textHeight + 1 + (space % int(items.size())) / 2;
    for (QAbstractButton *button : items)
        button->setGeometry(8, buttons_.id(button) * rowHeight + topMargin, width() - 10,
                            rowHeight);
}
