// The payees register (AUXPAG, table 53: NOME, CGCCPF, CODIGO) as a list of
// the item editor, and the links a payments list uses to reach it.
//
//   payees_list(rural)   the register list: "Descrição", "CPF/CNPJ", "Cod."
//                        in its own window, rows 3-14, columns 2-77; F1-F11
//                        leave (and Alt-F2, F12 when the declaration has
//                        rural activity); Ctrl-Enter takes the row into the
//                        payments list it was opened over (I6_1, I6_2, I6_3)
//   payees_send()        Ctrl-Enter in a payments list: the row's payee goes
//                        to the register when its name is not there yet
//   payees_open()        Alt-F4 in a payments list opens the register
// The checks named by the columns (CPF_CNPJ, TES_COD) are registered by the
// check catalogue; a name not registered leaves the cell unchecked.
#pragma once

#include "items/list_descriptor.hpp"

namespace tx::items {

inline constexpr int kPayeesListCode = 30;
inline constexpr int kPayeesTable = 53;

ListDescriptor payees_list(bool rural = false);
RegisterSend payees_send();
RegisterOpen payees_open();

}  // namespace tx::items
