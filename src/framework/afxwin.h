#pragma once

// A small dialog framework on Qt 6 Widgets, in the classic style: one
// application object, modal dialogs built from templates in resources/,
// data exchange with validation, message boxes and message maps.
//
// This header includes no Qt header: the program's own code stays free of
// Qt, and only framework/ talks to it.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "resources/standard_ids.h"

class QWidget;

using UINT = unsigned int;
using BYTE = std::uint8_t;
using BOOL = int;
using LPARAM = std::intptr_t;
using INT_PTR = std::intptr_t;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Marks message handlers; they are ordinary member functions.
#define afx_msg

inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT ID_HELP = 0xE146;   // the Help command (F1)
inline constexpr UINT SC_CLOSE = 0xF060;  // the system menu's Close
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

class CCmdTarget;
class CWnd;
class CDataExchange;

// A loaded icon; the framework keeps it for the program's life.
struct AfxIcon;
using HICON = const AfxIcon*;

// ---------------------------------------------------------------------------
// Message maps

using AFX_PMSG = void (CCmdTarget::*)();
using AFX_PMSG_SYSCOMMAND = void (CWnd::*)(UINT, LPARAM);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND or WM_SYSCOMMAND; 0 ends the map
    UINT nID;       // the command, or the control whose click it is
    AFX_PMSG pfn;
    AFX_PMSG_SYSCOMMAND pfnSysCommand;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
    static const AFX_MSGMAP* GetThisMessageMap();       \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                  \
        {0, 0, nullptr, nullptr}};                                                         \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, messageEntries}; \
        return &messageMap;                                                                \
    }

// A command, or a click on the push button, radio button or check box with
// that id: a button's click is the command of its id.
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(id), static_cast<AFX_PMSG>(memberFxn), nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, nullptr, static_cast<AFX_PMSG_SYSCOMMAND>(&ThisClass::OnSysCommand)},

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget();

    // Runs the handler of command nID from this object's message map or its
    // bases'. FALSE when none handles it.
    virtual BOOL OnCmdMsg(UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nID) const;
};

// ---------------------------------------------------------------------------
// Windows

// The system menu: on Windows the window's real one; elsewhere the
// dialog's context menu (right click on its background, Alt+Space, or the
// Menu key / Shift+F10 away from an edit box).
class CMenu {
public:
    struct Item {
        UINT nFlags;
        UINT nID;
        std::string text;  // '&' marks the mnemonic; "\t" starts the shortcut's text
    };

    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const std::string& text = {});
    const std::vector<Item>& Items() const { return m_items; }

private:
    friend class CWnd;
    QWidget* m_owner = nullptr;
    std::vector<Item> m_items;
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // The Qt widget this object stands for, once created or attached.
    QWidget* m_hWnd = nullptr;
    QWidget* GetSafeHwnd() const { return m_hWnd; }

    CWnd* GetDlgItem(int nID) const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void SetFocus();
    void SetIcon(HICON hIcon, BOOL bBigIcon);
    CMenu* GetSystemMenu(BOOL bRevert);
    void CenterWindow();

    // Moves data between the controls and the members: from the controls,
    // with the checks, when bSaveAndValidate is TRUE. FALSE when a check
    // failed; its message has been shown and the focus moved.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // A command from a control, a key or a menu: this window's message map
    // first, then the application's.
    BOOL OnCommand(UINT nID);
    // A system-menu command, as if chosen from the menu.
    void SendSysCommand(UINT nID, LPARAM lParam = 0);

protected:
    // Default processing of system-menu commands: Close closes the window.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend class CDialog;
    std::unique_ptr<CMenu> m_pSysMenu;
    mutable std::map<int, std::unique_ptr<CWnd>> m_tempItems;
};

class CEdit : public CWnd {};
class CButton : public CWnd {};
class CComboBox : public CWnd {
public:
    // A tip for entry nIndex, shown over the dropped-down entry and over the
    // list while that entry is selected.
    BOOL SetItemToolTip(int nIndex, const std::string& text);
};

namespace afx { class DialogWindow; }

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the window, initialises it, centres it and runs it until
    // EndDialog. IDOK, IDCANCEL, or -1 when it could not be built or
    // initialised.
    virtual INT_PTR DoModal();
    // Builds, initialises and shows the window without waiting for it:
    // for tests and for windows beside others. FALSE when it failed.
    BOOL Create(CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    friend class afx::DialogWindow;
    BOOL CreateDialogWindow(CWnd* pParentWnd);
    BOOL InitDialogWindow();
    void DestroyDialogWindow();
    void WindowDestroyed();

    afx::DialogWindow* m_pWindow = nullptr;
    bool m_bEnded = false;
    int m_nModalResult = -1;
};

// ---------------------------------------------------------------------------
// Data exchange

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: from the controls, with the checks
    CWnd* m_pDlgWnd;

    // The control the next check is about; Fail() focuses it.
    QWidget* PrepareCtrl(int nIDC);
    QWidget* PrepareEditCtrl(int nIDC);
    QWidget* LastControl() const { return m_pLastControl; }
    // Ends the exchange after a failed check whose message has been shown:
    // the focus goes to the last prepared control, an edit box with its
    // whole text selected, even when that control is hidden (then it takes
    // the focus when it is shown).
    [[noreturn]] void Fail();

private:
    QWidget* m_pLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Thrown by CDataExchange::Fail and caught by UpdateData.
class CUserException {};

// Numbers follow the number-text rules of settings/; texts are single-byte
// (Latin-1) strings: a character without a Latin-1 code becomes '?'.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// value: the index of the checked button in the group that nIDC starts, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Attaches rControl to the control, at the first exchange only.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
// Loading limits the edit box; reading checks the length.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);

// ---------------------------------------------------------------------------
// The application

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // Called once after the framework's start-up. TRUE runs the message
    // loop until the main window closes; FALSE ends the program at once.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    HICON LoadIcon(UINT nIDResource) const;

    // The Help command: a short built-in help window with HelpText().
    afx_msg void OnHelp();
    virtual std::string HelpText() const;

    CWnd* m_pMainWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's title: the executable's file name without its extension.
std::string AfxGetAppName();
// The program's entry: starts Qt, runs the application object's
// InitInstance and returns the exit code.
int AfxWinMain(int argc, char* argv[]);

// A string of the program's string table; empty when there is none.
std::string AfxLoadString(UINT nID);

// A modal box with one OK button, the exclamation icon and the
// application's title. Returns IDOK. Texts that are only shown (messages,
// titles, menu items, help) are UTF-8.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK, UINT nIDHelp = 0);

// Tests: a hook that receives every message box instead of the user.
using AfxMessageBoxHook = std::function<int(const std::string& text, UINT nType)>;
AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook);
