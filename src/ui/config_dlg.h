#pragma once

#include <memory>

#include "framework/afxwin.h"
#include "platform/file_access.h"
#include "resources/resource.h"
#include "settings/settings_fields.h"
#include "settings/tracker_settings.h"
#include "ui/programming_ports.h"

// The main dialog: both configurations in the same places, one shown at a
// time, and the two actions that use them both.
class CConfigDlg : public CDialog {
public:
    explicit CConfigDlg(CWnd* pParent = nullptr);
    ~CConfigDlg() override;

    enum { IDD = IDD_TROVIK_DIALOG };

    // Where "Program PIC" programs; the machine's serial ports unless set.
    // The ports must outlive the dialog.
    void SetProgrammingPorts(CProgrammingPorts& ports) { m_pPorts = &ports; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The dialog's OK command is "Program PIC"; the dialog stays open.
    void OnOK() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnConfiguration1();
    afx_msg void OnConfiguration2();
    afx_msg void OnCreateHexFile();
    void OnProgramPic();

    DECLARE_MESSAGE_MAP()

private:
    void ExchangeField(CDataExchange* pDX, const trovik::SettingsField& field);
    void ShowConfiguration(int shown);
    CProgrammingPorts& Ports();

    trovik::TrackerSettings m_settings;
    HICON m_hIcon;
    trovik::SystemFileAccess m_files;
    CProgrammingPorts* m_pPorts = nullptr;
    std::unique_ptr<CProgrammingPorts> m_machinePorts;

    // The controls of the twelve configuration pairs, for showing and hiding.
    CEdit m_callsign1, m_callsign2;
    CEdit m_ssid1, m_ssid2;
    CEdit m_path1, m_path2;
    CEdit m_autoInterval1, m_autoInterval2;
    CEdit m_manualInterval1, m_manualInterval2;
    CEdit m_quietTime1, m_quietTime2;
    CEdit m_slowSpeed1, m_slowSpeed2;
    CEdit m_iconCode1, m_iconCode2;
    CButton m_altIconTable1, m_altIconTable2;
    CComboBox m_messageBits1, m_messageBits2;
    CEdit m_beaconText1, m_beaconText2;
    CEdit m_beaconEvery1, m_beaconEvery2;
    CComboBox m_comPort;
};
