#include "modal_watcher.h"

#include <QApplication>
#include <QMessageBox>

namespace tarnel::test {

ModalWatcher::ModalWatcher()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::Poll);
    m_timer.start(5);
}

void ModalWatcher::Poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == m_last) {
        return;
    }
    m_last = box;
    if (box->objectName() == QStringLiteral("TarnelMessageBox")) {
        m_messages << (box->informativeText().isEmpty() ? box->text()
                                                       : box->text() + QStringLiteral(" | ") + box->informativeText());
    }
    box->accept();
}

}  // namespace tarnel::test
