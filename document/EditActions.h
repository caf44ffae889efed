// The kinds of change an undo step is made of. Each holds just what it
// changes: the records it inserts or removes, the records it rewrites (before
// and after), one catalog entry, or the settings before and after.
#ifndef MAPEDITOR_EDITACTIONS_H
#define MAPEDITOR_EDITACTIONS_H

#include <memory>
#include <vector>

#include "document/EditHistory.h"
#include "document/MapDocument.h"

// New objects that end up at these ascending indices. With `select`, redoing
// makes them the selection.
std::unique_ptr<EditAction> MakeInsertObjects(std::vector<uint32_t> indices,
                                              std::vector<PlacedObject> records, bool select);

// The objects at these ascending indices are removed (their records kept
// for undoing, which makes them the selection again).
std::unique_ptr<EditAction> MakeRemoveObjects(const MapDocument& document,
                                              std::vector<uint32_t> indices);

// The records at these indices are rewritten; both ways they become the
// selection.
std::unique_ptr<EditAction> MakeChangeRecords(std::vector<uint32_t> indices,
                                              std::vector<PlacedObject> before,
                                              std::vector<PlacedObject> after);

// The objects at these indices move between two sets of positions; both
// ways they become the selection. (A move holds 20 bytes an object.)
std::unique_ptr<EditAction> MakeChangePositions(std::vector<uint32_t> indices,
                                                std::vector<MapPoint> before,
                                                std::vector<MapPoint> after);

// A catalog entry inserted at `index`. With `renumber`, the type bytes of
// objects at or above the index move up with the entries (and back down on
// undo); without, no record changes (an entry appended at the end).
std::unique_ptr<EditAction> MakeInsertType(size_t index, ObjectType type, bool renumber);

// The catalog entry at `index` removed; with `renumber`, the type bytes
// above it move down by one. No object may use the entry any more.
std::unique_ptr<EditAction> MakeRemoveType(const MapDocument& document, size_t index,
                                           bool renumber);

std::unique_ptr<EditAction> MakeChangeSettings(MapSettings before, MapSettings after);

// Catalog and objects replaced as a whole.
std::unique_ptr<EditAction> MakeReplaceContents(std::vector<ObjectType> types,
                                                std::vector<PlacedObject> objects);

#endif
