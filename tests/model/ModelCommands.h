// The commands of the model test (ModelEditCommands.cpp, ModelMapCommands.cpp,
// ModelBrushCommands.cpp) and what they share. Each takes its arguments from
// the command bytes.
#ifndef MAPEDITOR_TESTS_MODELCOMMANDS_H
#define MAPEDITOR_TESTS_MODELCOMMANDS_H

#include <stdint.h>

#include <vector>

#include "tests/model/DocumentModel.h"

namespace model
{
// The model's objects at these ascending indices go, the selection follows;
// RemoveObjects records it as a step.
void EraseObjects(Model& m, const std::vector<uint32_t>& removed);
void RemoveObjects(Model& m, const std::vector<uint32_t>& removed);

// The pointer, the keys and the Edit menu.
void Press(ModelWorld& w, CommandBytes& in);
void Move(ModelWorld& w, CommandBytes& in);
void Release(ModelWorld& w, CommandBytes& in);
void Place(ModelWorld& w, CommandBytes& in);
void Nudge(ModelWorld& w, CommandBytes& in);
void Rotate(ModelWorld& w, CommandBytes& in);
void SetType(ModelWorld& w, CommandBytes& in);
void ChooseType(ModelWorld& w, CommandBytes& in);
void Delete(ModelWorld& w, CommandBytes& in);
void DeleteAtPopup(ModelWorld& w, CommandBytes& in);
void CopyOrCut(ModelWorld& w, CommandBytes& in);
void Paste(ModelWorld& w, CommandBytes& in);
void Duplicate(ModelWorld& w, CommandBytes& in);
void SelectAllOrNone(ModelWorld& w, CommandBytes& in);
void Undo(ModelWorld& w, CommandBytes& in);
void ToggleSnap(ModelWorld& w, CommandBytes& in);

// The palette, the map and the files.
void AddType(ModelWorld& w, CommandBytes& in);
void RemoveType(ModelWorld& w, CommandBytes& in);
void ImportHeightmap(ModelWorld& w, CommandBytes& in);
void Properties(ModelWorld& w, CommandBytes& in);
void SaveObjects(ModelWorld& w, CommandBytes& in);
void SaveMap(ModelWorld& w, CommandBytes& in);
void LoadObjects(ModelWorld& w, CommandBytes& in);
void OpenMap(ModelWorld& w, CommandBytes& in);
void RecoveryCopy(ModelWorld& w, CommandBytes& in);

// The brush and the eraser (ModelBrushCommands.cpp).
void BrushAlong(ModelWorld& w, CommandBytes& in);
void EraseAlong(ModelWorld& w, CommandBytes& in);
} // namespace model

#endif
