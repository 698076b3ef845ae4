#include "Shell.h"

#include "Service.h"

#include <QProcess>
#include <QStringList>

#include <string_view>

namespace platform {
namespace {

bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Characters a URI holds as they are: the unreserved ones, the delimiters and '%'.
bool IsUriCharacter(char c) {
    return IsUnreserved(c) ||
           std::string_view(":/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

void AppendEncoded(QByteArray &out, const QString &text, bool (*kept)(char)) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char c : text.toUtf8()) {
        if (kept(c)) {
            out += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
}

// The start of the body's value, or -1 when the link has no body field.
qsizetype BodyStart(const QString &link) {
    qsizetype field = link.indexOf(u'?');
    while (field >= 0) {
        ++field;
        if (link.mid(field, 5).compare(QStringLiteral("body="), Qt::CaseInsensitive) == 0)
            return field + 5;
        field = link.indexOf(u'&', field);
    }
    return -1;
}

class XdgOpenShell final : public Shell {
public:
    void openMailtoLink(const QString &link) override {
        // Without xdg-open or a mail program nothing opens. That is not reported: the
        // caller goes on (and the order routine saves the details either way).
        QProcess::startDetached(QStringLiteral("xdg-open"),
                                {QString::fromLatin1(EncodeMailtoLink(link))});
    }
};

} // namespace

QByteArray EncodeMailtoLink(const QString &link) {
    const qsizetype bodyStart = BodyStart(link);
    QByteArray encoded;
    AppendEncoded(encoded, bodyStart < 0 ? link : link.left(bodyStart), IsUriCharacter);
    if (bodyStart < 0)
        return encoded;
    QString body = link.mid(bodyStart);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList lines = body.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            encoded += "%0D%0A";
        AppendEncoded(encoded, lines[i], IsUnreserved);
    }
    return encoded;
}

Shell &Shell::real() {
    static XdgOpenShell shell;
    return shell;
}

void OpenMailtoLink(const QString &link) {
    Service<Shell>::get().openMailtoLink(link);
}

} // namespace platform
