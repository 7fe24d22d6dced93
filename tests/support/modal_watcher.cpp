#include "modal_watcher.h"

#include <QApplication>
#include <QMessageBox>

namespace tarnel::test {

ModalWatcher::ModalWatcher(Handler handler) : m_handler(std::move(handler))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::Poll);
    m_timer.start(5);
}

void ModalWatcher::Poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog == m_last) {
        return;
    }
    m_last = dialog;
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box && box->objectName() == QStringLiteral("TarnelMessageBox")) {
        m_messages << (box->informativeText().isEmpty() ? box->text()
                                                       : box->text() + QStringLiteral(" | ") + box->informativeText());
    }
    if (m_handler) {
        m_handler(dialog);
    } else if (box) {
        box->accept();
    }
}

}  // namespace tarnel::test
