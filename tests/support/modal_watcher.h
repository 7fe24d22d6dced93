#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class QDialog;

namespace tarnel::test {

// Watches for modal dialogs as the operator would see them, inside whatever
// event loop is current, nested ones included. Each new one is handed once to
// the handler; without a handler a message box is closed with OK at once.
class ModalWatcher : public QObject {
public:
    using Handler = std::function<void(QDialog*)>;

    explicit ModalWatcher(Handler handler = {});

    // The text of every message box seen so far, with its informative line
    // after " | " when it has one.
    QStringList Messages() const { return m_messages; }

private:
    void Poll();

    Handler m_handler;
    QStringList m_messages;
    QPointer<QDialog> m_last;
    QTimer m_timer;
};

}  // namespace tarnel::test
