// A panel: a button-face area with a one-pixel lowered bevel that holds other controls.
#pragma once

#include <QFrame>

class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent);
};
