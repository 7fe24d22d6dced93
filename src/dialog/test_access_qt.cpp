#include "dialog/qt_access.h"
#include "dialog/test_access.h"
#include "dialog/window_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimerEvent>
#include <QTreeWidget>

namespace tarnel::dialog::qt {

QDialog* Widget(const CDialog& dialog)
{
    return &WidgetOf(dialog);
}

QWidget* Item(const CDialog& dialog, int id)
{
    return WidgetOf(dialog).Item(id);
}

CDialog* DialogOf(QWidget* widget)
{
    auto* dialog = dynamic_cast<DialogWidget*>(widget);
    return dialog ? &dialog->Dialog() : nullptr;
}

QMenu* WindowMenu(const CDialog& dialog)
{
    return WidgetOf(dialog).Menu();
}

}  // namespace tarnel::dialog::qt

namespace tarnel::dialog::testing {

std::string ToolTipText(const CDialog& dialog, int id)
{
    QWidget* item = qt::Item(dialog, id);
    if (!item) {
        return {};
    }
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), item->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(item, &help);
    return item->toolTip().toStdString();
}

std::vector<std::string> WindowMenuItems(const CDialog& dialog)
{
    std::vector<std::string> texts;
    if (QMenu* menu = qt::WindowMenu(dialog)) {
        for (const QAction* action : menu->actions()) {
            texts.push_back(action->text().toStdString());
        }
    }
    return texts;
}

void ChooseWindowMenuItem(const CDialog& dialog, std::size_t index)
{
    qt::WindowMenu(dialog)->actions().at(static_cast<qsizetype>(index))->trigger();
}

void Click(const CDialog& dialog, int id)
{
    QMetaObject::invokeMethod(qobject_cast<QAbstractButton*>(qt::Item(dialog, id)), &QAbstractButton::click,
                              Qt::QueuedConnection);
}

void LetTickFallDue(const CDialog& dialog)
{
    qt::DialogWidget& widget = qt::WidgetOf(dialog);
    QTimerEvent expiry(widget.TimerId());
    QApplication::sendEvent(&widget, &expiry);
}

bool IsEnabled(const CDialog& dialog, int id)
{
    return qt::Item(dialog, id)->isEnabled();
}

std::vector<std::vector<std::string>> ListRows(const CDialog& dialog, int id)
{
    auto* list = qobject_cast<QTreeWidget*>(qt::Item(dialog, id));
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (int column = 0; column < list->columnCount(); ++column) {
            cells.push_back(list->topLevelItem(row)->text(column).toStdString());
        }
    }
    return rows;
}

bool AnswerFileChooser(const std::string& path)
{
    auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!chooser) {
        return false;
    }
    chooser->selectFile(QString::fromStdString(path));
    QMetaObject::invokeMethod(chooser, "accept", Qt::QueuedConnection);
    return true;
}

std::optional<Box> CloseMessageBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        return std::nullopt;
    }
    Box seen{box->windowTitle().toStdString(), box->text().toStdString(),
             box->button(QMessageBox::Ok)->text().toStdString()};
    box->accept();
    return seen;
}

}  // namespace tarnel::dialog::testing
