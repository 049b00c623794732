// The window, driven by keys and clicks on the offscreen platform.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QtTest>
#include <functional>
#include <map>
#include <memory>

#include "framework/afxwin.h"
#include "image/hex_export.h"
#include "platform/file_access.h"
#include "programmer/programming_run.h"
#include "programmer/word_table.h"
#include "resources/resource.h"
#include "resources/resource_data.h"
#include "settings/settings_fields.h"
#include "sim/simulated_chip.h"
#include "ui/config_app.h"
#include "ui/config_dlg.h"
#include "ui/programming_ports.h"

namespace {

const QString kSampleTemplate = QStringLiteral(TROVIK_SOURCE_DIR "/examples/TROVIK.HEX");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `check` on the next modal window (a message box, the About box, the
// help) once it is up; `check` must close it.
void WhenModalAppears(std::function<void(QWidget*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* popup = QApplication::activePopupWidget();
        QWidget* target = popup != nullptr ? popup : modal;
        if (target == nullptr || !target->isVisible() || target->property("seenByTest").toBool()) return;
        target->setProperty("seenByTest", true);
        timer->stop();
        timer->deleteLater();
        check(target);
    });
    timer->start();
}

}  // namespace

class ConfigDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void templateAgreesWithFieldTable();
    void openingState();
    void switchingKeepsTypedValues();
    void keyboardFilters_data();
    void keyboardFilters();
    void wrongValueInHiddenConfiguration();
    void onlyFirstWrongFieldReported();
    void messageBoxThenFocus();
    void enterStartsProgramPic_data();
    void enterStartsProgramPic();
    void createHexFileMatchesCli();
    void createHexFileProblems();
    void closingEndsProgram_data();
    void closingEndsProgram();
    void aboutBoxOpensAndCloses();
    void f1ShowsHelp();

private:
    QWidget* Control(int id) const { return m_dlg->GetDlgItem(id)->GetSafeHwnd(); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    QAbstractButton* Button(int id) const { return qobject_cast<QAbstractButton*>(Control(id)); }
    // Clicks into the box, selects its text and types over it.
    void TypeInto(int id, const QString& text) {
        QLineEdit* edit = Edit(id);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        for (QChar c : text) {
            if (c.unicode() < 0x80) QTest::keyClick(edit, c.toLatin1());
            else QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        }
    }
    void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_previousFolder;
    trovik::SystemFileAccess m_files;
    std::unique_ptr<CSimulatedPorts> m_ports;
    std::unique_ptr<CConfigDlg> m_dlg;
    std::vector<std::string> m_messages;
};

void ConfigDlgTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QFile::copy(kSampleTemplate, m_folder->filePath(QStringLiteral("TROVIK.HEX"))));
    m_previousFolder = QDir::currentPath();
    QDir::setCurrent(m_folder->path());

    m_messages.clear();
    AfxSetMessageBoxHook([this](const std::string& text, UINT) {
        m_messages.push_back(text);
        return IDOK;
    });
    m_ports = std::make_unique<CSimulatedPorts>(m_files, "sim");
    m_dlg = std::make_unique<CConfigDlg>();
    m_dlg->SetProgrammingPorts(*m_ports);
    QVERIFY(m_dlg->Create());
    QVERIFY(QTest::qWaitForWindowActive(m_dlg->GetSafeHwnd()));
}

void ConfigDlgTest::cleanup() {
    m_dlg.reset();
    m_ports.reset();
    AfxSetMessageBoxHook(nullptr);
    QDir::setCurrent(m_previousFolder);
    m_folder.reset();
}

