#include "Messages.h"

#include "Application.h"
#include "Service.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {

class QtMessages final : public Messages {
public:
    void show(MessageKind kind, const QString &caption, const QString &text) override
    {
        const auto icon = kind == MessageKind::Information ? QMessageBox::Information
                          : kind == MessageKind::Error     ? QMessageBox::Critical
                                                           : QMessageBox::NoIcon;
        QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
};

} // namespace

Messages &Messages::real()
{
    static QtMessages messages;
    return messages;
}

void ShowMessage(MessageKind kind, const QString &text)
{
    Service<Messages>::get().show(kind, ApplicationTitle(), text);
}

} // namespace platform
