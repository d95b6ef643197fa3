#include "ui/worker_call.h"

#include <QEventLoop>
#include <QThread>
#include <exception>

#include "ui/gui_interaction.h"

namespace qx::ui {

void WorkerInteraction::inform(const std::string& text, const std::string& title) {
    onWindowThread([&] { outer_.inform(text, title); });
}

bool WorkerInteraction::confirm(const std::string& text, const std::string& title) {
    bool answer = false;
    onWindowThread([&] { answer = outer_.confirm(text, title); });
    return answer;
}

void WorkerInteraction::progress(const std::string& text, long long, long long) {
    const QString shown = Q(text);
    if (QThread::currentThread() == window_->thread()) {
        onProgress_(shown);
        return;
    }
    QMetaObject::invokeMethod(
        window_, [f = onProgress_, shown] { f(shown); }, Qt::QueuedConnection);
}

void WorkerInteraction::onWindowThread(const std::function<void()>& f) {
    if (QThread::currentThread() == window_->thread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(window_, f, Qt::BlockingQueuedConnection);
}

void RunOffThread(const std::function<void()>& work) {
    std::exception_ptr failure;
    QEventLoop loop;
    QThread* thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    if (failure) std::rethrow_exception(failure);
}

}  // namespace qx::ui
