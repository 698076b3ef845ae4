// The shell's hand-over of a mailto link to the user's default mail program. On Linux the
// link goes to xdg-open, started directly (never through a command interpreter) with the
// link as its one argument, percent-encoded as RFC 6068 requires.
#pragma once

#include <QString>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // Takes the link as the system composes it: "mailto:", the address, then header fields
    // whose last one is "body=" followed by the raw body text to the end of the link.
    // Returns at once; whether a mail program opened it is not found out.
    virtual void openMailtoLink(const QString &link) = 0;

    static Shell &real();
};

void OpenMailtoLink(const QString &link);

// The link as RFC 6068 wants it. The body (the value of the first "body" header field, up
// to the end) is UTF-8 with every character outside the unreserved set percent-encoded and
// each line break (CR, LF or CR LF) written as %0D%0A. The rest is taken as already
// encoded: its percent signs and delimiters stay, anything a URI cannot hold is encoded.
QByteArray EncodeMailtoLink(const QString &link);

} // namespace platform
