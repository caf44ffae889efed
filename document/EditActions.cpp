// The undoable changes of the map document (see EditActions.h).
#include "document/EditActions.h"

#include <utility>

namespace
{
size_t ListBytes(const std::vector<uint32_t>& indices)
{
    return indices.size() * sizeof(uint32_t);
}

size_t ListBytes(const std::vector<PlacedObject>& records)
{
    return records.size() * sizeof(PlacedObject);
}

size_t SettingsBytes(const MapSettings& s)
{
    return sizeof(MapSettings) + s.colormapFile.size() + s.heightmapFile.size() +
           s.detailMap.size() + s.objectMap.size();
}

class InsertObjects : public EditAction
{
  public:
    InsertObjects(std::vector<uint32_t> indices, std::vector<PlacedObject> records, bool select)
        : indices_(std::move(indices)), records_(std::move(records)), select_(select)
    {
    }
    void Redo(MapDocument& document) override
    {
        if (select_)
            document.ClearSelection();
        document.InsertObjectsAt(indices_, records_, select_);
    }
    void Undo(MapDocument& document) override { document.RemoveObjectsAt(indices_, nullptr); }
    size_t Bytes() const override
    {
        return sizeof(*this) + ListBytes(indices_) + ListBytes(records_);
    }

  private:
    std::vector<uint32_t> indices_;
    std::vector<PlacedObject> records_;
    bool select_;
};

class RemoveObjects : public EditAction
{
  public:
    RemoveObjects(const MapDocument& document, std::vector<uint32_t> indices)
        : indices_(std::move(indices))
    {
        records_.reserve(indices_.size());
        for (uint32_t index : indices_)
            records_.push_back(document.objects[index]);
    }
    void Redo(MapDocument& document) override { document.RemoveObjectsAt(indices_, nullptr); }
    void Undo(MapDocument& document) override
    {
        document.ClearSelection();
        document.InsertObjectsAt(indices_, records_, true);
    }
    size_t Bytes() const override
    {
        return sizeof(*this) + ListBytes(indices_) + ListBytes(records_);
    }

  private:
    std::vector<uint32_t> indices_;
    std::vector<PlacedObject> records_;
};

class ChangeRecords : public EditAction
{
  public:
    ChangeRecords(std::vector<uint32_t> indices, std::vector<PlacedObject> before,
                  std::vector<PlacedObject> after)
        : indices_(std::move(indices)), before_(std::move(before)), after_(std::move(after))
    {
    }
    void Redo(MapDocument& document) override { Write(document, after_); }
    void Undo(MapDocument& document) override { Write(document, before_); }
    size_t Bytes() const override
    {
        return sizeof(*this) + ListBytes(indices_) + ListBytes(before_) + ListBytes(after_);
    }

  private:
    void Write(MapDocument& document, const std::vector<PlacedObject>& records)
    {
        document.RewritingObjects(indices_);
        for (size_t k = 0; k < indices_.size(); ++k)
            document.objects[indices_[k]] = records[k];
        document.RewroteObjects(indices_);
        document.SelectOnly(indices_);
    }

    std::vector<uint32_t> indices_;
    std::vector<PlacedObject> before_;
    std::vector<PlacedObject> after_;
};

class ChangePositions : public EditAction
{
  public:
    ChangePositions(std::vector<uint32_t> indices, std::vector<MapPoint> before,
                    std::vector<MapPoint> after)
        : indices_(std::move(indices)), before_(std::move(before)), after_(std::move(after))
    {
    }
    void Redo(MapDocument& document) override { Write(document, after_); }
    void Undo(MapDocument& document) override { Write(document, before_); }
    size_t Bytes() const override
    {
        return sizeof(*this) + ListBytes(indices_) +
               (before_.size() + after_.size()) * sizeof(MapPoint);
    }

  private:
    void Write(MapDocument& document, const std::vector<MapPoint>& points)
    {
        document.RewritingObjects(indices_);
        for (size_t k = 0; k < indices_.size(); ++k)
        {
            document.objects[indices_[k]].x = points[k].x;
            document.objects[indices_[k]].y = points[k].y;
        }
        document.RewroteObjects(indices_);
        document.SelectOnly(indices_);
    }

    std::vector<uint32_t> indices_;
    std::vector<MapPoint> before_;
    std::vector<MapPoint> after_;
};

// Shifts the type bytes of the objects at or above `from` by `step` (+1 or
// -1). Only called where no byte can leave 0..255: an entry is inserted
// below 256 entries' worth of bytes, or removed after its objects went.
void Renumber(MapDocument& document, unsigned from, int step)
{
    for (PlacedObject& object : document.objects)
    {
        if (object.type >= from)
            object.type = (uint8_t)(object.type + step);
    }
}

class InsertType : public EditAction
{
  public:
    InsertType(size_t index, ObjectType type, bool renumber)
        : index_(index), type_(std::move(type)), renumber_(renumber)
    {
    }
    void Redo(MapDocument& document) override
    {
        if (renumber_)
            Renumber(document, (unsigned)index_, +1);
        document.InsertTypeAt(index_, type_);
    }
    void Undo(MapDocument& document) override
    {
        document.RemoveTypeAt(index_);
        if (renumber_)
            Renumber(document, (unsigned)index_ + 1, -1);
    }
    size_t Bytes() const override { return sizeof(*this) + type_.path.size(); }

