// A control array: controls of one name told apart by Index. Only the
// indexes that were created exist (an array may have gaps, as the design
// has them); asking for another raises runtime error 340.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/vb/runtime_error.h"

namespace forms {

template <class T>
class ControlArray {
    using Map = std::map<int, std::unique_ptr<T>>;

public:
    explicit ControlArray(std::string name = {}) : name_(std::move(name)) {}
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    // Creates element `index` from `args` (the constructor arguments of T,
    // usually its container). Creating an existing index raises error 360.
    template <class... Args>
    T& Load(int index, Args&&... args) {
        if (items_.count(index))
            vb::Raise(360, name_, "Object already loaded");
        auto item = std::make_unique<T>(std::forward<Args>(args)...);
        item->Name = name_;
        item->Index = index;
        T& ref = *item;
        items_.emplace(index, std::move(item));
        return ref;
    }
    // Removes element `index`; a missing one raises error 340.
    void Unload(int index) {
        (*this)(index);
        items_.erase(index);
    }

    T& operator()(int index) const {
        auto it = items_.find(index);
        if (it == items_.end())
            vb::Raise(vb::err::ControlArrayElementMissing, name_,
                      "Control array element '" + std::to_string(index) + "' doesn't exist");
        return *it->second;
    }
    T& operator[](int index) const { return (*this)(index); }

    bool Exists(int index) const { return items_.count(index) != 0; }
    int Count() const { return static_cast<int>(items_.size()); }
    // The lowest and highest index; error 340 for an empty array.
    int LBound() const { return Bound(true); }
    int UBound() const { return Bound(false); }
    const std::string& Name() const { return name_; }

    // Iterates the existing elements in index order, yielding T&.
    class iterator {
    public:
        explicit iterator(typename Map::const_iterator it) : it_(it) {}
        T& operator*() const { return *it_->second; }
        T* operator->() const { return it_->second.get(); }
        iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const iterator& other) const { return it_ == other.it_; }

    private:
        typename Map::const_iterator it_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

private:
    int Bound(bool lower) const {
        if (items_.empty())
            vb::Raise(vb::err::ControlArrayElementMissing, name_, "Control array element '0' doesn't exist");
        return lower ? items_.begin()->first : items_.rbegin()->first;
    }

    std::string name_;
    Map items_;
};

}  // namespace forms
