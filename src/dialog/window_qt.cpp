// The dialogs on Qt Widgets.

#include "dialog/window_qt.h"

#include "dialog/look_qt.h"
#include "dialog/window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimerEvent>
#include <QTreeWidget>
#include <utility>

namespace tarnel::dialog::qt {
namespace {

// Posted by an expiry of the window timer; the tick runs when it arrives.
const QEvent::Type kTickEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The standard icon size, which an icon control takes whatever its template says.
constexpr int kIconSize = 32;

// A heading's type against the dialog's.
constexpr double kHeadingScale = 1.5;

QString Q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QIcon ResourceIcon(int resource)
{
    return QIcon(QStringLiteral(":/icons/%1.ico").arg(resource));
}

DialogUnits Measure(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The rounded average of 52 characters.
    return {(width / 26 + 1) / 2, metrics.height()};
}

QLabel* MakeLabel(const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QTreeWidget* MakeList(const ControlTemplate& control, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList titles;
    for (const char* title : control.items) {
        titles << QString::fromUtf8(title);
    }
    list->setHeaderLabels(titles);
    return list;
}

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent)
{
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::Label: return MakeLabel(caption, parent);
    case ControlKind::Heading: {
        QLabel* heading = MakeLabel(caption, parent);
        QFont font = heading->font();
        font.setPointSizeF(font.pointSizeF() * kHeadingScale);
        heading->setFont(font);
        return heading;
    }
    case ControlKind::Edit: return new QLineEdit(parent);
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefaultButton);
        return button;
    }
    case ControlKind::CheckBox: return new QCheckBox(caption, parent);
    case ControlKind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ControlKind::List: return MakeList(control, parent);
    case ControlKind::Text: {
        auto* text = new QPlainTextEdit(parent);
        text->setReadOnly(true);
        return text;
    }
    case ControlKind::Frame: {
        // Frames lie under the controls they enclose and never take a click.
        auto* frame = new QGroupBox(parent);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        return frame;
    }
    case ControlKind::Icon: {
        auto* icon = new QLabel(parent);
        icon->setPixmap(ResourceIcon(control.icon).pixmap(kIconSize, kIconSize));
        return icon;
    }
    }
    return nullptr;
}

bool TakesFocus(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::Button || kind == ControlKind::DefaultButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::Combo || kind == ControlKind::List ||
           kind == ControlKind::Text;
}

// Computes a control's tooltip each time it is about to show.
class ToolTipSource : public QObject {
public:
    ToolTipSource(QWidget* control, std::function<std::string()> text) : m_text(std::move(text))
    {
        control->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            static_cast<QWidget*>(watched)->setToolTip(Q(m_text()));
        }
        return false;
    }

private:
    std::function<std::string()> m_text;
};

}  // namespace

DialogWidget::DialogWidget(CDialog& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_dialog(dialog)
{
    const DialogTemplate& dialogTemplate = dialog.Template();
    setFont(DialogFont());
    m_units = Measure(font());
    setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    setFixedSize(m_units.ToPixelsX(dialogTemplate.cx), m_units.ToPixelsY(dialogTemplate.cy));
}

DialogWidget::~DialogWidget() = default;

QWidget* DialogWidget::Item(int id) const
{
    const auto found = m_controls.byId.find(id);
    return found == m_controls.byId.end() ? nullptr : found->second;
}

void DialogWidget::AddMenuItem(const std::string& text, unsigned id)
{
    if (!m_extras.menu) {
        m_extras.menu = new QMenu(this);
        m_extras.menu->setObjectName(QStringLiteral("SystemMenu"));
    }
    QAction* action = m_extras.menu->addAction(Q(text));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { Backend::SysCommand(m_dialog, id); });
}

void DialogWidget::AddToolTip(int id, std::function<std::string()> text)
{
    if (QWidget* item = Item(id)) {
        m_extras.toolTips.push_back(std::make_unique<ToolTipSource>(item, std::move(text)));
    }
}

void DialogWidget::StartTimer(int id, unsigned elapseMs)
{
    m_timerId = id;
    m_tickDue = false;
    m_timer.start(static_cast<int>(elapseMs), Qt::PreciseTimer, this);
}

