// Which placed objects are selected: one flag per object, kept in step with
// the object list (the document inserts and removes flags wherever it
// inserts and removes objects), and the number of flags set. Indices are
// those of the object list. No Windows API.
#ifndef MAPEDITOR_SELECTION_H
#define MAPEDITOR_SELECTION_H

#include <stddef.h>
#include <stdint.h>

#include <algorithm>
#include <vector>

class Selection
{
  public:
    bool Has(size_t index) const { return index < flags_.size() && flags_[index] != 0; }
    size_t Count() const { return count_; }
    size_t Bytes() const { return flags_.capacity(); } // memory held (for benchmarks)

    // Follows the object list's length: new objects are not selected.
    void Resize(size_t objectCount);
    void Set(size_t index, bool selected);
    void Clear();
    void SelectAll();
    // Exactly these objects (indices below the list's length) and no others.
    void SelectOnly(const std::vector<uint32_t>& indices);

    // The selected indices in ascending order.
    std::vector<uint32_t> Indices() const;

    // The objects at these ascending indices are removed: their flags go and
    // the later flags move down with the objects.
    void Remove(const std::vector<uint32_t>& indices);
    // Objects were inserted so that they now lie at these ascending indices;
    // their flags are set to `selected`.
    void Insert(const std::vector<uint32_t>& indices, bool selected);

  private:
    std::vector<uint8_t> flags_;
    size_t count_ = 0;
};

// Removes the elements at the ascending, distinct indices from the vector,
// keeping the order of the rest, and appends them to *removed (if given) in
// index order. Whole runs between removed elements move at once.
template <typename T>
void RemoveAtIndices(std::vector<T>* items, const std::vector<uint32_t>& indices,
                     std::vector<T>* removed)
{
    if (indices.empty())
        return;
    if (removed)
        removed->reserve(removed->size() + indices.size());
    size_t write = indices[0];
    for (size_t k = 0; k < indices.size(); ++k)
    {
        const size_t at = indices[k];
        if (removed)
            removed->push_back((*items)[at]);
        const size_t runEnd = k + 1 < indices.size() ? indices[k + 1] : items->size();
        // One block move a run (a memmove for plain records).
        std::copy(items->begin() + (std::ptrdiff_t)(at + 1),
                  items->begin() + (std::ptrdiff_t)runEnd, items->begin() + (std::ptrdiff_t)write);
        write += runEnd - (at + 1);
    }
    items->resize(write);
}

// Inserts values[k] so that it ends up at indices[k] (ascending, distinct,
// each below the new length), moving the other elements up in order.
template <typename T>
void InsertAtIndices(std::vector<T>* items, const std::vector<uint32_t>& indices,
                     const std::vector<T>& values)
{
    if (indices.empty())
        return;
    size_t read = items->size();
    items->resize(items->size() + indices.size());
    size_t write = items->size();
    for (size_t k = indices.size(); k-- > 0;)
    {
        const size_t run = write - ((size_t)indices[k] + 1);
        std::copy_backward(items->begin() + (std::ptrdiff_t)(read - run),
                           items->begin() + (std::ptrdiff_t)read,
                           items->begin() + (std::ptrdiff_t)write);
        read -= run;
        write -= run;
        (*items)[--write] = values[k];
    }
}

#endif
