// A list that keeps its elements' storage when cleared, so that a host recording every
// frame allocates only while a frame holds more than any frame before it.
#pragma once

#include <cstddef>
#include <vector>

namespace sim {

template <typename T>
class Recycled {
public:
    // The next element, holding whatever an earlier frame left in it: set every field.
    T& add() {
        if (used_ == items_.size()) items_.emplace_back();
        return items_[used_++];
    }
    void clear() { used_ = 0; }
    std::size_t size() const { return used_; }
    bool empty() const { return used_ == 0; }
    const T& operator[](std::size_t index) const { return items_[index]; }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + used_; }

private:
    std::vector<T> items_;
    std::size_t used_ = 0;
};

}  // namespace sim
