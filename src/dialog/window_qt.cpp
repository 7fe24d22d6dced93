// The dialogs on Qt Widgets.

#include "dialog/application.h"
#include "dialog/dialog.h"
#include "dialog/dialog_units.h"
#include "dialog/qt_access.h"
#include "dialog/window.h"

#include <QBasicTimer>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimerEvent>
#include <QTranslator>
#include <map>
#include <utility>

namespace tarnel::dialog {
namespace {

// Posted by an expiry of the window timer; the tick runs when it arrives.
const QEvent::Type kTickEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The standard icon size, which an icon control takes whatever its template says.
constexpr int kIconSize = 32;

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
        icon->setPixmap(ResourceIcon(control.icon).pixmap(kIconSize, kIconSize));
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

void ShowBox(QWidget* owner, const std::string& text, const std::string& informative)
{
    const QString title = AfxGetApp() ? Q(AfxGetApp()->Name()) : QString();
    QMessageBox box(QMessageBox::NoIcon, title, Q(text), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("TarnelMessageBox"));
    box.setInformativeText(Q(informative));
    // Also where Qt's own translations are missing.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

// Computes a control's tooltip each time it is about to show.
class ToolTipSource : public QObject {
public:
    ToolTipSource(QWidget* control, std::function<std::string()> text) : QObject(control), m_text(std::move(text))
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

// The dialog's widget: its controls, keys, timer and window menu.
class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog& dialog, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
          m_dialog(dialog)
    {
        const DialogTemplate& dialogTemplate = dialog.Template();
        setFont(qt::DialogFont());
        m_units = Measure(font());
        setWindowTitle(QString::fromUtf8(dialogTemplate.title));
        setFixedSize(m_units.ToPixelsX(dialogTemplate.cx), m_units.ToPixelsY(dialogTemplate.cy));
        CreateControls(dialogTemplate);
    }

    CDialog& Dialog() const { return m_dialog; }

    QWidget* Item(int id) const
    {
        const auto found = m_items.find(id);
        return found == m_items.end() ? nullptr : found->second;
    }

    QWidget* FirstTabStop() const { return m_firstTabStop; }

    QMenu* Menu() const { return m_menu; }

    void AddMenuItem(const std::string& text, unsigned id)
    {
        if (!m_menu) {
            m_menu = new QMenu(this);
            m_menu->setObjectName(QStringLiteral("SystemMenu"));
        }
        QAction* action = m_menu->addAction(Q(text));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { m_dialog.SysCommand(id); });
    }

    void StartTimer(int id, unsigned elapseMs)
    {
        m_timerId = id;
        m_tickDue = false;
        m_timer.start(static_cast<int>(elapseMs), Qt::PreciseTimer, this);
    }

    void StopTimer(int id)
    {
        if (id == m_timerId) {
            m_timer.stop();
            m_tickDue = false;
        }
    }

    void setVisible(bool visible) override
    {
        if (visible && !m_initialized) {
            m_initialized = true;
            m_dialog.Initialize();
        }
        QDialog::setVisible(visible);
    }

    // Escape and the close box: the dialog's Cancel.
    void reject() override { m_dialog.Clicked(IDCANCEL); }

protected:
    void keyPressEvent(QKeyEvent* event) override
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
            m_dialog.Clicked(IDOK);
        }
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (m_menu) {
            m_menu->popup(event->globalPos());
        }
    }

    void timerEvent(QTimerEvent* event) override
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

    void customEvent(QEvent* event) override
    {
        if (event->type() != kTickEvent) {
            QDialog::customEvent(event);
            return;
        }
        const bool due = std::exchange(m_tickDue, false);
        if (due && isVisible()) {
            m_dialog.Tick(m_timerId);
        }
    }

private:
    void CreateControls(const DialogTemplate& dialogTemplate)
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
            if (auto* button = qobject_cast<QPushButton*>(widget); button && control.id != IDC_STATIC) {
                connect(button, &QPushButton::clicked, this, [this, id = control.id] { m_dialog.Clicked(id); });
            }
        }
        for (QWidget* frame : frames) {
            frame->lower();
        }
    }

    CDialog& m_dialog;
    DialogUnits m_units;
    std::map<int, QWidget*> m_items;
    QWidget* m_firstTabStop = nullptr;
    QMenu* m_menu = nullptr;
    bool m_initialized = false;
    QBasicTimer m_timer;
    int m_timerId = 0;
    bool m_tickDue = false;
};

class QtWindow : public Window {
public:
    explicit QtWindow(CDialog& dialog)
        : m_widget(dialog, dialog.Parent() ? qt::Widget(*dialog.Parent()) : nullptr)
    {
    }

    DialogWidget& Widget() { return m_widget; }

    int RunModal() override { return m_widget.exec(); }
    void End(int result) override { m_widget.done(result); }

    std::string Text(int id) const override
    {
        QWidget* item = m_widget.Item(id);
        if (auto* edit = qobject_cast<QLineEdit*>(item)) {
            return edit->text().toStdString();
        }
        if (auto* button = qobject_cast<QPushButton*>(item)) {
            return button->text().toStdString();
        }
        return {};
    }

    void SetText(int id, const std::string& text) override
    {
        QWidget* item = m_widget.Item(id);
        if (auto* edit = qobject_cast<QLineEdit*>(item)) {
            edit->setText(Q(text));
        } else if (auto* button = qobject_cast<QPushButton*>(item)) {
            button->setText(Q(text));
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

    void SetToolTip(int id, std::function<std::string()> text) override
    {
        if (QWidget* item = m_widget.Item(id)) {
            new ToolTipSource(item, std::move(text));
        }
    }

    void ShowMessage(const std::string& text, const std::string& informative) override
    {
        ShowBox(&m_widget, text, informative);
    }

private:
    DialogWidget m_widget;
};

}  // namespace

std::unique_ptr<Window> Window::Create(CDialog& dialog)
{
    return std::make_unique<QtWindow>(dialog);
}

void ApplicationMessageBox(const std::string& text, const std::string& informative)
{
    ShowBox(QApplication::activeWindow(), text, informative);
}

namespace qt {

QDialog* Widget(const CDialog& dialog)
{
    return &static_cast<QtWindow&>(dialog.Window()).Widget();
}

QWidget* Item(const CDialog& dialog, int id)
{
    return static_cast<QtWindow&>(dialog.Window()).Widget().Item(id);
}

CDialog* DialogOf(QWidget* widget)
{
    auto* dialog = dynamic_cast<DialogWidget*>(widget);
    return dialog ? &dialog->Dialog() : nullptr;
}

QMenu* WindowMenu(const CDialog& dialog)
{
    return static_cast<QtWindow&>(dialog.Window()).Widget().Menu();
}

void LoadChineseQtTexts(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

QFont DialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("Noto Serif CJK SC")});
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

}  // namespace qt
}  // namespace tarnel::dialog
