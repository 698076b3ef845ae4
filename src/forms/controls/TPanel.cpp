#include "forms/controls/TPanel.h"

#include "platform/Colour.h"

TPanel::TPanel(QWidget *parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(backgroundRole(), platform::ToQColor(platform::clBtnFace));
    setPalette(colours);
}
