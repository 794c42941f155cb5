#include "forms/WindowFont.h"

#include <QFontDatabase>
#include <QStringList>

QFont DefaultWindowFont() {
    // The windows are laid out at fixed pixel positions for Tahoma; where it
    // is missing, a sans-serif of similar width keeps the captions inside
    // their controls.
    const QStringList installed = QFontDatabase::families();
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    for (const char *family :
         {"Tahoma", "Liberation Sans", "Arial", "Nimbus Sans", "DejaVu Sans Condensed"}) {
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive)) {
            font.setFamily(QLatin1String(family));
            break;
        }
    }
    font.setPixelSize(11);
    font.setBold(false);
    font.setItalic(false);
    return font;
}
