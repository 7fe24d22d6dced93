#include "port_tooltip.h"

#include "platform/port_list.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace {

QString PortListText()
{
    const auto ports = tarnel::platform::ListPorts();
    if (ports.empty()) {
        return QStringLiteral("没有找到串口");
    }
    QString text = QStringLiteral("串口号：");
    for (const auto& port : ports) {
        text += QStringLiteral("\n%1 = %2").arg(port.number).arg(QString::fromStdString(port.device));
        if (!port.description.empty()) {
            text += QStringLiteral("（%1）").arg(QString::fromStdString(port.description));
        }
    }
    return text;
}

class PortTooltip : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            static_cast<QWidget*>(watched)->setToolTip(PortListText());
        }
        return false;
    }
};

}  // namespace

void ShowPortsInTooltip(QWidget* edit)
{
    edit->installEventFilter(new PortTooltip(edit));
}
