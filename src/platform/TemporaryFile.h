// A private scratch file in the user's temporary folder that has no name: nothing is left
// behind however the process ends (a kill, a logout, a crash), and no other program can open
// it by name while it is in use.
#pragma once

#include <QFile>

#include <memory>

namespace platform {

// Open for reading and writing, mode 0600; none when the folder takes no file.
std::unique_ptr<QFile> OpenNamelessTemporaryFile();

} // namespace platform
