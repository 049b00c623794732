#include "framework/dialog_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolTip>
#include <QValidator>
#include <algorithm>
#include <cmath>

#include "framework/native_system_menu.h"
#include "settings/single_byte_text.h"

namespace afx {
namespace {

using trovik::resources::ControlKind;
using trovik::resources::DialogControl;
namespace rs = trovik::resources;

// An edit box that takes only digits from the keyboard. Pasted text is not
// filtered: the checks of the data exchange answer it.
class DigitsOnlyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        const QString text = key->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint();
        const bool digits = std::all_of(text.begin(), text.end(),
                                        [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
        if (!printable || digits) return false;
        auto* edit = static_cast<QWidget*>(watched);
        QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())),
                           QStringLiteral("Only digits can be typed here."), edit);
        QApplication::beep();
        return true;
    }
};

// An edit box that turns letters into capitals as they are typed or pasted.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        for (QChar& c : input) {
            if (c.unicode() > 0xFF) continue;
            const char upper = trovik::UpperCaseLatin1(static_cast<char>(c.unicode()));
            c = QChar(static_cast<char16_t>(static_cast<unsigned char>(upper)));
        }
        return Acceptable;
    }
};

// A static text without the no-prefix style takes '&' as a mnemonic mark
// ("&&" is a literal '&').
QString StaticText(const QString& text, bool noPrefix) {
    if (noPrefix) return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out += text.at(i);
    }
    return out;
}

int MulDiv(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

}  // namespace

DialogUnits DialogUnits::ForTemplate(const QFont& font, const rs::DialogTemplate& dialogTemplate) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogUnits units{static_cast<double>((alphabet / 26 + 1) / 2), metrics.height()};
    for (const DialogControl& control : dialogTemplate.controls) {
        if (control.kind != ControlKind::Static || control.cx <= 0 || control.cy >= 16) continue;
        const bool noPrefix = (control.style & rs::kNoPrefix) != 0;
        const int width = metrics.horizontalAdvance(StaticText(QStringFromUtf8(control.text), noPrefix)) + 1;
        units.baseX = std::max(units.baseX, 4.0 * width / control.cx);
    }
    return units;
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    auto toX = [this](int v) { return static_cast<int>(std::lround(v * baseX / 4)); };
    return {toX(x), MulDiv(y, baseY, 8), toX(cx), MulDiv(cy, baseY, 8)};
}

QString QStringFromLatin1(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

std::string Latin1FromQString(const QString& text) { return trovik::Latin1FromUtf8(text.toStdString()); }

void ReactivateAfterModal(QWidget* previous) {
    if (previous != nullptr && previous->isVisible()) previous->activateWindow();
}

int ExecModal(QDialog& dialog) {
    QPointer<QWidget> previous = QApplication::activeWindow();
    if (previous == nullptr && dialog.parentWidget() != nullptr) previous = dialog.parentWidget()->window();
    const int result = dialog.exec();
    ReactivateAfterModal(previous);
    return result;
}

DialogWindow* DialogOf(QWidget* widget) {
    return widget != nullptr ? dynamic_cast<DialogWindow*>(widget->window()) : nullptr;
}

DialogWindow::DialogWindow(CDialog& owner, const rs::DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_owner(&owner), m_template(dialogTemplate), m_units{} {
    // A fixed-size popup with caption, system menu and close box; no
    // minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringFromUtf8(dialogTemplate.title));

    QFont font(QStringFromUtf8(dialogTemplate.fontName), dialogTemplate.pointSize);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    m_units = DialogUnits::ForTemplate(font, dialogTemplate);
    setFixedSize(m_units.ToPixels(0, 0, dialogTemplate.cx, dialogTemplate.cy).size());

    QButtonGroup* radioGroup = nullptr;
    for (const DialogControl& control : dialogTemplate.controls) {
        CreateControl(control);
        // Automatic radio buttons exclude each other within their group,
        // which ends at the next control that starts a group.
        if (control.kind == ControlKind::AutoRadioButton) {
            if (radioGroup == nullptr || (control.style & rs::kGroup)) radioGroup = new QButtonGroup(this);
            radioGroup->addButton(static_cast<QAbstractButton*>(m_controls.back().second));
        } else if (control.style & rs::kGroup) {
            radioGroup = nullptr;
        }
    }
    // The first control of the template lies on top; creation order is
    // already the tab order.
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) it->second->raise();

    // A focus the user moves into a box or list drops the wait for a hidden
    // control to be shown; clicks on buttons keep it, so that clicking a
    // radio button that shows the control hands it the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == this && qobject_cast<QAbstractButton*>(now) == nullptr)
            m_pendingFocus = nullptr;
    });

