// The application object, the program's entry, message boxes, strings,
// icons and the built-in help.

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <map>

#include "framework/afxwin.h"
#include "framework/dialog_window.h"
#include "framework/icons.h"
#include "resources/resource_data.h"

namespace {

CWinApp* theOneApp = nullptr;
AfxMessageBoxHook messageBoxHook;

// The conventional number of the program's own icon.
constexpr UINT kMainIconId = 128;

// The window a new modal box belongs to: the one in front, else the main one.
QWidget* OwnerForModalBox() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->m_hWnd : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp() { theOneApp = this; }

CWinApp::~CWinApp() {
    if (theOneApp == this) theOneApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    // Loaded once and kept: as images, which outlive the Qt application.
    static std::map<UINT, AfxIcon> loaded;
    if (auto it = loaded.find(nIDResource); it != loaded.end()) return &it->second;
    const trovik::resources::IconResource* icon = trovik::resources::FindIcon(static_cast<int>(nIDResource));
    if (icon == nullptr) return nullptr;
    AfxIcon& out = loaded[nIDResource];
    for (const trovik::resources::IconImage& image : icon->images) out.images.push_back(afx::IconImage(*icon, image));
    return &out;
}

std::string CWinApp::HelpText() const { return {}; }

void CWinApp::OnHelp() {
    std::string text = HelpText();
    if (text.empty()) text = "There is no help for " + AfxGetAppName() + ".";

    QDialog help(OwnerForModalBox());
    help.setWindowTitle(afx::QStringFromUtf8(AfxGetAppName() + " Help"));
    help.setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(&help);
    auto* view = new QPlainTextEdit(&help);
    view->setReadOnly(true);
    view->setPlainText(afx::QStringFromUtf8(text));
    view->setObjectName(QStringLiteral("helpText"));
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &help);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &help, &QDialog::reject);
    layout->addWidget(buttons);
    const QFontMetrics metrics(help.font());
    help.resize(metrics.averageCharWidth() * 90, metrics.height() * 32);
    afx::ExecModal(help);
}

CWinApp* AfxGetApp() { return theOneApp; }

CWnd* AfxGetMainWnd() { return theOneApp != nullptr ? theOneApp->m_pMainWnd : nullptr; }

std::string AfxGetAppName() {
    if (QCoreApplication::instance() == nullptr) return {};
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

std::string AfxLoadString(UINT nID) {
    return std::string(trovik::resources::LoadResourceString(static_cast<int>(nID)));
}

int AfxMessageBox(const std::string& text, UINT nType, UINT) {
    if (messageBoxHook) return messageBoxHook(text, nType);
    // The program gives no icon of its own to any box; every box gets the
    // exclamation mark.
    QMessageBox box(QMessageBox::Warning, afx::QStringFromUtf8(AfxGetAppName()), afx::QStringFromUtf8(text),
                    QMessageBox::Ok, OwnerForModalBox());
    box.setWindowModality(Qt::ApplicationModal);
    afx::ExecModal(box);
    return IDOK;
}

AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook) {
    AfxMessageBoxHook previous = std::move(messageBoxHook);
    messageBoxHook = std::move(hook);
    return previous;
}

int AfxWinMain(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return 1;

    const trovik::resources::VersionInfo& version = trovik::resources::GetVersionInfo();
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4")
                                                .arg(version.productVersion[0])
                                                .arg(version.productVersion[1])
                                                .arg(version.productVersion[2])
                                                .arg(version.productVersion[3]));
    // Lets desktops match the windows with the installed .desktop file.
    QGuiApplication::setDesktopFileName(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    if (HICON icon = app->LoadIcon(kMainIconId)) QApplication::setWindowIcon(afx::IconToQIcon(icon));

    int code = 0;
    if (app->InitInstance() && app->m_pMainWnd != nullptr) code = QApplication::exec();
    const int exitCode = app->ExitInstance();
    return exitCode != 0 ? exitCode : code;
}