  private:
    size_t index_;
    ObjectType type_;
    bool renumber_;
};

class RemoveType : public EditAction
{
  public:
    RemoveType(const MapDocument& document, size_t index, bool renumber)
        : index_(index), type_(document.objectTypes[index]), renumber_(renumber)
    {
    }
    void Redo(MapDocument& document) override
    {
        document.RemoveTypeAt(index_);
        if (renumber_)
            Renumber(document, (unsigned)index_ + 1, -1);
    }
    void Undo(MapDocument& document) override
    {
        if (renumber_)
            Renumber(document, (unsigned)index_, +1);
        document.InsertTypeAt(index_, type_);
    }
    size_t Bytes() const override { return sizeof(*this) + type_.path.size(); }

  private:
    size_t index_;
    ObjectType type_;
    bool renumber_;
};

class ChangeSettings : public EditAction
{
  public:
    ChangeSettings(MapSettings before, MapSettings after)
        : before_(std::move(before)), after_(std::move(after)),
          namesObjectFile_(before_.objectMap != after_.objectMap)
    {
    }
    // The object file's name is where the objects were last saved, which
    // may have changed since the step was made (Save Objects As): a step
    // that did not choose the name keeps it, and one that did gives back,
    // either way, the name it found when it was last done or undone.
    void Redo(MapDocument& document) override
    {
        if (namesObjectFile_)
            before_.objectMap = document.objectMap;
        Write(document, after_);
    }
    void Undo(MapDocument& document) override
    {
        if (namesObjectFile_)
            after_.objectMap = document.objectMap;
        Write(document, before_);
    }
    size_t Bytes() const override { return SettingsBytes(before_) + SettingsBytes(after_); }

  private:
    void Write(MapDocument& document, const MapSettings& settings)
    {
        MapSettings written = settings;
        if (!namesObjectFile_)
            written.objectMap = document.objectMap;
        document.SetSettings(written);
    }

    MapSettings before_;
    MapSettings after_;
    bool namesObjectFile_;
};

// Holds the contents that are not in the document: redoing and undoing both
// swap them in.
class ReplaceContents : public EditAction
{
  public:
    ReplaceContents(std::vector<ObjectType> types, std::vector<PlacedObject> objects)
        : types_(std::move(types)), objects_(std::move(objects))
    {
    }
    void Redo(MapDocument& document) override { document.SwapContents(&types_, &objects_); }
    void Undo(MapDocument& document) override { document.SwapContents(&types_, &objects_); }
    size_t Bytes() const override
    {
        size_t bytes = sizeof(*this) + ListBytes(objects_);
        for (const ObjectType& type : types_)
            bytes += sizeof(type) + type.path.size();
        return bytes;
    }

  private:
    std::vector<ObjectType> types_;
    std::vector<PlacedObject> objects_;
};
} // namespace

std::unique_ptr<EditAction> MakeInsertObjects(std::vector<uint32_t> indices,
                                              std::vector<PlacedObject> records, bool select)
{
    return std::make_unique<InsertObjects>(std::move(indices), std::move(records), select);
}

std::unique_ptr<EditAction> MakeRemoveObjects(const MapDocument& document,
                                              std::vector<uint32_t> indices)
{
    return std::make_unique<RemoveObjects>(document, std::move(indices));
}

std::unique_ptr<EditAction> MakeChangeRecords(std::vector<uint32_t> indices,
                                              std::vector<PlacedObject> before,
                                              std::vector<PlacedObject> after)
{
    return std::make_unique<ChangeRecords>(std::move(indices), std::move(before), std::move(after));
}

std::unique_ptr<EditAction> MakeChangePositions(std::vector<uint32_t> indices,
                                                std::vector<MapPoint> before,
                                                std::vector<MapPoint> after)
{
    return std::make_unique<ChangePositions>(std::move(indices), std::move(before),
                                             std::move(after));
}

std::unique_ptr<EditAction> MakeInsertType(size_t index, ObjectType type, bool renumber)
{
    return std::make_unique<InsertType>(index, std::move(type), renumber);
}

std::unique_ptr<EditAction> MakeRemoveType(const MapDocument& document, size_t index, bool renumber)
{
    return std::make_unique<RemoveType>(document, index, renumber);
}

std::unique_ptr<EditAction> MakeChangeSettings(MapSettings before, MapSettings after)
{
    return std::make_unique<ChangeSettings>(std::move(before), std::move(after));
}

std::unique_ptr<EditAction> MakeReplaceContents(std::vector<ObjectType> types,
                                                std::vector<PlacedObject> objects)
{
    return std::make_unique<ReplaceContents>(std::move(types), std::move(objects));
}
