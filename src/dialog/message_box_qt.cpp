#include "dialog/message_box.h"

#include "dialog/look.h"
#include "dialog/window_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

void ShowBox(QWidget* owner, const std::string& text, const std::string& informative)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(tarnel::dialog::look::BoxTitle()),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("TarnelMessageBox"));
    box.setInformativeText(QString::fromStdString(informative));
    // Also where Qt's own translations are missing.
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(tarnel::dialog::look::kOkCaption));
    box.exec();
}

}  // namespace

void AfxMessageBox(const std::string& text, const std::string& informative)
{
    ShowBox(QApplication::activeWindow(), text, informative);
}

void WindowMessageBox(CDialog& window, const std::string& text)
{
    ShowBox(&tarnel::dialog::qt::WidgetOf(window), text, {});
}
