#include "dialog/look_qt.h"

#include "dialog/look.h"

#include <QStringList>

namespace tarnel::dialog::qt {

QFont DialogFont()
{
    QStringList faces;
    for (const char* face : look::kFontFaces) {
        faces << QString::fromUtf8(face);
    }
    QFont font;
    font.setFamilies(faces);
    font.setPointSize(look::kFontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

}  // namespace tarnel::dialog::qt
