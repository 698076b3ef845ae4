// Who is using the program: the login name the operating system knows.
#pragma once

#include <QString>

namespace platform {

QString UserName();

} // namespace platform
