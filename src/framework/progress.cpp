// Work on its own thread beside a modal progress box.

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <atomic>
#include <exception>
#include <thread>

#include "framework/afxprogress.h"
#include "framework/afxwin.h"
#include "framework/dialog_window.h"

namespace {

class ProgressBox : public QDialog, public CProgressSink {
public:
    ProgressBox(const std::string& caption, const std::string& firstLine, int maximum, QWidget* owner)
        : QDialog(owner) {
        setWindowTitle(afx::QStringFromUtf8(caption));
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setWindowModality(Qt::ApplicationModal);
        auto* layout = new QVBoxLayout(this);
        m_line = new QLabel(afx::QStringFromUtf8(firstLine), this);
        m_line->setObjectName(QStringLiteral("progressText"));
        m_line->setMinimumWidth(m_line->fontMetrics().averageCharWidth() * 56);
        layout->addWidget(m_line);
        m_bar = new QProgressBar(this);
        m_bar->setRange(0, maximum);
        m_bar->setValue(0);
        layout->addWidget(m_bar);
        m_stop = new QPushButton(QStringLiteral("Stop"), this);
        m_stop->setObjectName(QStringLiteral("progressStop"));
        // Enter, pressed once too often, must not stop a run.
        m_stop->setAutoDefault(false);
        connect(m_stop, &QPushButton::clicked, this, [this] { RequestStop(); });
        layout->addWidget(m_stop, 0, Qt::AlignRight);
        setFixedSize(sizeHint());
    }

    void SetProgress(int value, const std::string& text) override {
        QMetaObject::invokeMethod(
            this,
            [this, value, line = afx::QStringFromUtf8(text)] {
                m_bar->setValue(value);
                if (!m_stopRequested.load()) m_line->setText(line);
            },
            Qt::QueuedConnection);
    }

    bool StopRequested() const override { return m_stopRequested.load(); }

    void RunOnWindowThread(const std::function<void()>& fn) override {
        if (QThread::currentThread() == thread()) fn();
        else QMetaObject::invokeMethod(this, fn, Qt::BlockingQueuedConnection);
    }

    void reject() override { RequestStop(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        // The box goes when the work has ended, not before.
        event->ignore();
        RequestStop();
    }

private:
    void RequestStop() {
        if (m_stopRequested.exchange(true)) return;
        m_stop->setEnabled(false);
        m_line->setText(QStringLiteral("Stopping..."));
    }

    QLabel* m_line;
    QProgressBar* m_bar;
    QPushButton* m_stop;
    std::atomic<bool> m_stopRequested{false};
};

}  // namespace

void AfxRunWithProgress(const std::string& caption, const std::string& firstLine, int maximum,
                        const std::function<void(CProgressSink&)>& work) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr && AfxGetMainWnd() != nullptr) owner = AfxGetMainWnd()->m_hWnd;
    QPointer<QWidget> previous = QApplication::activeWindow();
    if (previous == nullptr) previous = owner;
    ProgressBox box(caption, firstLine, maximum, owner);
    QEventLoop loop;
    std::exception_ptr failure;

    box.show();
    std::thread worker([&] {
        try {
            work(box);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    box.hide();
    afx::ReactivateAfterModal(previous);
    if (failure) std::rethrow_exception(failure);
}
