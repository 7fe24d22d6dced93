#include "dialog/dialog.h"

#include "dialog/data_exchange.h"
#include "dialog/dialog_font.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimerEvent>
#include <utility>

namespace {

// Posted by an expiry of the window timer; the tick runs when it arrives.
const QEvent::Type kTickEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The standard icon size, which an icon control takes whatever its template says.
constexpr int kIconSize = 32;

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent)
{
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Edit: return new QLineEdit(parent);
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefaultButton);
        return button;
    }
    case ControlKind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ControlKind::Frame: {
        // Frames lie under the controls they enclose and never take a click.
        auto* frame = new QGroupBox(parent);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        return frame;
    }
    case ControlKind::Icon: {
        auto* icon = new QLabel(parent);
        icon->setPixmap(QIcon(caption).pixmap(kIconSize, kIconSize));
        return icon;
    }
    }
    return nullptr;
}

bool TakesFocus(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::Button || kind == ControlKind::DefaultButton ||
           kind == ControlKind::Combo;
}

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_template(dialogTemplate)
{
    setFont(DialogFont());
    m_units = DialogUnits::Measure(font());
    setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    setFixedSize(m_units.ToPixelsX(dialogTemplate.cx), m_units.ToPixelsY(dialogTemplate.cy));
    CreateControls(dialogTemplate);
}

void CDialog::CreateControls(const DialogTemplate& dialogTemplate)
{
    QWidget* previousTabStop = nullptr;
    std::vector<QWidget*> frames;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = MakeControl(control, this);
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setProperty("controlId", control.id);
        if (control.accessibleName) {
            widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
        }
        QRect rect = m_units.ToPixels(control.x, control.y, control.cx, control.cy);
        if (control.kind == ControlKind::Combo) {
            rect.setHeight(widget->sizeHint().height());  // the template gives the dropped-down height
        } else if (control.kind == ControlKind::Icon) {
            rect.setSize({kIconSize, kIconSize});
        }
        widget->setGeometry(rect);
        if (control.kind == ControlKind::Frame) {
            frames.push_back(widget);
        }
        if (TakesFocus(control.kind)) {
            if (previousTabStop) {
                QWidget::setTabOrder(previousTabStop, widget);
            } else {
                m_firstTabStop = widget;
            }
            previousTabStop = widget;
        }
        if (control.id != IDC_STATIC) {
            m_items.emplace(control.id, widget);
        }
        if (control.id == IDOK) {
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this, [this] { OnOK(); });
        }
    }
    for (QWidget* frame : frames) {
        frame->lower();
    }
}

void CDialog::setVisible(bool visible)
{
    if (visible && !m_bInitialized) {
        m_bInitialized = true;
        if (OnInitDialog() && m_firstTabStop) {
            m_firstTabStop->setFocus();
        }
    }
    QDialog::setVisible(visible);
}

bool CDialog::OnInitDialog()
{
    for (const ControlTemplate& control : m_template.controls) {
        if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(control.id))) {
            for (const char* item : control.items) {
                combo->addItem(QString::fromUtf8(item));
            }
        }
    }
    UpdateData(false);
    return true;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto found = m_items.find(id);
    return found == m_items.end() ? nullptr : found->second;
}

QString CDialog::GetDlgItemText(int id) const
{
    QWidget* item = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QPushButton*>(item)) {
        return button->text();
    }
    return {};
}

void CDialog::SetDlgItemText(int id, const QString& text)
{
    QWidget* item = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        edit->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(item)) {
        button->setText(text);
    }
}

void CDialog::SetTimer(int id, unsigned elapseMs)
{
    m_nTimerId = id;
    m_bTickDue = false;
    m_timer.start(static_cast<int>(elapseMs), Qt::PreciseTimer, this);
}

void CDialog::KillTimer(int id)
{
    if (id == m_nTimerId) {
        m_timer.stop();
        m_bTickDue = false;
    }
}

void CDialog::OnOK()
{
    if (UpdateData(true)) {
        accept();
    }
}

void CDialog::SysCommand(unsigned id)
{
    if (m_sysCommandRoute) {
        m_sysCommandRoute(id);
    }
}

void CDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter clicks the focused button, else the default button; with
    // neither it means OK.
    auto* target = qobject_cast<QPushButton*>(focusWidget());
    if (!target) {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                target = button;
            }
        }
    }
    if (target) {
        target->click();
    } else {
        OnOK();
    }
}

void CDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    // An expiry only notes that a tick is due. Some event loops (Qt's plain
    // Unix one) deliver the input that waited behind a blocking tick after
    // this timer event, so the tick itself comes back through the event
    // queue: a click that stops or restarts the timer meanwhile takes the
    // due tick with it.
    // Running the tick from here after dispatching that input ourselves
    // would nest the click's handler, and any box it opens, inside the
    // tick, and no further tick would come while that box stays open.
    if (!m_bTickDue) {
        m_bTickDue = true;
        QCoreApplication::postEvent(this, new QEvent(kTickEvent));
    }
}

void CDialog::customEvent(QEvent* event)
{
    if (event->type() != kTickEvent) {
        QDialog::customEvent(event);
        return;
    }
    const bool due = std::exchange(m_bTickDue, false);
    if (due && m_timerRoute && isVisible()) {
        m_timerRoute(m_nTimerId);
    }
}
