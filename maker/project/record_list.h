#pragma once
// A program-wide list of records. It always holds one spare record after the
// last used one: indices 0 .. count()-1 are used, index count() is the spare,
// so code that writes "the next record" before growing works on any list.
#include <cassert>
#include <utility>
#include <vector>

template <class T>
class RecordList {
 public:
  // `used` used records, value-initialised, plus the spare.
  explicit RecordList(int used = 0) : items_(size_t(used) + 1) {}

  int count() const { return int(items_.size()) - 1; }

  // 0 .. count(); index count() is the spare record.
  T& operator[](int i) {
    assert(i >= 0 && i <= count());
    return items_[size_t(i)];
  }
  const T& operator[](int i) const {
    assert(i >= 0 && i <= count());
    return items_[size_t(i)];
  }

  // Makes the spare record a used one and adds a fresh spare; returns the
  // index of the record that was the spare.
  int grow() {
    items_.emplace_back();
    return count() - 1;
  }

  // Room for `used` used records without moving them.
  void reserve(int used) { items_.reserve(size_t(used) + 1); }

  // Writes `record` into the spare, grows, and returns its index.
  int append(T record) {
    int n = count();
    items_[size_t(n)] = std::move(record);
    items_.emplace_back();
    return n;
  }

  // Back to the spare record only.
  void clear() { items_.assign(1, T{}); }

  // Removes, in one pass keeping the order of the rest, every used record for
  // which `pred` (called once per record, first to last) is true. `pred` may
  // release what the record owns. Returns the number removed.
  template <class Pred>
  int remove_if(Pred pred) {
    size_t kept = 0, used = items_.size() - 1;
    for (size_t i = 0; i < used; ++i) {
      if (pred(items_[i])) continue;
      if (kept != i) items_[kept] = std::move(items_[i]);
      ++kept;
    }
    items_.erase(items_.begin() + std::ptrdiff_t(kept), items_.end() - 1);
    return int(used - kept);
  }

  // Removes the used record at `index`, keeping the order of the rest.
  void erase(int index) {
    assert(index >= 0 && index < count());
    items_.erase(items_.begin() + index);
  }

  // Used records only. Code that appends while it walks must loop by index
  // and re-read count(), since growing moves the records.
  T* begin() { return items_.data(); }
  T* end() { return items_.data() + count(); }
  const T* begin() const { return items_.data(); }
  const T* end() const { return items_.data() + count(); }

 private:
  std::vector<T> items_;
};
