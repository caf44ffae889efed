// The undo history's list of steps and its limits.
#include "document/EditHistory.h"

size_t EditStep::Bytes() const
{
    size_t bytes = sizeof(EditStep) + name.size();
    for (const std::unique_ptr<EditAction>& action : actions)
        bytes += action->Bytes();
    return bytes;
}

void EditHistory::Clear()
{
    steps_.clear();
    position_ = 0;
    bytes_ = 0;
}

void EditHistory::Push(EditStep step)
{
    while (steps_.size() > position_)
    {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    step.bytes = step.Bytes();
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    position_ = steps_.size();
    while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes))
    {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        --position_;
    }
}

EditStep* EditHistory::Back()
{
    if (!CanUndo())
        return nullptr;
    return &steps_[--position_];
}

EditStep* EditHistory::Forward()
{
    if (!CanRedo())
        return nullptr;
    return &steps_[position_++];
}
