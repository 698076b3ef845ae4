// Choosing a file to save to, as the desktop's own dialog asks it.
#pragma once

#include <QString>

namespace platform {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file the user chose, or empty when the dialog was cancelled.
    virtual QString saveFileName(const QString &caption, const QString &suggested,
                                 const QString &filter) = 0;

    static FileDialogs &real();
};

} // namespace platform
