// The folder list's descriptor and check.
#include "items/list_folders.hpp"

#include "base/xbase.hpp"

namespace tx::items {

ListDescriptor folder_list() {
  ListDescriptor d;
  d.code = kFolderListCode;
  d.name = "folders";
  d.area = kFolderTable;
  d.window = {2, 16, 18, 73};
  d.frame = 2;
  d.title = "Pastas";
  d.columns = {
      {.heading = "Sel", .field = "SELEC", .picture = "@!", .valid = "TROCA_NAO"},
      {.heading = "Drive e Pasta", .field = "DIRETOR", .shown_width = 52, .picture = "@!s52", .valid = "TROCA_NAO"},
  };
  return d;
}

void add_folder_checks(Registry& registry) {
  registry.add_check("TROCA_NAO", [](EditContext& c) {
    auto* text = std::get_if<std::string>(&c.value);
    if (!text || !c.column) return true;
    if (c.column->field == "SELEC") {
      std::string v = UPPER(ALLTRIM(*text));
      return v.empty() || v == "S" || v == "N";
    }
    std::string v = RTRIM(UPPER(*text));
    while (v.size() > 1 && (v.back() == '\\' || v.back() == '/')) v.pop_back();
    c.value = v;
    return true;
  });
}

}  // namespace tx::items
