#include "maker/project/jobs.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// One helper for each other core.
size_t helper_count() {
  return std::clamp<size_t>(std::thread::hardware_concurrency(), 2, 8) - 1;
}

struct Batch {
  const std::function<void(size_t)>* job = nullptr;
  size_t count = 0;
  std::atomic<size_t> next{0}, done{0};
  std::exception_ptr failed;  // guarded by the crew's lock
};

class Crew {
 public:
  Crew() {
    for (size_t i = helper_count(); i > 0; --i) helpers_.emplace_back([this] { serve(); });
  }
  ~Crew() {
    {
      std::lock_guard hold(lock_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : helpers_) t.join();
  }

  void run(size_t count, const std::function<void(size_t)>& job) {
    // Shared with the helpers: one that wakes after the batch is over still
    // finds it, with no job left to take.
    auto batch = std::make_shared<Batch>();
    batch->job = &job;
    batch->count = count;
    {
      std::lock_guard hold(lock_);
      current_ = batch;
    }
    wake_.notify_all();
    work(*batch);
    std::unique_lock hold(lock_);
    finished_.wait(hold, [&] { return batch->done == count; });
    current_ = nullptr;
    if (batch->failed) std::rethrow_exception(batch->failed);
  }

 private:
  void work(Batch& batch) {
    for (size_t i; (i = batch.next++) < batch.count;) {
      try {
        (*batch.job)(i);
      } catch (...) {
        std::lock_guard hold(lock_);
        if (!batch.failed) batch.failed = std::current_exception();
        // No job starts after a failure; those never taken count as done.
        if (const size_t taken = batch.next.exchange(batch.count); taken < batch.count)
          batch.done += batch.count - taken;
      }
      if (++batch.done == batch.count) {
        std::lock_guard hold(lock_);
        finished_.notify_all();
      }
    }
  }

  void serve() {
    std::shared_ptr<Batch> seen;
    for (;;) {
      std::unique_lock hold(lock_);
      wake_.wait(hold, [&] { return stopping_ || (current_ && current_ != seen); });
      if (stopping_) return;
      seen = current_;
      hold.unlock();
      work(*seen);
    }
  }

  std::mutex lock_;
  std::condition_variable wake_, finished_;
  std::shared_ptr<Batch> current_;
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

}  // namespace

void run_jobs_side_by_side(size_t count, const std::function<void(size_t)>& job) {
  if (count == 0) return;
  static Crew crew;
  crew.run(count, job);
}

void run_jobs(size_t count, const std::function<void(size_t)>& job) {
  if (count == 0) return;
  job(0);
  run_jobs_side_by_side(count - 1, [&](size_t i) { job(i + 1); });
}
