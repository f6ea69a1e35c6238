// The terminal's folder list (table 50: SELEC, DIRETOR) as a list of the
// item editor, and its check.
//
//   folder_list()                 the descriptor: "Sel" and "Drive e Pasta"
//                                 in the window "Pastas", rows 2-18,
//                                 columns 16-73
//   add_folder_checks(registry)   TROCA_NAO: "Sel" takes "S", "N" or blank;
//                                 a folder is kept in upper case without a
//                                 trailing backslash
#pragma once

#include "items/edit_context.hpp"
#include "items/list_descriptor.hpp"

namespace tx::items {

inline constexpr int kFolderListCode = 40;
inline constexpr int kFolderTable = 50;

ListDescriptor folder_list();
void add_folder_checks(Registry& registry);

}  // namespace tx::items
