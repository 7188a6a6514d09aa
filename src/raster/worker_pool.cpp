#include "raster/worker_pool.h"

#include <utility>

WorkerPool::WorkerPool(int workers) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void WorkerPool::post(std::function<void()> task) {
    if (threads_.empty()) {
        task();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void WorkerPool::wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return tasks_.empty() && busy_ == 0; });
}

void WorkerPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty()) return;  // stopping, and nothing left to do
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        ++busy_;
        lock.unlock();
        task();
        lock.lock();
        --busy_;
        if (tasks_.empty() && busy_ == 0) idle_.notify_all();
    }
}
