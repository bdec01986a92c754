#pragma once
// Independent jobs run on every core, by helper threads kept for the
// program's life: starting threads each time cost more than most jobs.
#include <cstddef>
#include <functional>

// Runs job(0) .. job(count - 1) on the calling thread and on the helpers,
// and returns when all are done. Each job goes to whichever thread is free
// first, lowest number first, so the caller never waits for a helper the
// machine has not run yet, only for jobs under way. An exception of a job
// (such as memory running out) stops the jobs not yet started and is thrown
// again here once those under way have finished. Jobs touch no list and no
// image table entry, and must not call it.
void run_jobs_side_by_side(size_t count, const std::function<void(size_t)>& job);

// The same with job(0) run alone first, so that the picture codecs set
// themselves up once.
void run_jobs(size_t count, const std::function<void(size_t)>& job);
