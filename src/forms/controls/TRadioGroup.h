// A radio group: a captioned box of radio items, one of which (or none) is checked. The
// item index clamps what it is given to -1 (no item) .. the last item.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent);

    int ItemIndex() const { return buttons_.checkedId(); }
    void SetItemIndex(int index);
    int ItemCount() const { return int(buttons_.buttons().size()); }

signals:
    // The operator clicked an item (mouse, arrow keys or space).
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ArrangeButtons();

    QButtonGroup buttons_;
};
