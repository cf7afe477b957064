#include "platform/FontSubstitution.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions()
{
    // The first face this machine has wins; the rest are fallbacks in order.
    QFont::insertSubstitutions(QStringLiteral("mirafon"),
                               {QStringLiteral("NanumGothic"), QStringLiteral("NanumBarunGothic"),
                                QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Noto Sans KR"),
                                QStringLiteral("UnDotum"), QStringLiteral("Baekmuk Gulim")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    // "Lucida Console" finds no monospace face on its own.
    QFont::insertSubstitutions(QStringLiteral("Lucida Console"), {QStringLiteral("DejaVu Sans Mono")});
}
