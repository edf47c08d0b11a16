#pragma once
// Temporaries that a writer killed before its rename left behind (the
// settings file's, a screenshot's): the next write into the same folder
// removes them, but only what is surely one of them and surely abandoned:
// a regular file of this user's, named as the writer names its temporaries,
// last changed more than a minute ago (a write running now in another
// program keeps its own).

#include <functional>
#include <string_view>

namespace ui {

// A temporary this old was left by a writer that did not finish.
inline constexpr long kStaleTemporarySeconds = 60;

// Removes the stale temporaries in the open folder FOLDER whose names
// IS_TEMPORARY accepts.
void removeStaleTemporaries(int folder, const std::function<bool(std::string_view name)>& isTemporary);

}  // namespace ui
