// Command targets, windows, menus and dialogs.

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "framework/afxwin.h"
#include "framework/dialog_window.h"
#include "framework/icons.h"
#include "framework/native_system_menu.h"
#include "resources/resource_data.h"

// ---------------------------------------------------------------------------
// CCmdTarget

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, entries};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nID) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage != 0; ++entry)
            if (entry->nMessage == nMessage && (nMessage == WM_SYSCOMMAND || entry->nID == nID)) return entry;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, nID);
    if (entry == nullptr) return FALSE;
    (this->*(entry->pfn))();
    return TRUE;
}

// ---------------------------------------------------------------------------
// CMenu

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const std::string& text) {
    m_items.push_back({nFlags, nIDNewItem, text});
#ifdef Q_OS_WIN
    if (m_owner != nullptr) return afx::AppendNativeSystemMenu(m_owner->winId(), nFlags, nIDNewItem, text);
#endif
    return TRUE;
}

// ---------------------------------------------------------------------------
// CWnd

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
    // A control object that goes before its dialog's window leaves the
    // window's list of attached objects.
    if (afx::DialogWindow* dialog = afx::DialogOf(m_hWnd); dialog != nullptr && dialog != m_hWnd)
        dialog->Forget(*this);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    auto* dialog = dynamic_cast<afx::DialogWindow*>(m_hWnd);
    QWidget* control = dialog != nullptr ? dialog->Control(nID) : nullptr;
    if (control == nullptr) return nullptr;
    if (CWnd* attached = dialog->AttachedTo(control)) return attached;
    std::unique_ptr<CWnd>& item = m_tempItems[nID];
    if (!item) item = std::make_unique<CWnd>();
    item->m_hWnd = control;
    return item.get();
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (m_hWnd == nullptr) return FALSE;
    const BOOL wasVisible = !m_hWnd->isHidden();
    m_hWnd->setVisible(nCmdShow != SW_HIDE);
    if (nCmdShow != SW_HIDE) {
        if (afx::DialogWindow* dialog = afx::DialogOf(m_hWnd); dialog != nullptr && dialog != m_hWnd)
            dialog->ControlShown(m_hWnd);
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const { return m_hWnd != nullptr && m_hWnd->isVisible(); }

void CWnd::SetFocus() {
    if (m_hWnd != nullptr) m_hWnd->setFocus(Qt::OtherFocusReason);
}

void CWnd::SetIcon(HICON hIcon, BOOL) {
    // Qt keeps one icon with all its sizes for both uses.
    if (m_hWnd != nullptr && hIcon != nullptr) m_hWnd->setWindowIcon(afx::IconToQIcon(hIcon));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    if (bRevert) m_pSysMenu.reset();
    if (!m_pSysMenu) {
        m_pSysMenu = std::make_unique<CMenu>();
#ifndef Q_OS_WIN
        // The stand-in for the system menu starts with what the window
        // manager's offers for a dialog.
        m_pSysMenu->m_items.push_back({MF_STRING, SC_CLOSE, "&Close\tAlt+F4"});
#endif
    }
    m_pSysMenu->m_owner = m_hWnd;
    return m_pSysMenu.get();
}

void CWnd::CenterWindow() {
    QWidget* window = m_hWnd;
    if (window == nullptr) return;
    QWidget* owner = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
    if (owner != nullptr && !owner->isVisible()) owner = nullptr;
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // Over the owner, or the screen's work area (without the task bar),
    // and never beyond that area.
    const QRect area = screen->availableGeometry();
    const QRect over = owner != nullptr ? owner->frameGeometry() : area;
    const QSize size = window->frameGeometry().size();
    QPoint topLeft = over.center() - QPoint(size.width() / 2, size.height() / 2);
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    window->move(topLeft);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    if (auto* dialog = dynamic_cast<afx::DialogWindow*>(m_hWnd); dialog != nullptr && bSaveAndValidate)
        dialog->ClearPendingFocus();
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::OnCommand(UINT nID) {
    if (OnCmdMsg(nID)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID);
}

void CWnd::SendSysCommand(UINT nID, LPARAM lParam) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_SYSCOMMAND, 0);
    if (entry != nullptr) (this->*(entry->pfnSysCommand))(nID, lParam);
    else OnSysCommand(nID, lParam);
}