void ConfigDlgTest::templateAgreesWithFieldTable() {
    namespace rs = trovik::resources;
    const rs::DialogTemplate* dialogTemplate = rs::FindDialogTemplate(IDD_TROVIK_DIALOG);
    QCOMPARE(dialogTemplate->controls.size(), std::size_t{53});
    for (const trovik::SettingsField& field : trovik::kSettingsFields) {
        const rs::DialogControl* control = nullptr;
        for (const rs::DialogControl& c : dialogTemplate->controls)
            if (c.id == field.controlId) control = &c;
        QVERIFY2(control != nullptr, qPrintable(QString::number(field.controlId)));
        const bool number = field.kind == trovik::FieldKind::Int || field.kind == trovik::FieldKind::Byte;
        if (number || field.kind == trovik::FieldKind::Text) {
            QCOMPARE(control->kind, rs::ControlKind::Edit);
            QCOMPARE((control->style & rs::kDigitsOnly) != 0, number);
            QCOMPARE((control->style & rs::kUpperCase) != 0, field.upperCase);
        }
        // Configuration 2's controls start hidden, everything else shown.
        QCOMPARE((control->style & rs::kVisible) != 0, field.profile != 1);
    }
    // The lists' entries are the settings' own, in index order.
    std::map<int, std::vector<std::string>> lists;
    for (const rs::DialogInitEntry& entry : rs::FindDialogInit(IDD_TROVIK_DIALOG))
        lists[entry.controlId].emplace_back(entry.text);
    const std::vector<std::string> messages(trovik::kMessageListEntries.begin(), trovik::kMessageListEntries.end());
    QCOMPARE(lists[IDC_MESSAGE_BITS1], messages);
    QCOMPARE(lists[IDC_MESSAGE_BITS2], messages);
    QCOMPARE(lists[IDC_COM_PORT].size(), std::size_t{trovik::kComPortCount});
    for (int i = 0; i < trovik::kComPortCount; ++i)
        QCOMPARE(lists[IDC_COM_PORT][static_cast<std::size_t>(i)], trovik::ComPortName(i));
}

void ConfigDlgTest::openingState() {
    QWidget* window = m_dlg->GetSafeHwnd();
    QCOMPARE(window->windowTitle(), QStringLiteral("Trovik  APRS Configuration"));
    QVERIFY(Button(IDC_CONFIGURATION1)->isChecked());
    QVERIFY(!Button(IDC_CONFIGURATION2)->isChecked());

    // Configuration 1 shown with its defaults; Configuration 2 hidden, but
    // already holding its own.
    const struct {
        int id1, id2;
        const char *text1, *text2;
    } boxes[] = {
        {IDC_CALLSIGN1, IDC_CALLSIGN2, "MYCALL", "MYCALL"},
        {IDC_SSID1, IDC_SSID2, "0", "1"},
        {IDC_AUTO_INTERVAL1, IDC_AUTO_INTERVAL2, "180", "150"},
        {IDC_MANUAL_INTERVAL1, IDC_MANUAL_INTERVAL2, "180", "150"},
        {IDC_BEACON_TEXT1, IDC_BEACON_TEXT2, "Configuration 1 Beacon Text", "Configuration 2 Beacon Text"},
        {IDC_PATH1, IDC_PATH2, "RELAY,WIDE,WIDE", "RELAY,WIDE,WIDE"},
    };
    for (const auto& box : boxes) {
        QVERIFY(Edit(box.id1)->isVisible());
        QVERIFY(!Edit(box.id2)->isVisible());
        QCOMPARE(Edit(box.id1)->text(), QString::fromLatin1(box.text1));
        QCOMPARE(Edit(box.id2)->text(), QString::fromLatin1(box.text2));
    }
    QVERIFY(!qobject_cast<QCheckBox*>(Control(IDC_ALT_ICON_TABLE1))->isChecked());
    QCOMPARE(qobject_cast<QComboBox*>(Control(IDC_MESSAGE_BITS1))->currentText(), QStringLiteral("Off Duty"));
    QCOMPARE(qobject_cast<QComboBox*>(Control(IDC_MESSAGE_BITS2))->currentText(), QStringLiteral("Off Duty"));
    auto* ports = qobject_cast<QComboBox*>(Control(IDC_COM_PORT));
    QCOMPARE(ports->count(), 8);
    QCOMPARE(ports->currentText(), QStringLiteral("COM1"));
    QVERIFY(ports->toolTip().contains(QStringLiteral("simulated chip")));

    // The focus starts on the first tab stop, and Tab walks the visible tab
    // stops in template order, past the radio buttons and around again.
    std::vector<QWidget*> tabStops;
    const auto* dialogTemplate = trovik::resources::FindDialogTemplate(IDD_TROVIK_DIALOG);
    for (const auto& control : dialogTemplate->controls)
        if ((control.style & trovik::resources::kTabStop) && (control.style & trovik::resources::kVisible))
            tabStops.push_back(Control(control.id));
    QCOMPARE(tabStops.size(), std::size_t{18});
    QCOMPARE(QApplication::focusWidget(), Control(IDC_ICON_CODE1));
    QCOMPARE(Edit(IDC_ICON_CODE1)->selectedText(), QStringLiteral("3E"));
    for (std::size_t i = 1; i <= tabStops.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), tabStops[i % tabStops.size()]);
    }
}

