#include "User.h"

#include <pwd.h>
#include <unistd.h>

namespace platform {

QString UserName() {
    if (const passwd *user = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(user->pw_name);
    return QString::number(::geteuid());
}

} // namespace platform
