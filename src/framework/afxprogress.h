#pragma once

// Long work beside a modal progress box: the work runs on a thread of its
// own, the box shows how far it has come and offers to stop it, and the
// windows behind it take no input until the work has ended.

#include <functional>
#include <string>

// What the work sees of the box. Every member may be called from the
// work's thread.
class CProgressSink {
public:
    virtual ~CProgressSink() = default;
    // value of the maximum given to AfxRunWithProgress, and a line saying
    // what is being done.
    virtual void SetProgress(int value, const std::string& text) = 0;
    // The user asked to stop (the Stop button, Escape or the close box).
    virtual bool StopRequested() const = 0;
    // Runs fn on the windows' thread and waits for it: for a message box in
    // the middle of the work.
    virtual void RunOnWindowThread(const std::function<void()>& fn) = 0;
};

// Returns when `work` has returned. An exception from the work comes out
// here, on the caller's thread. Texts are UTF-8.
void AfxRunWithProgress(const std::string& caption, const std::string& firstLine, int maximum,
                        const std::function<void(CProgressSink&)>& work);
