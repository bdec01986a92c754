#pragma once
// Helper threads kept from one export to the next.
#include <cstddef>
#include <functional>

// Runs job(0) .. job(count - 1) on the calling thread and on helper threads
// kept for the program's life, and returns when all are done. Each job goes
// to whichever thread is free first, lowest number first, so the caller
// never waits for a helper the machine has not run yet, only for jobs under
// way. The first exception a job throws is thrown again here once the others
// have finished. A job must not call it.
void run_export_jobs(size_t count, const std::function<void(size_t)>& job);