void DialogWidget::StopTimer(int id)
{
    if (id == m_timerId) {
        m_timer.stop();
        m_tickDue = false;
    }
}

void DialogWidget::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        CreateControls();
        Backend::Initialize(m_dialog);
    } else if (!visible && isVisible()) {
        EndRun();
    }
    QDialog::setVisible(visible);
}

void DialogWidget::reject()
{
    Backend::Clicked(m_dialog, IDCANCEL);
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
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
        Backend::Clicked(m_dialog, IDOK);
    }
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_extras.menu) {
        m_extras.menu->popup(event->globalPos());
    }
}

void DialogWidget::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    // An expiry only notes that a tick is due. Some event loops (Qt's
    // plain Unix one) deliver the input that waited behind a blocking
    // tick after this timer event, so the tick itself comes back through
    // the event queue: a click that stops or restarts the timer meanwhile
    // takes the due tick with it.
    // Running the tick from here after dispatching that input ourselves
    // would nest the click's handler, and any box it opens, inside the
    // tick, and no further tick would come while that box stays open.
    if (!m_tickDue) {
        m_tickDue = true;
        QCoreApplication::postEvent(this, new QEvent(kTickEvent));
    }
}

void DialogWidget::customEvent(QEvent* event)
{
    if (event->type() != kTickEvent) {
        QDialog::customEvent(event);
        return;
    }
    const bool due = std::exchange(m_tickDue, false);
    if (due && isVisible()) {
        Backend::Tick(m_dialog, m_timerId);
    }
}

void DialogWidget::CreateControls()
{
    m_controls = {};
    QWidget* previousTabStop = nullptr;
    std::vector<QWidget*> frames;
    for (const ControlTemplate& control : m_dialog.Template().controls) {
        QWidget* widget = MakeControl(control, this);
        m_controls.widgets.emplace_back(widget);
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setProperty("controlId", control.id);
        if (control.accessibleName) {
            widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
        }
        QRect rect(m_units.ToPixelsX(control.x), m_units.ToPixelsY(control.y), m_units.ToPixelsX(control.cx),
                   m_units.ToPixelsY(control.cy));
        if (control.kind == ControlKind::Combo) {
            rect.setHeight(widget->sizeHint().height());  // the template gives the dropped-down height
        } else if (control.kind == ControlKind::Icon) {
            rect.setSize({kIconSize, kIconSize});
        }
        widget->setGeometry(rect);
        if (control.kind == ControlKind::Frame) {
            frames.push_back(widget);
        }
        if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
            for (std::size_t column = 0; column < control.widths.size(); ++column) {
                list->setColumnWidth(static_cast<int>(column), m_units.ToPixelsX(control.widths[column]));
            }
        }
        if (TakesFocus(control.kind)) {
            if (previousTabStop) {
                QWidget::setTabOrder(previousTabStop, widget);
            } else {
                m_controls.firstTabStop = widget;
            }
            previousTabStop = widget;
        }
        if (control.id != IDC_STATIC) {
            m_controls.byId.emplace(control.id, widget);
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && control.id != IDC_STATIC) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = control.id] { Backend::Clicked(m_dialog, id); });
        }
    }
    for (QWidget* frame : frames) {
        frame->lower();
    }
}

void DialogWidget::EndRun()
{
    m_timer.stop();
    m_tickDue = false;
    // The menu may be what ended the run, from one of its own actions.
    if (m_extras.menu) {
        m_extras.menu->deleteLater();
    }
    m_extras = {};
}

namespace {

class QtWindow : public Window {
public:
    explicit QtWindow(CDialog& dialog) : m_widget(dialog, dialog.Parent() ? &WidgetOf(*dialog.Parent()) : nullptr) {}

    DialogWidget& Widget() { return m_widget; }

    int RunModal() override { return m_widget.exec(); }
    void End(int result) override { m_widget.done(result); }

