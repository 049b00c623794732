#include "ui/config_dlg.h"

#include <exception>

#include "framework/afxprogress.h"
#include "image/hex_export.h"
#include "image/template_image.h"
#include "platform/timing.h"
#include "programmer/programming_run.h"
#include "ui/about_dlg.h"

using trovik::FieldKind;
using trovik::ProgrammingOutcome;
using trovik::ProgrammingStatus;

namespace {

// Tells the progress box how far a run has come, and shows "Verify Failed"
// the moment it happens, while the chip is still in program mode.
class ProgressObserver : public trovik::ProgrammingObserver {
public:
    explicit ProgressObserver(CProgressSink& sink) : m_sink(sink) {}

    void OnProgress(std::size_t word, std::size_t programmed) override {
        const std::string line =
            word < trovik::kProgramWordCount
                ? "Programming word " + std::to_string(word + 1) + " of " +
                      std::to_string(trovik::kProgramWordCount) + "; " + std::to_string(programmed) +
                      " written so far."
                : "Programming the configuration word; " + std::to_string(programmed) + " words written.";
        m_sink.SetProgress(static_cast<int>(word), line);
    }

    void OnVerifyFailed(const ProgrammingOutcome&) override {
        m_sink.RunOnWindowThread([] { AfxMessageBox(trovik::kVerifyFailedMessage); });
    }

    bool StopRequested() override { return m_sink.StopRequested(); }

private:
    CProgressSink& m_sink;
};

}  // namespace

BEGIN_MESSAGE_MAP(CConfigDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_BN_CLICKED(IDC_CONFIGURATION1, &CConfigDlg::OnConfiguration1)
    ON_BN_CLICKED(IDC_CONFIGURATION2, &CConfigDlg::OnConfiguration2)
    ON_BN_CLICKED(IDC_CREATE_HEX_FILE, &CConfigDlg::OnCreateHexFile)
END_MESSAGE_MAP()

CConfigDlg::CConfigDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_hIcon(AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr) {}

CConfigDlg::~CConfigDlg() = default;

void CConfigDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BEACON_EVERY2, m_beaconEvery2);
    DDX_Control(pDX, IDC_BEACON_EVERY1, m_beaconEvery1);
    DDX_Control(pDX, IDC_BEACON_TEXT2, m_beaconText2);
    DDX_Control(pDX, IDC_BEACON_TEXT1, m_beaconText1);
    DDX_Control(pDX, IDC_MESSAGE_BITS2, m_messageBits2);
    DDX_Control(pDX, IDC_MESSAGE_BITS1, m_messageBits1);
    DDX_Control(pDX, IDC_ALT_ICON_TABLE2, m_altIconTable2);
    DDX_Control(pDX, IDC_ALT_ICON_TABLE1, m_altIconTable1);
    DDX_Control(pDX, IDC_ICON_CODE2, m_iconCode2);
    DDX_Control(pDX, IDC_ICON_CODE1, m_iconCode1);
    DDX_Control(pDX, IDC_SLOW_SPEED2, m_slowSpeed2);
    DDX_Control(pDX, IDC_SLOW_SPEED1, m_slowSpeed1);
    DDX_Control(pDX, IDC_QUIET_TIME2, m_quietTime2);
    DDX_Control(pDX, IDC_QUIET_TIME1, m_quietTime1);
    DDX_Control(pDX, IDC_MANUAL_INTERVAL2, m_manualInterval2);
    DDX_Control(pDX, IDC_MANUAL_INTERVAL1, m_manualInterval1);
    DDX_Control(pDX, IDC_AUTO_INTERVAL2, m_autoInterval2);
    DDX_Control(pDX, IDC_AUTO_INTERVAL1, m_autoInterval1);
    DDX_Control(pDX, IDC_PATH2, m_path2);
    DDX_Control(pDX, IDC_PATH1, m_path1);
    DDX_Control(pDX, IDC_SSID2, m_ssid2);
    DDX_Control(pDX, IDC_SSID1, m_ssid1);
    DDX_Control(pDX, IDC_CALLSIGN2, m_callsign2);
    DDX_Control(pDX, IDC_CALLSIGN1, m_callsign1);
    DDX_Control(pDX, IDC_COM_PORT, m_comPort);
    // The fields in their reading order, with the checks the command line
    // uses too; the first one rejected ends the exchange.
    for (const trovik::SettingsField& field : trovik::kSettingsFields) ExchangeField(pDX, field);
}