#ifndef Q_OS_WIN
    // Windows gives every window these keys; elsewhere the dialog brings its own.
    auto* systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(systemMenuKey, &QShortcut::activated, this, [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
    auto* closeKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
#endif
}

DialogWindow::~DialogWindow() {
    for (CWnd* object : m_attached) object->m_hWnd = nullptr;
    if (m_owner != nullptr) m_owner->WindowDestroyed();
}

void DialogWindow::CreateControl(const DialogControl& control) {
    const QString text = QStringFromUtf8(control.text);
    const int id = control.id;
    auto sendCommand = [this, id] {
        if (m_owner != nullptr) m_owner->OnCommand(static_cast<UINT>(id));
    };
    QRect rect = m_units.ToPixels(control.x, control.y, control.cx, control.cy);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(this);
            if (control.style & rs::kDigitsOnly) edit->installEventFilter(new DigitsOnlyFilter(edit));
            if (control.style & rs::kUpperCase) edit->setValidator(new UpperCaseValidator(edit));
            widget = edit;
            break;
        }
        case ControlKind::Static: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            label->setText(StaticText(text, (control.style & rs::kNoPrefix) != 0));
            label->setWordWrap(true);
            label->setAlignment(((control.style & rs::kCentered) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::GroupBox:
            widget = new QGroupBox(text, this);
            break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(text, this);
            // A push button with the focus takes Enter for itself.
            button->setAutoDefault(true);
            button->setDefault(control.kind == ControlKind::DefaultPushButton);
            connect(button, &QPushButton::clicked, this, sendCommand);
            widget = button;
            break;
        }
        case ControlKind::AutoCheckBox: {
            auto* check = new QCheckBox(text, this);
            if (control.style & rs::kLeftText) check->setLayoutDirection(Qt::RightToLeft);
            connect(check, &QCheckBox::clicked, this, sendCommand);
            widget = check;
            break;
        }
        case ControlKind::AutoRadioButton: {
            auto* radio = new QRadioButton(text, this);
            connect(radio, &QRadioButton::clicked, this, sendCommand);
            widget = radio;
            break;
        }
        case ControlKind::DropDownList: {
            auto* list = new QComboBox(this);
            list->setEditable(false);
            list->setProperty("afxSorted", (control.style & rs::kSorted) != 0);
            // The template gives the height dropped down; closed, the list is
            // as high as its font needs.
            const int closed = list->sizeHint().height();
            const int itemHeight = QFontMetrics(font()).height() + 4;
            list->setMaxVisibleItems(std::max(1, (rect.height() - closed) / itemHeight));
            rect.setHeight(closed);
            widget = list;
            break;
        }
    }
    if (id != IDC_STATIC) widget->setObjectName(QStringLiteral("control%1").arg(id));
    widget->setProperty("afxControlId", id);
    widget->setGeometry(rect);

    const bool focusable = control.kind != ControlKind::Static && control.kind != ControlKind::GroupBox;
    if (!focusable) widget->setFocusPolicy(Qt::NoFocus);
    else widget->setFocusPolicy((control.style & rs::kTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
    if (!(control.style & rs::kVisible)) widget->setVisible(false);
    m_controls.emplace_back(id, widget);
}

QWidget* DialogWindow::Control(int id) const {
    for (const auto& [controlId, widget] : m_controls)
        if (controlId == id) return widget;
    return nullptr;
}

std::vector<QAbstractButton*> DialogWindow::RadioGroup(int firstId) const {
    std::vector<QAbstractButton*> group;
    const auto& controls = m_template.controls;
    auto it = std::find_if(controls.begin(), controls.end(), [&](const auto& c) { return c.id == firstId; });
    for (; it != controls.end(); ++it) {
        if (it->id != firstId && (it->style & rs::kGroup)) break;
        if (it->kind != ControlKind::AutoRadioButton) continue;
        group.push_back(static_cast<QAbstractButton*>(Control(it->id)));
    }
    return group;
}

bool DialogWindow::FillLists(std::span<const rs::DialogInitEntry> entries) {
    for (const rs::DialogInitEntry& entry : entries) {
        auto* list = qobject_cast<QComboBox*>(Control(entry.controlId));
        if (list == nullptr) return false;
        const QString text = QStringFromUtf8(entry.text);
        int position = list->count();
        if (list->property("afxSorted").toBool()) {
            for (int i = 0; i < list->count(); ++i) {
                if (QString::compare(list->itemText(i), text, Qt::CaseInsensitive) > 0) {
                    position = i;
                    break;
                }
            }
        }
        list->insertItem(position, text);
    }
    return true;
}

void DialogWindow::FocusFirstTabStop() {
    for (const rs::DialogControl& control : m_template.controls) {
        QWidget* widget = Control(control.id);
        if (!(control.style & rs::kTabStop) || widget == nullptr || !widget->isVisibleTo(this) ||
            !widget->isEnabled())
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
        widget->setFocus(Qt::TabFocusReason);
        return;
    }
}

void DialogWindow::FocusFailedControl(QWidget* control, bool selectAll) {
    if (auto* edit = qobject_cast<QLineEdit*>(control); edit != nullptr && selectAll) edit->selectAll();
    if (control->isVisibleTo(this)) {
        m_pendingFocus = nullptr;
        control->setFocus(Qt::OtherFocusReason);
    } else {
        // A hidden control cannot hold the focus here; it takes it as soon
        // as it is shown. Until then the focus stays where it was.
        m_pendingFocus = control;
    }
}

void DialogWindow::ControlShown(QWidget* control) {
    if (control == nullptr || control != m_pendingFocus) return;
    m_pendingFocus = nullptr;
    control->setFocus(Qt::OtherFocusReason);
}

void DialogWindow::Attach(CWnd& object, QWidget* control) {
    object.m_hWnd = control;
    if (std::find(m_attached.begin(), m_attached.end(), &object) == m_attached.end())
        m_attached.push_back(&object);
}

void DialogWindow::Forget(const CWnd& object) {
    m_attached.erase(std::remove(m_attached.begin(), m_attached.end(), &object), m_attached.end());
}

CWnd* DialogWindow::AttachedTo(const QWidget* control) const {
    for (CWnd* object : m_attached)
        if (object->m_hWnd == control) return object;
    return nullptr;
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPos) {
    if (m_owner == nullptr) return;
    const CMenu* systemMenu = m_owner->GetSystemMenu(FALSE);
    if (systemMenu == nullptr) return;
    QMenu menu(this);
    for (const CMenu::Item& item : systemMenu->Items()) {
        if (item.nFlags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        menu.addAction(QStringFromUtf8(item.text))->setData(item.nID);
    }
    QPointer<DialogWindow> self(this);
    QAction* chosen = menu.exec(globalPos);
    if (chosen != nullptr && self != nullptr && m_owner != nullptr) m_owner->SendSysCommand(chosen->data().toUInt());
}

void DialogWindow::accept() {
    if (m_owner != nullptr) m_owner->OnCommand(IDOK);
    else QDialog::accept();
}

void DialogWindow::reject() {
    if (m_owner != nullptr) m_owner->OnCommand(IDCANCEL);
    else QDialog::reject();
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier && m_owner != nullptr) {
        m_owner->OnCommand(ID_HELP);
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        // Shift+F10 is the keyboard's right click: the focused control's own
        // menu if it has one (an edit box's), else the dialog's.
        QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
        const QPoint centre = target->rect().center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, centre, target->mapToGlobal(centre));
        QApplication::sendEvent(target, &menuEvent);
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
#ifdef Q_OS_WIN
    // The real system menu serves there.
    QDialog::contextMenuEvent(event);
#else
    ShowSystemMenu(event->globalPos());
#endif
}

#ifdef Q_OS_WIN
bool DialogWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    unsigned id = 0;
    std::intptr_t param = 0;
    if (m_owner != nullptr && NativeSysCommand(message, id, param)) {
        // Only the items the program appended; the rest stay the system's.
        if (const CMenu* systemMenu = m_owner->GetSystemMenu(FALSE)) {
            for (const CMenu::Item& item : systemMenu->Items()) {
                if (!(item.nFlags & MF_SEPARATOR) && item.nID == (id & 0xFFF0u)) {
                    m_owner->SendSysCommand(id, param);
                    *result = 0;
                    return true;
                }
            }
        }
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

}  // namespace afx
