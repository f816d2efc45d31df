// A manual-reset event between the main thread and the mixing thread.
#pragma once

#include <condition_variable>
#include <mutex>

class ThreadEvent {
public:
    void set() {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            set_ = true;
        }
        changed_.notify_all();
    }
    void reset() {
        std::lock_guard<std::mutex> hold(mutex_);
        set_ = false;
    }
    bool isSet() {
        std::lock_guard<std::mutex> hold(mutex_);
        return set_;
    }
    // Waits without a time limit until the event is set.
    void wait() {
        std::unique_lock<std::mutex> hold(mutex_);
        changed_.wait(hold, [this] { return set_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};
