#pragma once

#include <memory>

#include "framework/afxwin.h"
#include "platform/file_access.h"
#include "ui/programming_ports.h"

// The application: runs the main dialog once and ends when it closes.
class CConfigApp : public CWinApp {
public:
    CConfigApp();
    ~CConfigApp() override;

    BOOL InitInstance() override;
    std::string HelpText() const override;

    DECLARE_MESSAGE_MAP()

private:
    trovik::SystemFileAccess m_files;
    std::unique_ptr<CProgrammingPorts> m_ports;
};

extern CConfigApp theApp;