void ConfigDlgTest::switchingKeepsTypedValues() {
    TypeInto(IDC_CALLSIGN1, QStringLiteral("AB1CD"));
    Click(IDC_CONFIGURATION2);
    QVERIFY(Button(IDC_CONFIGURATION2)->isChecked());
    QVERIFY(!Edit(IDC_CALLSIGN1)->isVisible());
    QVERIFY(Edit(IDC_CALLSIGN2)->isVisible());
    QVERIFY(Control(IDC_MESSAGE_BITS2)->isVisible() && !Control(IDC_MESSAGE_BITS1)->isVisible());
    TypeInto(IDC_CALLSIGN2, QStringLiteral("XY2Z"));
    TypeInto(IDC_SSID2, QStringLiteral("7"));

    Click(IDC_CONFIGURATION1);
    Click(IDC_CONFIGURATION1);  // the checked one again changes nothing
    QVERIFY(Edit(IDC_CALLSIGN1)->isVisible() && !Edit(IDC_CALLSIGN2)->isVisible());
    QCOMPARE(Edit(IDC_CALLSIGN1)->text(), QStringLiteral("AB1CD"));
    QCOMPARE(Edit(IDC_CALLSIGN2)->text(), QStringLiteral("XY2Z"));
    QCOMPARE(Edit(IDC_SSID2)->text(), QStringLiteral("7"));
    QVERIFY(m_messages.empty());
}

void ConfigDlgTest::keyboardFilters_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits only") << IDC_SSID1 << QStringLiteral("1a-2 ") << QStringLiteral("12");
    QTest::newRow("shared digits only") << IDC_AUTO_TXDELAY << QStringLiteral("x300") << QStringLiteral("300");
    QTest::newRow("capitals") << IDC_PATH1 << QStringLiteral("wide1-1,éa") << QStringLiteral("WIDE1-1,ÉA");
    QTest::newRow("callsign limit") << IDC_CALLSIGN1 << QStringLiteral("abcdefgh") << QStringLiteral("ABCDEF");
    QTest::newRow("path limit") << IDC_PATH1 << QString(30, QLatin1Char('w')) << QString(27, QLatin1Char('W'));
    QTest::newRow("beacon text keeps case, limit") << IDC_BEACON_TEXT1 << QString(55, QLatin1Char('b'))
                                                   << QString(50, QLatin1Char('b'));
    QTest::newRow("icon number limit") << IDC_ICON_CODE1 << QStringLiteral("5fx") << QStringLiteral("5f");
}

void ConfigDlgTest::keyboardFilters() {
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TypeInto(id, typed);
    QCOMPARE(Edit(id)->text(), shown);
}

void ConfigDlgTest::wrongValueInHiddenConfiguration() {
    Click(IDC_CONFIGURATION2);
    TypeInto(IDC_SSID2, QStringLiteral("16"));
    Click(IDC_CONFIGURATION1);

    Click(IDC_CREATE_HEX_FILE);
    QCOMPARE(m_messages, std::vector<std::string>{"Please enter an integer between 0 and 15."});
    QVERIFY(!QFile::exists(QStringLiteral("OUTPUT.HEX")));
    // Configuration 1 stays in view; the wrong box takes the focus, its
    // text selected, as soon as its configuration is shown.
    QVERIFY(Edit(IDC_CALLSIGN1)->isVisible());
    QVERIFY(!Edit(IDC_SSID2)->isVisible());
    Click(IDC_CONFIGURATION2);
    QCOMPARE(QApplication::focusWidget(), Control(IDC_SSID2));
    QCOMPARE(Edit(IDC_SSID2)->selectedText(), QStringLiteral("16"));
}

