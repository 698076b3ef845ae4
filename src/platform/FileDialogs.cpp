#include "FileDialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace platform {
namespace {

class QtFileDialogs final : public FileDialogs {
public:
    QString saveFileName(const QString &caption, const QString &suggested,
                         const QString &filter) override {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested,
                                            filter);
    }
};

} // namespace

FileDialogs &FileDialogs::real() {
    static QtFileDialogs dialogs;
    return dialogs;
}

} // namespace platform
