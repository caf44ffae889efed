// The selection flags of the placed objects.
#include "document/Selection.h"

#include <string.h>

void Selection::Resize(size_t objectCount)
{
    if (objectCount < flags_.size())
    {
        for (size_t i = objectCount; i < flags_.size(); ++i)
            count_ -= flags_[i];
    }
    flags_.resize(objectCount, 0);
}

void Selection::Set(size_t index, bool selected)
{
    if (index >= flags_.size() || (flags_[index] != 0) == selected)
        return;
    flags_[index] = selected ? 1 : 0;
    if (selected)
        ++count_;
    else
        --count_;
}

void Selection::Clear()
{
    if (count_ == 0)
        return;
    memset(flags_.data(), 0, flags_.size());
    count_ = 0;
}

void Selection::SelectAll()
{
    if (!flags_.empty())
        memset(flags_.data(), 1, flags_.size());
    count_ = flags_.size();
}

void Selection::SelectOnly(const std::vector<uint32_t>& indices)
{
    Clear();
    for (uint32_t index : indices)
        Set(index, true);
}

std::vector<uint32_t> Selection::Indices() const
{
    std::vector<uint32_t> indices;
    indices.reserve(count_);
    if (count_ == flags_.size())
    {
        for (size_t i = 0; i < flags_.size(); ++i)
            indices.push_back((uint32_t)i);
        return indices;
    }
    for (size_t i = 0; i < flags_.size() && indices.size() < count_; ++i)
    {
        if (flags_[i])
            indices.push_back((uint32_t)i);
    }
    return indices;
}

void Selection::Remove(const std::vector<uint32_t>& indices)
{
    for (uint32_t index : indices)
    {
        if (index < flags_.size())
            count_ -= flags_[index];
    }
    RemoveAtIndices(&flags_, indices, (std::vector<uint8_t>*)nullptr);
}

void Selection::Insert(const std::vector<uint32_t>& indices, bool selected)
{
    InsertAtIndices(&flags_, indices, std::vector<uint8_t>(indices.size(), selected ? 1 : 0));
    if (selected)
        count_ += indices.size();
}
