#include "dialog/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

void Show(QWidget* owner, const QString& text, const QString& informative)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tarnel"), text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("TarnelMessageBox"));
    box.setInformativeText(informative);
    // Also where Qt's own translations are missing.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

}  // namespace

void AfxMessageBox(const QString& text, const QString& informative)
{
    Show(QApplication::activeWindow(), text, informative);
}

void WindowMessageBox(QWidget* window, const QString& text)
{
    Show(window, text, {});
}
