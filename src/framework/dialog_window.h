#pragma once

// The Qt side of a dialog: a QDialog built from a template in resources/,
// which hands its keys, clicks and menu choices to its CDialog.

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <span>
#include <string_view>
#include <vector>

#include "framework/afxwin.h"
#include "resources/resource_data.h"

class QAbstractButton;
class QFont;

namespace afx {

// Dialog units of a font: x in quarters of its average character width, y
// in eighths of its height. Fonts other than the one a template was drawn
// for set text wider or narrower, so the unit of x grows until every one-line
// static text of the template fits its box.
struct DialogUnits {
    double baseX;
    int baseY;

    static DialogUnits ForTemplate(const QFont& font, const trovik::resources::DialogTemplate& dialogTemplate);
    QRect ToPixels(int x, int y, int cx, int cy) const;
};

class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& owner, const trovik::resources::DialogTemplate& dialogTemplate, QWidget* parent);
    ~DialogWindow() override;

    const trovik::resources::DialogTemplate& Template() const { return m_template; }
    const DialogUnits& Units() const { return m_units; }
    QWidget* Control(int id) const;
    // The radio buttons of the group that the button `firstId` starts.
    std::vector<QAbstractButton*> RadioGroup(int firstId) const;

    // FALSE when an entry names a control that is not a list.
    bool FillLists(std::span<const trovik::resources::DialogInitEntry> entries);
    void FocusFirstTabStop();

    // A failed check's control: focused now, or when it is shown if hidden.
    void FocusFailedControl(QWidget* control, bool selectAll);

    void ControlShown(QWidget* control);
    void ClearPendingFocus() { m_pendingFocus = nullptr; }

    // The CWnd objects attached to controls by DDX_Control; each is reset
    // when the window goes, and leaves the list when it goes first.
    void Attach(CWnd& object, QWidget* control);
    void Forget(const CWnd& object);
    CWnd* AttachedTo(const QWidget* control) const;

    void ShowSystemMenu(const QPoint& globalPos);

    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void CreateControl(const trovik::resources::DialogControl& control);

    CDialog* m_owner;
    const trovik::resources::DialogTemplate& m_template;
    DialogUnits m_units;
    std::vector<std::pair<int, QWidget*>> m_controls;  // template order
    std::vector<CWnd*> m_attached;
    QPointer<QWidget> m_pendingFocus;
};

// Runs a modal dialog and gives the window that was in front back the
// focus afterwards, also where no window manager does it.
int ExecModal(QDialog& dialog);
void ReactivateAfterModal(QWidget* previous);

// The dialog window a control belongs to, if any.
DialogWindow* DialogOf(QWidget* widget);

// The settings' single-byte texts in and out of the controls: Latin-1
// codes are kept, any other character becomes '?'. (Texts that are only
// shown, such as messages and titles, are UTF-8.)
QString QStringFromLatin1(const std::string& latin1);
std::string Latin1FromQString(const QString& text);

inline QString QStringFromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace afx
