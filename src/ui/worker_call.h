// Work that must not freeze a window (calls into the clearing-house library
// that wait up to their time-out) runs on a worker thread while the window's
// event loop keeps running; the person is still asked and told on the
// window's thread.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "platform/interaction.h"

namespace qx::ui {

// Forwards questions and messages from a worker thread to `outer` on the
// thread of `window`, waiting for the answer; progress texts are posted to
// `onProgress` there.
class WorkerInteraction : public Interaction {
  public:
    WorkerInteraction(QObject* window, Interaction& outer, std::function<void(QString)> onProgress)
        : window_(window), outer_(outer), onProgress_(std::move(onProgress)) {}

    void inform(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    void progress(const std::string& text, long long done, long long total) override;

  private:
    void onWindowThread(const std::function<void()>& f);

    QObject* window_;
    Interaction& outer_;
    std::function<void(QString)> onProgress_;
};

// Runs `work` on a new thread and returns when it has finished, running the
// caller's event loop meanwhile. What `work` throws is thrown here.
void RunOffThread(const std::function<void()>& work);

}  // namespace qx::ui