void CWnd::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0u) == SC_CLOSE && m_hWnd != nullptr) m_hWnd->close();
}

// ---------------------------------------------------------------------------
// CComboBox

BOOL CComboBox::SetItemToolTip(int nIndex, const std::string& text) {
    auto* list = qobject_cast<QComboBox*>(m_hWnd);
    if (list == nullptr || nIndex < 0 || nIndex >= list->count()) return FALSE;
    list->setItemData(nIndex, afx::QStringFromUtf8(text), Qt::ToolTipRole);
    if (!list->property("afxTipFollowsSelection").toBool()) {
        list->setProperty("afxTipFollowsSelection", true);
        QObject::connect(list, &QComboBox::currentIndexChanged, list,
                         [list] { list->setToolTip(list->currentData(Qt::ToolTipRole).toString()); });
    }
    list->setToolTip(list->currentData(Qt::ToolTipRole).toString());
    return TRUE;
}

// ---------------------------------------------------------------------------
// CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() { DestroyDialogWindow(); }

BOOL CDialog::CreateDialogWindow(CWnd* pParentWnd) {
    DestroyDialogWindow();
    const trovik::resources::DialogTemplate* dialogTemplate =
        trovik::resources::FindDialogTemplate(static_cast<int>(m_nIDTemplate));
    if (dialogTemplate == nullptr) return FALSE;
    // Without a parent of its own a dialog belongs to the main window,
    // unless it is the main window.
    CWnd* parent = pParentWnd != nullptr ? pParentWnd : m_pParentWnd;
    if (parent == nullptr && AfxGetMainWnd() != this) parent = AfxGetMainWnd();
    QWidget* parentWidget = parent != nullptr ? parent->m_hWnd : nullptr;
    m_pWindow = new afx::DialogWindow(*this, *dialogTemplate, parentWidget);
    m_hWnd = m_pWindow;
    m_bEnded = false;
    m_nModalResult = -1;
    return TRUE;
}

BOOL CDialog::InitDialogWindow() {
    if (OnInitDialog() && !m_bEnded && m_pWindow != nullptr) m_pWindow->FocusFirstTabStop();
    return !m_bEnded && m_pWindow != nullptr;
}

void CDialog::DestroyDialogWindow() { delete m_pWindow; }

void CDialog::WindowDestroyed() {
    m_pWindow = nullptr;
    m_hWnd = nullptr;
    m_tempItems.clear();
    m_pSysMenu.reset();
}

INT_PTR CDialog::DoModal() {
    if (!CreateDialogWindow(nullptr)) return -1;
    INT_PTR result = m_nModalResult;
    if (InitDialogWindow()) {
        CenterWindow();
        m_pWindow->setWindowModality(Qt::ApplicationModal);
        QPointer<afx::DialogWindow> window(m_pWindow);
        const int code = afx::ExecModal(*window);
        result = window != nullptr ? code : m_nModalResult;
    } else {
        result = m_nModalResult;
    }
    DestroyDialogWindow();
    return result;
}

BOOL CDialog::Create(CWnd* pParentWnd) {
    if (!CreateDialogWindow(pParentWnd)) return FALSE;
    if (!InitDialogWindow()) {
        DestroyDialogWindow();
        return FALSE;
    }
    CenterWindow();
    m_pWindow->show();
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    if (m_pWindow != nullptr) m_pWindow->done(nResult);
}

BOOL CDialog::OnInitDialog() {
    if (m_pWindow == nullptr ||
        !m_pWindow->FillLists(trovik::resources::FindDialogInit(static_cast<int>(m_nIDTemplate))) ||
        !UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
