#pragma once
// Starts desktop programs for the player without tying them to it.

#include <string>
#include <vector>

namespace tarn::win32 {

// Starts the program named by the first word (looked up on PATH) with exactly these words as
// its arguments, and does not wait for it. The program inherits no descriptor but 0, 1 and
// 2, and default signal handling: a viewer started from a disc must not keep the player's
// files, or the disc, busy after the player ends. A first word with a "/" is a path, never
// looked up. It runs in folder when one is given. False when it could not be started.
bool StartDetached(const std::vector<std::string>& words, const std::string& folder = {});

}  // namespace tarn::win32
