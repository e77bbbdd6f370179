#include "siting/parallel_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/thread_count.h"

namespace md_query_functions2 {

namespace {

std::atomic<int> chosenCount{0};

// What the workers and the window thread share during one run.
struct Workers {
    explicit Workers(int count) : done(size_t(count)) {}
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::vector<std::atomic<bool>> done;
    std::mutex mutex;
    std::condition_variable idle;
    int running = 0;
    std::exception_ptr failure;
};

void workerLoop(Workers& run, int count, const std::function<ItemWork()>& makeWork,
                std::atomic<int>& leftOut) {
    try {
        const ItemWork work = makeWork();
        while (!run.stop.load()) {
            const int i = run.next.fetch_add(1);
            if (i >= count) break;
            try {
                work(i);
            } catch (...) {
                // The item adds nothing and is told after the run; the others go on.
                leftOut.fetch_add(1, std::memory_order_relaxed);
            }
            run.done[size_t(i)].store(true, std::memory_order_release);
        }
    } catch (...) {
        const std::lock_guard lock(run.mutex);
        if (!run.failure) run.failure = std::current_exception();
        run.stop = true;
    }
    const std::lock_guard lock(run.mutex);
    --run.running;
    run.idle.notify_all();
}

}  // namespace

int WorkerThreadCount() {
    if (const int n = chosenCount.load(); n > 0) return n;
    return engine::defaultThreadCount();
}

void SetWorkerThreadCount(int count) { chosenCount = std::max(0, count); }

bool RunItems(Run& r, int count, const std::function<ItemWork()>& makeWork,
              const std::function<void(int item)>& take,
              const std::function<void(int taken)>& progress) {
    if (count <= 0) return true;
    Workers run(count);
    const int threads = std::min(WorkerThreadCount(), count);
    run.running = threads;
    std::vector<std::jthread> workers;
    // Whatever ends this function, the workers stop and are joined first.
    struct Stopper {
        Workers& run;
        std::vector<std::jthread>& workers;
        ~Stopper() {
            run.stop = true;
            workers.clear();
        }
    } stopper{run, workers};
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(
            [&run, count, &makeWork, &r] { workerLoop(run, count, makeWork, r.piecesLeftOut); });

    int taken = 0;
    auto takeFinished = [&] {
        while (taken < count && run.done[size_t(taken)].load(std::memory_order_acquire))
            take(taken++);
    };
    bool cancelled = false;
    for (;;) {
        bool workersGone;
        {
            std::unique_lock lock(run.mutex);
            workersGone = run.idle.wait_for(lock, std::chrono::milliseconds(10),
                                            [&] { return run.running == 0; });
        }
        takeFinished();
        progress(taken);
        if (workersGone) break;
        r.feedback.yield();
        if (r.cancelled()) {
            cancelled = true;
            break;
        }
    }
    run.stop = true;
    workers.clear();
    // Items finished before the workers stopped still extend the prefix.
    takeFinished();
    progress(taken);
    if (run.failure) std::rethrow_exception(run.failure);
    return !cancelled;
}

}  // namespace md_query_functions2
