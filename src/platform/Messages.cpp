#include "Messages.h"

#include "Application.h"
#include "Service.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

class QtMessages final : public Messages {
public:
    void show(MessageKind kind, const QString &caption, const QString &text) override {
        const auto icon = kind == MessageKind::Information ? QMessageBox::Information
                          : kind == MessageKind::Error     ? QMessageBox::Critical
                                                           : QMessageBox::NoIcon;
        QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
    bool ask(const QString &caption, const QString &text, bool yesIsDefault) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton,
                        QApplication::activeWindow());
        QPushButton *yes = box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
        box.setDefaultButton(yesIsDefault ? yes : no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
};

} // namespace

Messages &Messages::real() {
    static QtMessages messages;
    return messages;
}

void ShowMessage(MessageKind kind, const QString &text) {
    Service<Messages>::get().show(kind, ApplicationTitle(), text);
}

bool Ask(const QString &text, bool yesIsDefault) {
    return Service<Messages>::get().ask(ApplicationTitle(), text, yesIsDefault);
}

} // namespace platform
