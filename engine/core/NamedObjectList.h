// Lists of reference-counted named objects as the managers keep them: one reference per entry,
// adding and removing with the reference, and release of all entries (lookup by name is
// findNamedObject in engine/core/Utils.h).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace Orvex {

// Appends the object with one more reference; false (and nothing added) when it is listed.
template <class T>
bool addReferenced(std::vector<T*>& list, T& object) {
    if (std::find(list.begin(), list.end(), &object) != list.end()) return false;
    object.addRef();
    list.push_back(&object);
    return true;
}

// Takes the object off the list and releases the list's reference; false when not listed.
template <class T>
bool removeReferenced(std::vector<T*>& list, T& object) {
    auto const it = std::find(list.begin(), list.end(), &object);
    if (it == list.end()) return false;
    list.erase(it);
    object.release();
    return true;
}

// Empties the list first, then releases every entry (a release may reach the list again).
template <class T>
void releaseAll(std::vector<T*>& list) {
    std::vector<T*> released;
    released.swap(list);
    for (T* object : released) object->release();
}

// Appends the name of every entry whose name begins with prefix.
template <class T>
void appendNamesStartingWith(std::vector<T*> const& list, std::wstring const& prefix, std::vector<std::wstring>& out) {
    for (T* object : list)
        if (object->getName().compare(0, prefix.size(), prefix) == 0) out.push_back(object->getName());
}

}  // namespace Orvex
