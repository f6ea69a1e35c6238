#include "shell/office_tools.hpp"

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "items/item_editor.hpp"
#include "items/list_folders.hpp"
#include "screen/calculator.hpp"
#include "shell/folders.hpp"
#include "shell/program.hpp"

namespace tx::shell {

namespace {

void folder_list(Program& p) {
  items::ItemEditor editor(p.screen, [&p](int n) { return &p.tables.area(n); });
  FolderRoutines folders(p.screen, p.tables, p.g);
  editor.registry.add_check("TROCA_NAO", [&](items::EditContext& c) {
    auto* text = std::get_if<std::string>(&c.value);
    if (!text || !c.column) return true;
    if (c.column->field == "SELEC") {
      std::string v = UPPER(ALLTRIM(*text));
      if (v == "S") return folders.TROCASIM(1);
      if (v.empty() || v == "N") return true;
      p.screen.AVISOSN("Digite S de sim ou N de não"_cp.str());
      return false;
    }
    // Folder names keep the case they were typed in.
    std::string v = RTRIM(*text);
    while (v.size() > 1 && (v.back() == '\\' || v.back() == '/')) v.pop_back();
    c.value = v;
    return folders.valid_folder_name(v);
  });
  items::ListDescriptor list = items::folder_list();
  for (auto& col : list.columns)
    if (col.field == "DIRETOR") col.picture = "@S52";
  editor.EDITA(list);
}

}  // namespace

void install_office_tools(Program& program) {
  screen::install_calculator(program.screen);
  program.set_command(15, [](Program& p, int) { folder_list(p); });
  // Opções > Local de trabalho; Envia p/ Receita > Local do programa da Receita.
  program.set_command(21, [](Program& p, int) { FolderRoutines(p.screen, p.tables, p.g).SELAREA(1); });
  program.set_command(67, [](Program& p, int) { FolderRoutines(p.screen, p.tables, p.g).SELAREA(2); });
}

}  // namespace tx::shell
