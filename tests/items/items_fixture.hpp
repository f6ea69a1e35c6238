// A headless screen, an item editor and small temporary tables for the item
// editor tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "items/item_editor.hpp"
#include "items/edit_context.hpp"
#include "platform/console_headless.hpp"
#include "platform/keys.hpp"
#include "screen/screen.hpp"
#include "storage/workarea.hpp"

namespace tx::items::test {

namespace fs = std::filesystem;

inline const char* kCpf = "11111111111";

// A numbered list of one taxpayer's rows (area 5): item, description,
// value with its twelve monthly amounts, line.
inline std::vector<storage::FieldDef> numbered_fields() {
  std::vector<storage::FieldDef> f = {{"CPF", 'C', 11, 0},  {"ITEM", 'N', 3, 0},   {"DESCR", 'C', 20, 0},
                                      {"VALOR", 'N', 12, 2}, {"LINHA", 'N', 4, 0}};
  for (int m = 1; m <= 12; ++m) f.push_back({std::string("VAL") + (m < 10 ? "0" : "") + std::to_string(m), 'N', 12, 2});
  return f;
}

inline ListDescriptor numbered_list() {
  ListDescriptor d;
  d.code = 5;
  d.name = "numbered";
  d.area = 5;
  d.filter = std::string("CPF==\"") + kCpf + "\"";
  d.window = {1, 0, 10, 79};
  d.defaults_cpf = true;
  d.stamp_cpf = true;
  d.ult_pos = 4;
  d.columns = {
      {.heading = "Item", .field = "ITEM", .picture = "@Z 999", .item_number = true},
      {.heading = "Descr", .field = "DESCR", .picture = "@S20", .sort_key = "UPPER(DESCR)", .row_text = true,
       .paste_target = true},
      {.heading = "Valor", .field = "VALOR", .picture = "@E 999,999.99", .monthly = MonthlyKind::Fields,
       .monthly_prefix = "VAL", .row_text = true},
      {.heading = "Linha", .field = "LINHA", .picture = "@Z 9999", .sort_key = "STR(LINHA,4)", .line_number = true},
  };
  d.caps.insert = InsertStyle::After;
  d.caps.insert_lines = true;
  d.caps.renumber = true;
  d.caps.row_clipboard = true;
  d.caps.leave_keys = {key::F(5)};
  return d;
}

struct ItemsFixture : ::testing::Test {
  fs::path dir = fs::temp_directory_path() /
                 ("tx_items_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()));
  std::unique_ptr<platform::HeadlessConsole> con = platform::make_headless_console("");
  screen::Screen screen{*con};
  std::map<int, std::unique_ptr<storage::WorkArea>> areas;
  ItemEditor ed{screen, [this](int n) -> storage::WorkArea* {
                  auto it = areas.find(n);
                  return it == areas.end() ? nullptr : it->second.get();
                }};

  ItemsFixture() {
    fs::create_directories(dir);
    ed.work_folder = dir.string();
    ed.CPF = kCpf;
  }
  ~ItemsFixture() override {
    for (auto& [n, wa] : areas) wa->close();
    fs::remove_all(dir);
  }

  storage::WorkArea& open(int number, const std::vector<storage::FieldDef>& fields) {
    std::string path = (dir / ("T" + std::to_string(number) + ".DBF")).string();
    EXPECT_TRUE(storage::DbfTable::create(path, fields));
    auto wa = std::make_unique<storage::WorkArea>(number);
    EXPECT_TRUE(wa->open(path, storage::DbfTable::Mode::Exclusive, "T" + std::to_string(number)));
    auto& ref = *wa;
    areas[number] = std::move(wa);
    return ref;
  }

  // A row of the numbered list for the fixture's taxpayer (or another).
  void add(storage::WorkArea& wa, int item, const char* descr, int line, const char* cpf = kCpf) {
    ASSERT_TRUE(wa.append_blank());
    wa.replace_text("CPF", cpf);
    wa.replace_number("ITEM", item);
    wa.replace_text("DESCR", descr);
    wa.replace_number("LINHA", line);
    wa.commit();
  }

  // Alt-Q in a list records the editor's state and the current record's
  // `field` (key_field of the probe).
  struct Probe {
    int opc, ponteiro, pontvert;
    std::string campo;
    bool lappend;
    std::string current;
  };
  std::vector<Probe> probes;
  void add_probe(ListDescriptor& d, std::string field = "DESCR") {
    ed.registry.add_action("probe" + field, [this, field](EditContext& c) {
      probes.push_back({c.editor.OPC, c.editor.PONTEIRO, c.editor.PONTVERT, c.editor.EDI_CAMPO, c.editor.LAPPEND,
                        c.area.eof() ? "<eof>" : c.area.trimmed(field)});
      return ActionResult::Stay;
    });
    d.caps.key_actions[key::Alt('Q')] = "probe" + field;
  }

  // Runs a list with the keys of `script`; the script must be used up by
  // the list (it ends with a leaving key).
  void run(const ListDescriptor& list, const std::string& script) {
    ASSERT_TRUE(con->append_script(script)) << con->script_error();
    ed.EDITA(list);
    EXPECT_FALSE(con->script_exhausted()) << con->exhausted_message();
    EXPECT_EQ(con->events_left(), 0u);
  }

  // The visible records' values of a field, in the area's order.
  static std::vector<std::string> column(storage::WorkArea& wa, const char* field) {
    std::vector<std::string> out;
    for (wa.go_top(); !wa.eof(); wa.skip(1)) {
      auto f = wa.table().field(wa.table().field_index(field));
      out.push_back(f.type == 'N' ? std::to_string(wa.get_number(field).to_long()) : wa.trimmed(field));
    }
    return out;
  }

  // Program row as code page 850 bytes.
  std::string row(int program_row) const {
    std::string r;
    for (int c = 0; c < platform::kCols; ++c)
      r += static_cast<char>(con->get(program_row + platform::kScreenTop, c).ch);
    return r;
  }
};

}  // namespace tx::items::test
