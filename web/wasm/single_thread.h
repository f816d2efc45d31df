// Single-threaded stand-ins for what libc++ leaves out on wasm32-wasi, forced
// into every file of the WebAssembly build (-include). That libc++ is built
// without threads, so <mutex>, <condition_variable> and <thread> declare
// nothing, and libc++ 14 has no std::atomic_ref at all.
//
// With one thread, a lock has nothing to exclude and a notification nobody to
// wake. A thread cannot run beside its creator, so it runs to its end, on the
// creator's stack, the first time the creator would wait for it (a wait whose
// condition is false, or join). The sound engine makes no thread in this
// build (its sound device mixes), so that is only a guard: a wait that
// nothing can end stops the program with a message instead of hanging.
#pragma once

#ifdef __cplusplus

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#ifndef __cpp_lib_atomic_ref
namespace std {
template <class T>
class atomic_ref {
public:
    explicit atomic_ref(T& object) noexcept : object_(&object) {}
    T load(memory_order order = memory_order_seq_cst) const noexcept {
        return __atomic_load_n(object_, static_cast<int>(order));
    }
    void store(T value, memory_order order = memory_order_seq_cst) const noexcept {
        __atomic_store_n(object_, value, static_cast<int>(order));
    }
    T exchange(T value, memory_order order = memory_order_seq_cst) const noexcept {
        return __atomic_exchange_n(object_, value, static_cast<int>(order));
    }
    T fetch_add(T value, memory_order order = memory_order_seq_cst) const noexcept {
        return __atomic_fetch_add(object_, value, static_cast<int>(order));
    }
    operator T() const noexcept { return load(); }
    T operator=(T value) const noexcept {
        store(value);
        return value;
    }

private:
    T* object_;
};
}  // namespace std
#endif

#ifdef _LIBCPP_HAS_NO_THREADS
namespace orbitfend_single_thread {

// The thread made and not yet run (one at most).
inline std::function<void()>*& pendingThread() {
    static std::function<void()>* pending = nullptr;
    return pending;
}

// True while a made thread runs on its creator's stack.
inline bool& insideThread() {
    static bool inside = false;
    return inside;
}

// Runs the waiting thread, if any; false when there was none.
inline bool runPendingThread() {
    std::function<void()>* body = pendingThread();
    if (body == nullptr) return false;
    pendingThread() = nullptr;
    insideThread() = true;
    (*body)();
    insideThread() = false;
    delete body;
    return true;
}

[[noreturn]] inline void waitForever() {
    std::fputs("orbitfend: a wait that no other thread can end (this build has one thread)\n", stderr);
    std::abort();
}

}  // namespace orbitfend_single_thread

namespace std {

class mutex {
public:
    void lock() {}
    bool try_lock() { return true; }
    void unlock() {}
};

struct defer_lock_t {
    explicit defer_lock_t() = default;
};
inline constexpr defer_lock_t defer_lock{};

template <class Mutex>
class lock_guard {
public:
    using mutex_type = Mutex;
    explicit lock_guard(Mutex& m) : m_(m) { m_.lock(); }
    ~lock_guard() { m_.unlock(); }
    lock_guard(const lock_guard&) = delete;
    lock_guard& operator=(const lock_guard&) = delete;

private:
    Mutex& m_;
};

template <class Mutex>
class unique_lock {
public:
    using mutex_type = Mutex;
    explicit unique_lock(Mutex& m) : m_(&m), owns_(true) { m_->lock(); }
    unique_lock(Mutex& m, defer_lock_t) : m_(&m) {}
    ~unique_lock() {
        if (owns_) m_->unlock();
    }
    unique_lock(const unique_lock&) = delete;
    unique_lock& operator=(const unique_lock&) = delete;
    void lock() {
        m_->lock();
        owns_ = true;
    }
    void unlock() {
        m_->unlock();
        owns_ = false;
    }
    bool owns_lock() const { return owns_; }
    Mutex* mutex() const { return m_; }

private:
    Mutex* m_;
    bool owns_ = false;
};

enum class cv_status { no_timeout, timeout };

class condition_variable {
public:
    void notify_one() {}
    void notify_all() {}
    template <class Predicate>
    void wait(unique_lock<mutex>&, Predicate ready) {
        while (!ready())
            if (!orbitfend_single_thread::runPendingThread()) orbitfend_single_thread::waitForever();
    }
    template <class Rep, class Period, class Predicate>
    bool wait_for(unique_lock<mutex>&, const chrono::duration<Rep, Period>&, Predicate ready) {
        // Time cannot pass for a condition only this thread can change; a made
        // thread that would wait for its creator can never go on.
        if (ready()) return true;
        if (orbitfend_single_thread::insideThread()) orbitfend_single_thread::waitForever();
        return false;
    }
};

class thread {
public:
    thread() = default;
    template <class Function, class... Args>
    explicit thread(Function&& f, Args&&... args) {
        if (orbitfend_single_thread::pendingThread() != nullptr) orbitfend_single_thread::waitForever();
        orbitfend_single_thread::pendingThread() =
            new std::function<void()>(std::bind(std::forward<Function>(f), std::forward<Args>(args)...));
        joinable_ = true;
    }
    thread(thread&& other) noexcept : joinable_(std::exchange(other.joinable_, false)) {}
    thread& operator=(thread&& other) noexcept {
        joinable_ = std::exchange(other.joinable_, false);
        return *this;
    }
    ~thread() = default;
    bool joinable() const { return joinable_; }
    void join() {
        orbitfend_single_thread::runPendingThread();
        joinable_ = false;
    }
    void detach() { joinable_ = false; }

private:
    bool joinable_ = false;
};

}  // namespace std
#endif  // _LIBCPP_HAS_NO_THREADS

#endif  // __cplusplus
