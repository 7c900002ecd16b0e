#include "app/JapaneseFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace karvel {

QFont JapaneseGothicFont(double pointSize, bool bold, Pitch pitch) {
    static const QStringList proportional = {
        QStringLiteral("IPAPGothic"),       QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
        QStringLiteral("TakaoPGothic"),     QStringLiteral("Droid Sans Japanese"),
    };
    static const QStringList fixed = {
        QStringLiteral("IPAGothic"),  QStringLiteral("Noto Sans Mono CJK JP"),
        QStringLiteral("VL Gothic"),  QStringLiteral("TakaoGothic"),
        QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
    };
    QFont font;
    const QStringList available = QFontDatabase::families();
    for (const QString& family : pitch == Pitch::Fixed ? fixed : proportional) {
        if (available.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace karvel
