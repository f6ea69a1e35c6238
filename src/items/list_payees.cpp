// The payees register's descriptor and links.
#include "items/list_payees.hpp"

#include "base/codepage.hpp"
#include "platform/keys.hpp"

namespace tx::items {

ListDescriptor payees_list(bool rural) {
  ListDescriptor d;
  d.code = kPayeesListCode;
  d.name = "payees";
  d.area = kPayeesTable;
  d.window = {3, 2, 14, 77};
  d.frame = 2;
  d.hint = "Anote dados repetitivos - Crtl Enter - Transfere os dados";
  d.columns = {
      {.heading = "Descrição"_cp.str(), .field = "NOME", .picture = "@S50"},
      {.heading = "CPF/CNPJ", .field = "CGCCPF", .picture = "@S18", .valid = "CPF_CNPJ"},
      {.heading = "Cod.", .field = "CODIGO", .picture = "@Z 99", .valid = "TES_COD"},
  };
  for (int f = 1; f <= 11; ++f) d.caps.leave_keys.push_back(key::F(f));
  if (rural) {
    d.caps.leave_keys.push_back(key::AltF(2));
    d.caps.leave_keys.push_back(key::F(12));
  }
  d.caps.take = RegisterTake{{{"NOME", "I6_1"}, {"CGCCPF", "I6_2"}, {"CODIGO", "I6_3"}}, ""};
  return d;
}

RegisterSend payees_send() {
  return RegisterSend{kPayeesTable, "NOME", {{"I6_1", "NOME"}, {"I6_2", "CGCCPF"}, {"I6_3", "CODIGO"}}};
}

RegisterOpen payees_open() { return RegisterOpen{key::AltF(4), "payees"}; }

}  // namespace tx::items