void ConfigDlgTest::onlyFirstWrongFieldReported() {
    TypeInto(IDC_SSID1, QStringLiteral("16"));
    Click(IDC_CONFIGURATION2);
    TypeInto(IDC_SSID2, QStringLiteral("300"));
    Click(IDC_CONFIGURATION1);
    TypeInto(IDC_AUTO_TXDELAY, QStringLiteral("34"));

    // Step by step in reading order: the TX delay, then each SSID.
    const struct {
        const char* message;
        int focus;
        const char* fix;
    } rounds[] = {
        {"Please enter an integer between 35 and 1700.", IDC_AUTO_TXDELAY, "35"},
        {"Please enter an integer between 0 and 15.", IDC_SSID1, "15"},
        {"Please enter an integer between 0 and 255.", IDC_SSID2, "0"},
    };
    for (const auto& round : rounds) {
        m_messages.clear();
        Click(IDC_CREATE_HEX_FILE);
        QCOMPARE(m_messages, std::vector<std::string>{round.message});
        if (round.focus == IDC_SSID2) Click(IDC_CONFIGURATION2);
        QCOMPARE(QApplication::focusWidget(), Control(round.focus));
        QCOMPARE(Edit(round.focus)->selectedText(), Edit(round.focus)->text());
        QTest::keyClicks(Edit(round.focus), QString::fromLatin1(round.fix));
    }
    m_messages.clear();
    Click(IDC_CREATE_HEX_FILE);
    QCOMPARE(m_messages, std::vector<std::string>{"Hex file saved as OUTPUT.HEX."});
}

