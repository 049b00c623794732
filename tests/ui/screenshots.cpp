// Pictures of the window for the README: both configurations and the
// About box, as the offscreen platform draws them.
//   trovik_screenshots OUTPUT_DIR

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

#include "resources/resource.h"
#include "ui/about_dlg.h"
#include "ui/config_dlg.h"

namespace {

bool Save(CWnd& window, const QDir& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (window.GetSafeHwnd()->grab().save(path, "PNG")) return true;
    std::fprintf(stderr, "trovik_screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trovik_screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    CConfigDlg dialog;
    if (!dialog.Create()) return 1;
    dialog.GetSafeHwnd()->activateWindow();
    if (!Save(dialog, folder, "configuration1.png")) return 1;

    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(IDC_CONFIGURATION2)->GetSafeHwnd())->click();
    if (!Save(dialog, folder, "configuration2.png")) return 1;

    CAboutDlg about;
    if (!about.Create(&dialog)) return 1;
    about.GetSafeHwnd()->activateWindow();
    return Save(about, folder, "about.png") ? 0 : 1;
}
