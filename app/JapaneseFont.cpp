#include "app/JapaneseFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace karvel {

QFont JapaneseGothicFont(int pointSize, bool bold) {
    static const QStringList preferred = {
        QStringLiteral("IPAPGothic"),      QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
        QStringLiteral("TakaoPGothic"),     QStringLiteral("Droid Sans Japanese"),
    };
    QFont font;
    const QStringList available = QFontDatabase::families();
    for (const QString& family : preferred) {
        if (available.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace karvel
