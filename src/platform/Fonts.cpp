#include "Fonts.h"

#include <QFont>

namespace platform {

void InstallFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Consolas"), QStringLiteral("Liberation Mono"));
}

} // namespace platform
