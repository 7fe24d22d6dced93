#include "dialog/desktop.h"

#include "dialog/window_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>

namespace tarnel::dialog {

std::optional<std::string> ChooseFile(CDialog& owner, const std::string& title, const std::string& suggested)
{
    // Qt's own dialog: the same on every desktop, and never a question about
    // overwriting, since the file is only added to.
    QFileDialog chooser(&qt::WidgetOf(owner), QString::fromStdString(title));
    chooser.setObjectName(QStringLiteral("TarnelFileChooser"));
    chooser.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilter(QStringLiteral("CSV (*.csv)"));
    chooser.setDefaultSuffix(QStringLiteral("csv"));
    chooser.selectFile(QString::fromStdString(suggested));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return chooser.selectedFiles().front().toStdString();
}

std::string DocumentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

bool OpenDocument(const std::string& path)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
}

void Beep()
{
    QApplication::beep();
}

}  // namespace tarnel::dialog
