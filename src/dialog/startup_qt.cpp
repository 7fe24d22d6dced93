#include "dialog/startup_qt.h"

#include "dialog/look_qt.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace tarnel::dialog::qt {

void ReadyQt(QApplication& app)
{
    QApplication::setFont(DialogFont());
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace tarnel::dialog::qt
