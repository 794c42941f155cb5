#include "forms/WindowFont.h"

#include <QFontDatabase>
#include <QStringList>

QFont DefaultWindowFont() {
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive)) {
        font.setFamily(QStringLiteral("Tahoma"));
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(11);
    font.setBold(false);
    font.setItalic(false);
    return font;
}