void CConfigDlg::ExchangeField(CDataExchange* pDX, const trovik::SettingsField& field) {
    switch (field.kind) {
        case FieldKind::Int:
        case FieldKind::Byte:
        case FieldKind::Text: {
            std::string text = trovik::FieldText(m_settings, field);
            DDX_Text(pDX, field.controlId, text);
            if (!pDX->m_bSaveAndValidate) {
                if (field.kind == FieldKind::Text) DDV_MaxChars(pDX, text, field.highest);
            } else if (auto message = trovik::ReadFieldText(m_settings, field, text)) {
                AfxMessageBox(*message, MB_ICONEXCLAMATION);
                pDX->Fail();
            }
            break;
        }
        case FieldKind::Flag: {
            int value = trovik::FieldIndex(m_settings, field);
            DDX_Check(pDX, field.controlId, value);
            trovik::ReadFieldIndex(m_settings, field, value);
            break;
        }
        case FieldKind::Index: {
            int value = trovik::FieldIndex(m_settings, field);
            if (field.id == trovik::FieldId::ShownProfile) DDX_Radio(pDX, field.controlId, value);
            else DDX_CBIndex(pDX, field.controlId, value);
            trovik::ReadFieldIndex(m_settings, field, value);
            break;
        }
    }
}

BOOL CConfigDlg::OnInitDialog() {
    if (!CDialog::OnInitDialog()) return FALSE;

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    const std::string aboutItem = AfxLoadString(IDS_ABOUTBOX);
    if (pSysMenu != nullptr && !aboutItem.empty()) {
        pSysMenu->AppendMenu(MF_SEPARATOR);
        pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutItem);
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    for (int i = 0; i < trovik::kComPortCount; ++i) {
        const std::string name = trovik::ComPortName(i);
        m_comPort.SetItemToolTip(i, name + " opens " + Ports().DeviceFor(name));
    }
    // The focus goes to the first tab stop, Configuration 1's icon number.
    return TRUE;
}

void CConfigDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0u) == static_cast<UINT>(IDM_ABOUTBOX)) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CConfigDlg::OnConfiguration1() { ShowConfiguration(0); }

void CConfigDlg::OnConfiguration2() { ShowConfiguration(1); }

// Shows one configuration's controls and hides the other's, pair by pair;
// nothing is read or written.
void CConfigDlg::ShowConfiguration(int shown) {
    CWnd* const pairs[][2] = {
        {&m_callsign1, &m_callsign2},
        {&m_ssid1, &m_ssid2},
        {&m_path1, &m_path2},
        {&m_autoInterval1, &m_autoInterval2},
        {&m_manualInterval1, &m_manualInterval2},
        {&m_quietTime1, &m_quietTime2},
        {&m_slowSpeed1, &m_slowSpeed2},
        {&m_iconCode1, &m_iconCode2},
        {&m_altIconTable1, &m_altIconTable2},
        {&m_messageBits1, &m_messageBits2},
        {&m_beaconText1, &m_beaconText2},
        {&m_beaconEvery1, &m_beaconEvery2},
    };
    for (CWnd* const* pair : pairs) {
        pair[shown]->ShowWindow(SW_SHOW);
        pair[1 - shown]->ShowWindow(SW_HIDE);
    }
}

void CConfigDlg::OnOK() { OnProgramPic(); }

void CConfigDlg::OnCreateHexFile() {
    if (!UpdateData(TRUE)) return;
    // Unlike a silent failure, every outcome gets its message: the saved
    // file, or what kept the template from being read or the file from
    // being written.
    AfxMessageBox(trovik::ExportHexFile(m_files, m_settings).message);
}

void CConfigDlg::OnProgramPic() {
    if (!UpdateData(TRUE)) return;
    const trovik::PortChoice port = trovik::PortNameForIndex(m_settings.comPortIndex);
    if (port.name.empty()) {
        AfxMessageBox(port.error);
        return;
    }

    // The run works on a copy, on a thread of its own, while a modal
    // progress box keeps the window painted and takes its input.
    const trovik::TrackerSettings settings = m_settings;
    CProgrammingPorts& ports = Ports();
    ProgrammingOutcome outcome;
    AfxRunWithProgress(AfxGetAppName(), "Entering program mode on " + port.name + "...",
                       static_cast<int>(trovik::kProgramWordCount), [&](CProgressSink& sink) {
                           ProgressObserver observer(sink);
                           trovik::SystemSleeper realSleeper;
                           trovik::Sleeper& sleeper = ports.SleeperFor(port.name, realSleeper);
                           if (&sleeper == &realSleeper) trovik::RaiseProcessPriority();
                           try {
                               outcome = trovik::RunProgramming(settings, m_files, trovik::kTemplateFileName,
                                                                port.name, ports.Ports(), sleeper, observer);
                           } catch (const std::exception& e) {
                               outcome.status = ProgrammingStatus::PortError;
                               outcome.message = std::string("Programming stopped: ") + e.what() +
                                                 ". The chip was taken out of program mode and the port "
                                                 "closed; program it again.";
                           } catch (...) {
                               outcome.status = ProgrammingStatus::PortError;
                               outcome.message = "Programming stopped after an unexpected error. The chip was "
                                                 "taken out of program mode and the port closed; program it again.";
                           }
                       });
    // "Verify Failed" has been shown during the run.
    if (outcome.status != ProgrammingStatus::VerifyFailed) AfxMessageBox(outcome.message);
}

CProgrammingPorts& CConfigDlg::Ports() {
    if (m_pPorts == nullptr) {
        m_machinePorts = MakeMachinePorts();
        m_pPorts = m_machinePorts.get();
    }
    return *m_pPorts;
}
