#pragma once

// A fixed set of threads that run one job at a time together with the calling thread.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace glide
{

// The processors this process may run on (its CPU affinity mask), at least 1.
int UsableProcessors();

class WorkerPool
{
public:
    // threads counts the calling thread: 1 starts no thread.
    explicit WorkerPool(int threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs job on every thread of the pool, the calling thread's included, and returns when
    // all have returned. Not re-entrant.
    void Run(const std::function<void()>& job);

private:
    void Work();

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable start_;
    std::condition_variable finished_;
    const std::function<void()>* job_ = nullptr;  // guarded by mutex_
    uint64_t generation_ = 0;                     // guarded by mutex_
    int running_ = 0;                             // guarded by mutex_
    bool stopping_ = false;                       // guarded by mutex_
};

}  // namespace glide
