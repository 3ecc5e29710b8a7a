#include "glide/WorkerPool.h"

#include <sched.h>

#include <algorithm>

namespace glide
{

int UsableProcessors()
{
    // The machine's count ignores a mask set by taskset or a container: threads beyond the
    // mask's processors only take turns on them.
    cpu_set_t mask;
    CPU_ZERO(&mask);
    if (sched_getaffinity(0, sizeof mask, &mask) == 0)
    {
        return std::max(1, CPU_COUNT(&mask));
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

WorkerPool::WorkerPool(int threads)
{
    for (int i = 1; i < threads; ++i)
    {
        workers_.emplace_back([this] { Work(); });
    }
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    start_.notify_all();
    for (std::thread& worker : workers_)
    {
        worker.join();
    }
}

void WorkerPool::Run(const std::function<void()>& job)
{
    if (workers_.empty())
    {
        job();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = &job;
        running_ = static_cast<int>(workers_.size());
        ++generation_;
    }
    start_.notify_all();
    job();
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return running_ == 0; });
    job_ = nullptr;
}

void WorkerPool::Work()
{
    uint64_t seen = 0;
    for (;;)
    {
        const std::function<void()>* job = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_)
            {
                return;
            }
            seen = generation_;
            job = job_;
        }
        (*job)();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --running_;
        }
        finished_.notify_one();
    }
}

}  // namespace glide
