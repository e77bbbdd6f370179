#pragma once
// The per-item work of a query spread over worker threads while the run's own thread keeps its
// user informed. Each worker has its own GEOS context (the engine makes one per thread) and
// touches no window. The run's own thread hands the finished items on in item order, so what a
// query adds comes out the same, in the same order, whatever the number of threads; between
// items it shows progress, lets window events run, and stops the workers at a cancel.

#include <functional>

#include "siting/query_procedures.h"

namespace md_query_functions2 {

// Worker threads per run: PALLIX_THREADS when it holds a positive number, else one per
// processor.
int WorkerThreadCount();
// Overrides the count (tests, benchmarks); 0 goes back to the default.
void SetWorkerThreadCount(int count);

// What one worker does with item after item. It is made on its worker thread, with whatever
// that thread needs of its own, and destroyed there.
using ItemWork = std::function<void(int item)>;

// Runs work on the items 0 to count - 1 on worker threads and take(item) on the run's thread
// for each finished item in ascending order, then progress(items taken so far). Returns false
// when the run was cancelled: the items taken are then a prefix of all of them, and the
// workers have stopped. An item whose work throws is taken with nothing done; when making the
// work throws, the run stops as at a cancel and the exception is passed on.
bool RunItems(Run& r, int count, const std::function<ItemWork()>& makeWork,
              const std::function<void(int item)>& take,
              const std::function<void(int taken)>& progress);

}  // namespace md_query_functions2
