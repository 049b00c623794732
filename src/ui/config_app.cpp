#include "ui/config_app.h"

#include <filesystem>
#include <system_error>

#include "ui/config_dlg.h"
#include "ui/help_text.h"

BEGIN_MESSAGE_MAP(CConfigApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// The one application object.
CConfigApp theApp;

CConfigApp::CConfigApp() = default;

CConfigApp::~CConfigApp() = default;

BOOL CConfigApp::InitInstance() {
    m_ports = MakeProgrammingPorts(m_files);
    CConfigDlg dlg;
    dlg.SetProgrammingPorts(*m_ports);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // Closing the dialog ends the program; there is no message loop to run.
    return FALSE;
}

std::string CConfigApp::HelpText() const {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    const std::string summary =
        m_ports ? m_ports->Summary() : "COM1 to COM8 are the machine's first eight serial ports.";
    return ConfigHelpText(error ? std::string("the folder Trovik was started in") : folder.string(), summary);
}
