#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QDialog;

namespace tarnel::test {

// Watches for message boxes as the operator would see them, inside whatever
// event loop is current, nested ones included, and closes each with OK.
class ModalWatcher : public QObject {
public:
    ModalWatcher();

    // The text of every message box seen so far, with its informative line
    // after " | " when it has one.
    QStringList Messages() const { return m_messages; }

private:
    void Poll();

    QStringList m_messages;
    QPointer<QDialog> m_last;
    QTimer m_timer;
};

}  // namespace tarnel::test