void ConfigDlgTest::messageBoxThenFocus() {
    AfxSetMessageBoxHook(nullptr);
    TypeInto(IDC_QUIET_TIME1, QStringLiteral("256"));
    QTest::mouseClick(Edit(IDC_CALLSIGN1), Qt::LeftButton);

    bool seen = false;
    WhenModalAppears([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        seen = true;
        QCOMPARE(box->windowTitle(), QString::fromStdString(AfxGetAppName()));
        QCOMPARE(box->text(), QStringLiteral("Please enter an integer between 0 and 255."));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().front()->text().remove(QLatin1Char('&')), QStringLiteral("OK"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::keyClick(Edit(IDC_CALLSIGN1), Qt::Key_Return);
    QVERIFY(seen);
    QTRY_COMPARE(QApplication::focusWidget(), Control(IDC_QUIET_TIME1));
    QCOMPARE(Edit(IDC_QUIET_TIME1)->selectedText(), QStringLiteral("256"));
}

void ConfigDlgTest::enterStartsProgramPic_data() {
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QString>("message");
    QTest::newRow("programmed") << QStringLiteral("sim") << QStringLiteral("Pic Programmed Successfully");
    QTest::newRow("a word that will not take") << QStringLiteral("sim:fail-at=40") << QStringLiteral("Verify Failed");
    QTest::newRow("no chip") << QStringLiteral("sim:absent") << QStringLiteral("Verify Failed");
    QTest::newRow("port that cannot be opened") << QStringLiteral("sim:no-such-option") << QString();
}

void ConfigDlgTest::enterStartsProgramPic() {
    QFETCH(QString, chip);
    QFETCH(QString, message);
    CSimulatedPorts ports(m_files, chip.toStdString());
    m_dlg->SetProgrammingPorts(ports);
    TypeInto(IDC_CALLSIGN1, QStringLiteral("n0call"));

    QTest::keyClick(Edit(IDC_CALLSIGN1), Qt::Key_Return);

    QCOMPARE(m_messages.size(), std::size_t{1});
    QCOMPARE(ports.LastPortAsked(), std::string("COM1"));
    QVERIFY(m_dlg->GetSafeHwnd()->isVisible());
    QCOMPARE(Edit(IDC_CALLSIGN1)->text(), QStringLiteral("N0CALL"));
    if (message.isEmpty()) {
        // The port's own message, whatever its words.
        QVERIFY(m_messages[0] != trovik::kProgrammedMessage && m_messages[0] != trovik::kVerifyFailedMessage);
        QVERIFY(m_messages[0].size() > 20);
        return;
    }
    QCOMPARE(QString::fromStdString(m_messages[0]), message);
    if (message != QLatin1String(trovik::kProgrammedMessage)) return;

    // The chip holds the image the export would write.
    trovik::TrackerSettings settings;
    settings.profiles[0].callsign = "N0CALL";
    const trovik::ImageResult image = trovik::BuildImageFromTemplate(m_files, settings);
    QVERIFY(image.image);
    const trovik::WordTable words = trovik::BuildWordTable(*image.image);
    const trovik::SimulatedChip* programmed = ports.Chip();
    QVERIFY(programmed != nullptr);
    for (std::size_t i = 0; i < words.size(); ++i) QCOMPARE(programmed->ProgramWord(i), words[i]);
    QCOMPARE(programmed->ConfigurationWord(), trovik::kConfigurationWord);
}

void ConfigDlgTest::createHexFileMatchesCli() {
    // Each row is typed into the window and given to trovik-cli as --set.
    const struct {
        int id;
        const char* key;
        const char* value;
    } typed[] = {
        {IDC_CALLSIGN1, "configuration1.callsign", "n0call"},
        {IDC_SSID1, "configuration1.ssid", "5"},
        {IDC_PATH1, "configuration1.path", "wide1-1,wide2-2"},
        {IDC_BEACON_TEXT1, "configuration1.beaconText", "Hello from the window"},
        {IDC_QUIET_TIME1, "configuration1.quietTimeSecs", "0"},
        {IDC_AUTO_TXDELAY, "autoTxDelayMs", "450"},
        {IDC_CALLSIGN2, "configuration2.callsign", "ab9xyz"},
        {IDC_AUTO_INTERVAL2, "configuration2.autoIntervalSecs", "2550"},
        {IDC_ICON_CODE2, "configuration2.iconCode", "2f"},
    };
    QStringList arguments{QStringLiteral("export")};
    for (const auto& row : typed) {
        const bool second = trovik::FindFieldByControl(row.id)->profile == 1;
        Click(second ? IDC_CONFIGURATION2 : IDC_CONFIGURATION1);
        TypeInto(row.id, QString::fromUtf8(row.value));
        arguments << QStringLiteral("--set") << QStringLiteral("%1=%2").arg(row.key, row.value);
    }
    Click(IDC_ALT_ICON_TABLE2);
    arguments << QStringLiteral("--set") << QStringLiteral("configuration2.useAltIconTable=true");
    auto* messageBits = qobject_cast<QComboBox*>(Control(IDC_MESSAGE_BITS2));
    messageBits->setFocus();
    QTest::keyClick(messageBits, Qt::Key_Down);
    QTest::keyClick(messageBits, Qt::Key_Down);
    QCOMPARE(messageBits->currentText(), QStringLiteral("In Service"));
    arguments << QStringLiteral("--set") << QStringLiteral("configuration2.messageCode=In Service");

    Click(IDC_CREATE_HEX_FILE);
    QCOMPARE(m_messages, std::vector<std::string>{"Hex file saved as OUTPUT.HEX."});
    const QByteArray fromWindow = ReadAll(QStringLiteral("OUTPUT.HEX"));
    QCOMPARE(fromWindow.size(), 5801);

    QTemporaryDir cliFolder;
    QVERIFY(QFile::copy(kSampleTemplate, cliFolder.filePath(QStringLiteral("TROVIK.HEX"))));
    QProcess cli;
    cli.setWorkingDirectory(cliFolder.path());
    cli.start(QStringLiteral(TROVIK_CLI), arguments);
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(fromWindow, ReadAll(cliFolder.filePath(QStringLiteral("OUTPUT.HEX"))));
    QVERIFY(fromWindow != ReadAll(kSampleTemplate).left(5801));
}

void ConfigDlgTest::createHexFileProblems() {
    // No template: its message, and no file.
    QVERIFY(QFile::remove(QStringLiteral("TROVIK.HEX")));
    Click(IDC_CREATE_HEX_FILE);
    QCOMPARE(m_messages.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(m_messages[0]).contains(QStringLiteral("TROVIK.HEX")));
    QVERIFY(!QFile::exists(QStringLiteral("OUTPUT.HEX")));

    // A read-only OUTPUT.HEX: its message, and the file as it was.
    QVERIFY(QFile::copy(kSampleTemplate, QStringLiteral("TROVIK.HEX")));
    {
        QFile old(QStringLiteral("OUTPUT.HEX"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    QFile::setPermissions(QStringLiteral("OUTPUT.HEX"), QFileDevice::ReadOwner);
    m_messages.clear();
    Click(IDC_CREATE_HEX_FILE);
    QCOMPARE(m_messages.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(m_messages[0]).contains(QStringLiteral("OUTPUT.HEX")));
    QVERIFY(m_messages[0] != "Hex file saved as OUTPUT.HEX.");
    QCOMPARE(ReadAll(QStringLiteral("OUTPUT.HEX")), QByteArray("old contents"));
    QFile::setPermissions(QStringLiteral("OUTPUT.HEX"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void ConfigDlgTest::closingEndsProgram_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("Quit") << QStringLiteral("quit");
    QTest::newRow("Alt+F4") << QStringLiteral("alt-f4");
    QTest::newRow("close box") << QStringLiteral("close");
}

void ConfigDlgTest::closingEndsProgram() {
    QFETCH(QString, how);
    m_dlg.reset();
    bool closed = false;
    WhenModalAppears([&](QWidget* window) {
        QCOMPARE(window->windowTitle(), QStringLiteral("Trovik  APRS Configuration"));
        QVERIFY(QTest::qWaitForWindowActive(window));
        // Something typed first, to be thrown away.
        auto* callsign = window->findChild<QLineEdit*>(QStringLiteral("control1001"));
        QTest::keyClicks(callsign, QStringLiteral("Q"));
        if (how == QLatin1String("escape")) QTest::keyClick(callsign, Qt::Key_Escape);
        if (how == QLatin1String("quit"))
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("control2")), Qt::LeftButton);
        if (how == QLatin1String("alt-f4")) QTest::keyClick(callsign, Qt::Key_F4, Qt::AltModifier);
        if (how == QLatin1String("close")) window->close();
        closed = !window->isVisible();
        if (!closed) window->hide();  // let the test end all the same
    });
    QCOMPARE(theApp.InitInstance(), FALSE);
    QVERIFY(closed);
    QCOMPARE(AfxGetMainWnd(), nullptr);
}

void ConfigDlgTest::aboutBoxOpensAndCloses() {
    TypeInto(IDC_CALLSIGN1, QStringLiteral("KEEPME"));
    QWidget* window = m_dlg->GetSafeHwnd();
    bool menuSeen = false;
    bool aboutSeen = false;
    WhenModalAppears([&](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        QVERIFY(menu != nullptr);
        menuSeen = true;
        const QList<QAction*> items = menu->actions();
        QVERIFY(items.size() >= 2);
        QVERIFY(items[items.size() - 2]->isSeparator());
        QCOMPARE(items.back()->text(), QStringLiteral("&About Trovik..."));
        WhenModalAppears([&](QWidget* about) {
            aboutSeen = true;
            QCOMPARE(about->windowTitle(), QStringLiteral("About Trovik"));
            QStringList lines;
            for (QLabel* label : about->findChildren<QLabel*>()) lines << label->text();
            QVERIFY(lines.contains(QStringLiteral("Trovik ver 1.0")));
            QCOMPARE(lines.size(), 2);
            const QList<QPushButton*> buttons = about->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons.front()->text(), QStringLiteral("OK"));
            QTest::keyClick(about, Qt::Key_Return);
        });
        menu->setActiveAction(items.back());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), window->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window, &rightClick);
    QVERIFY(menuSeen);
    QVERIFY(aboutSeen);
    QVERIFY(window->isVisible());
    QCOMPARE(Edit(IDC_CALLSIGN1)->text(), QStringLiteral("KEEPME"));
}

void ConfigDlgTest::f1ShowsHelp() {
    bool seen = false;
    WhenModalAppears([&seen](QWidget* help) {
        seen = true;
        const QString text = help->findChild<QPlainTextEdit*>(QStringLiteral("helpText"))->toPlainText();
        QVERIFY(text.contains(QStringLiteral("TROVIK.HEX in ") + QDir::currentPath()));
        QVERIFY(text.contains(QStringLiteral("OUTPUT.HEX")));
        QVERIFY(text.contains(QString::fromUtf8(trovik::FieldDescription(trovik::FieldId::Ssid))));
        QTest::keyClick(help, Qt::Key_Escape);
    });
    QTest::keyClick(Edit(IDC_ICON_CODE1), Qt::Key_F1);
    QVERIFY(seen);
    QVERIFY(m_dlg->GetSafeHwnd()->isVisible());
}

QTEST_MAIN(ConfigDlgTest)
#include "config_dlg_test.moc"