    std::string Text(int id) const override
    {
        QWidget* item = m_widget.Item(id);
        if (auto* edit = qobject_cast<QLineEdit*>(item)) {
            return edit->text().toStdString();
        }
        if (auto* button = qobject_cast<QAbstractButton*>(item)) {
            return button->text().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(item)) {
            return label->text().toStdString();
        }
        if (auto* text = qobject_cast<QPlainTextEdit*>(item)) {
            return text->toPlainText().toStdString();
        }
        return {};
    }

    void SetText(int id, const std::string& text) override
    {
        QWidget* item = m_widget.Item(id);
        if (auto* edit = qobject_cast<QLineEdit*>(item)) {
            edit->setText(Q(text));
        } else if (auto* button = qobject_cast<QAbstractButton*>(item)) {
            button->setText(Q(text));
        } else if (auto* label = qobject_cast<QLabel*>(item)) {
            label->setText(Q(text));
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(item)) {
            plain->setPlainText(Q(text));
        }
    }

    bool IsChecked(int id) const override
    {
        auto* box = qobject_cast<QCheckBox*>(m_widget.Item(id));
        return box && box->isChecked();
    }

    void SetChecked(int id, bool checked) override
    {
        if (auto* box = qobject_cast<QCheckBox*>(m_widget.Item(id))) {
            box->setChecked(checked);
        }
    }

    void Enable(int id, bool enabled) override
    {
        if (QWidget* item = m_widget.Item(id)) {
            item->setEnabled(enabled);
        }
    }

    void AddRow(int id, const std::vector<std::string>& cells) override
    {
        if (auto* list = qobject_cast<QTreeWidget*>(m_widget.Item(id))) {
            QStringList texts;
            for (const std::string& cell : cells) {
                texts << Q(cell);
            }
            list->scrollToItem(new QTreeWidgetItem(list, texts));
        }
    }

    void ClearRows(int id) override
    {
        if (auto* list = qobject_cast<QTreeWidget*>(m_widget.Item(id))) {
            list->clear();
        }
    }

    void FocusFirstTabStop() override
    {
        if (QWidget* first = m_widget.FirstTabStop()) {
            first->setFocus();
        }
    }

    void FocusAndSelect(int id) override
    {
        if (auto* edit = qobject_cast<QLineEdit*>(m_widget.Item(id))) {
            edit->setFocus();
            edit->selectAll();
        }
    }

    void AddItem(int id, const std::string& text) override
    {
        if (auto* combo = qobject_cast<QComboBox*>(m_widget.Item(id))) {
            combo->addItem(Q(text));
        }
    }

    int Selection(int id) const override
    {
        auto* combo = qobject_cast<QComboBox*>(m_widget.Item(id));
        if (!combo) {
            return -1;
        }
        const int index = combo->currentIndex();
        return index >= 0 && combo->currentText() == combo->itemText(index) ? index : -1;
    }

    void Select(int id, int index) override
    {
        if (auto* combo = qobject_cast<QComboBox*>(m_widget.Item(id))) {
            combo->setCurrentIndex(index);
        }
    }

    void StartTimer(int id, unsigned elapseMs) override { m_widget.StartTimer(id, elapseMs); }
    void StopTimer(int id) override { m_widget.StopTimer(id); }

    // Windows on Linux have no menu of the program's own to extend: the
    // window's context menu holds the item instead.
    void AppendToSystemMenu(const std::string& text, unsigned id) override { m_widget.AddMenuItem(text, id); }

    void SetIcon(int resource) override { m_widget.setWindowIcon(ResourceIcon(resource)); }

    void SetToolTip(int id, std::function<std::string()> text) override { m_widget.AddToolTip(id, std::move(text)); }

private:
    DialogWidget m_widget;
};

}  // namespace

DialogWidget& WidgetOf(const CDialog& dialog)
{
    return static_cast<QtWindow&>(Backend::WindowOf(dialog)).Widget();
}

}  // namespace tarnel::dialog::qt

namespace tarnel::dialog {

std::unique_ptr<Window> Window::Create(CDialog& dialog)
{
    return std::make_unique<qt::QtWindow>(dialog);
}

}  // namespace tarnel::dialog
