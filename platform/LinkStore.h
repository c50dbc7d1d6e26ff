// The found links of a search: an ordered list of texts kept in one block of characters with
// the end of every link beside it, so a million links cost two allocations that grow, not a
// million. Links are read as string_views that stay valid until the store changes.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextList.h"

namespace pagelathe {

class LinkStore {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    std::string_view operator*() const { return (*store_)[index_]; }
    std::string_view operator[](difference_type n) const {
      return (*store_)[index_ + static_cast<size_t>(n)];
    }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++index_;
      return old;
    }
    const_iterator& operator--() {
      --index_;
      return *this;
    }
    const_iterator operator--(int) {
      const_iterator old = *this;
      --index_;
      return old;
    }
    const_iterator& operator+=(difference_type n) {
      index_ = static_cast<size_t>(static_cast<difference_type>(index_) + n);
      return *this;
    }
    const_iterator& operator-=(difference_type n) { return *this += -n; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.index_ == b.index_;
    }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.index_ <=> b.index_;
    }

   private:
    friend class LinkStore;
    const_iterator(const LinkStore* store, size_t index) : store_(store), index_(index) {}
    const LinkStore* store_ = nullptr;
    size_t index_ = 0;
  };

  LinkStore() = default;
  LinkStore(std::initializer_list<std::string_view> links);
  explicit LinkStore(const TextList& links);

  [[nodiscard]] size_t size() const { return ends_.size(); }
  [[nodiscard]] bool empty() const { return ends_.empty(); }
  // The characters of all links together.
  [[nodiscard]] size_t CharCount() const { return chars_.size(); }

  [[nodiscard]] std::string_view operator[](size_t i) const {
    const size_t start = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(chars_).substr(start, ends_[i] - start);
  }
  [[nodiscard]] std::string_view front() const { return (*this)[0]; }
  [[nodiscard]] std::string_view back() const { return (*this)[size() - 1]; }
  [[nodiscard]] const_iterator begin() const { return {this, 0}; }
  [[nodiscard]] const_iterator end() const { return {this, size()}; }

  void push_back(std::string_view link) { Append(link, {}); }
  // Adds one link made of two parts (a protocol and the rest), without a text in between.
  void Append(std::string_view first, std::string_view second) {
    chars_.append(first).append(second);
    ends_.push_back(chars_.size());
  }
  // Adds every link of `other`, in order.
  void AppendAll(const LinkStore& other);
  void reserve(size_t links, size_t chars) {
    ends_.reserve(links);
    chars_.reserve(chars);
  }
  void clear() {
    chars_.clear();
    ends_.clear();
  }

  [[nodiscard]] TextList ToTextList() const;

  friend bool operator==(const LinkStore& a, const LinkStore& b) {
    return a.ends_ == b.ends_ && a.chars_ == b.chars_;
  }

 private:
  std::string chars_;
  std::vector<size_t> ends_;  // one past the last character of each link
};

}  // namespace pagelathe
