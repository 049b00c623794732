#pragma once

#include "framework/afxwin.h"
#include "resources/resource.h"

// The About box: the program's name and version and the maker's notice.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    enum { IDD = IDD_ABOUTBOX };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
