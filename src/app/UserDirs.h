#pragma once
// The player's folders, after the XDG base directory rules.
#include <filesystem>

namespace kv::app {

// $XDG_CONFIG_HOME/kalvento, else ~/.config/kalvento; empty when there is no home folder.
// Not created here.
std::filesystem::path ConfigDir();
// $XDG_DATA_HOME/kalvento, else ~/.local/share/kalvento: the record, replays, attack history.
// Empty when there is no home folder. Not created here.
std::filesystem::path PlayerDataDir();
// Where screenshots go: $XDG_PICTURES_DIR, else XDG_PICTURES_DIR of user-dirs.dirs, else
// ~/Pictures when it exists, else $XDG_DATA_HOME/kalvento/screenshots (or
// ~/.local/share/kalvento/screenshots). Created when missing; raises std::runtime_error when
// there is none to be had.
std::filesystem::path PicturesDir();

}  // namespace kv::app
