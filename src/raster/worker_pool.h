#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A fixed set of worker threads, started by the constructor and joined by the destructor, so that
// work handed out frame after frame never starts a thread. Tasks run in the order they were
// posted, each on whichever worker is free first.
class WorkerPool {
  public:
    explicit WorkerPool(int workers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int workers() const { return int(threads_.size()); }

    // Queues a task and returns at once; without workers, runs it before returning. The task
    // must not post to or wait on the pool.
    void post(std::function<void()> task);
    // Returns once every task posted so far has finished.
    void wait();

  private:
    void work();

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::function<void()>> tasks_;
    size_t busy_ = 0;  // tasks taken and not yet finished
    bool stopping_ = false;
};
