// A small office for the pick-list tests: a temporary folder holding a
// register of five taxpayers and whatever reference tables a test asks for,
// and a screen over the headless console.
//
// Every box and dialog drops the keys typed ahead when it opens and when it
// closes, so scripts give a {Tick} where the operator would wait for the
// list to show.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/paths.hpp"
#include "screen/picklist.hpp"
#include "screen/screen_storage_host.hpp"
#include "screen_rig.hpp"
#include "storage/dbf_table.hpp"

namespace tx::screen::test {

struct Taxpayer {
  const char* cpf;
  const char* name;
  const char* simple;  // USAPADRAO
  const char* rural;   // TEMRURAL
  int status;
  const char* password;
};

inline const std::vector<Taxpayer> kTaxpayers = {
    {"52998224725", "MARIA SOUZA", "S", "N", 2, "segredo1"},
    {"01234567890", "BEATRIZ NUNES", "N", "S", 1, ""},
    {"11144477735", "JOSE DA SILVA", "N", "N", 3, ""},
    {"98765432100", "ANTONIO LIMA", "S", "S", 4, ""},
    {"22233344405", "LUIZ COSTA", "N", "N", 5, ""},
};

struct PickOffice {
  explicit PickOffice(std::string_view script)
      : root(std::filesystem::temp_directory_path() /
             ("tx_pick_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()))),
        rig(script) {
    std::filesystem::create_directories(root);
    host = std::make_unique<ScreenStorageHost>(rig.screen);
    tables = std::make_unique<storage::Tables>(*host);
    const std::string dir = root.string() + "\\";
    tables->places = {dir, dir, dir, "07"};
    EXPECT_TRUE(tables->ABERTURA(9));
    storage::WorkArea& r = tables->area(9);
    for (const auto& t : kTaxpayers) {
      r.append_blank();
      r.replace_text("CPF", t.cpf);
      r.replace_text("NOMECONTR", t.name);
      r.replace_text("USAPADRAO", t.simple);
      r.replace_text("TEMRURAL", t.rural);
      r.replace_number("ESTATUS", t.status);
      r.replace_text("SENACESSO", t.password);
    }
    r.commit();
    r.go_top();  // the current taxpayer: the first by CPF (BEATRIZ)
    tables->SELECT(9);
    pick = std::make_unique<PickList>(rig.screen, *tables);
    pick->hooks.put = [this](std::string_view target, const GetValue& v) { puts.emplace_back(std::string(target), v); };
  }
  ~PickOffice() {
    pick.reset();
    tables.reset();
    std::filesystem::remove_all(root);
  }
  // A delivered reference table with text fields and these rows.
  void reference(int number, const std::vector<storage::FieldDef>& fields,
                 const std::vector<std::vector<std::string>>& rows) {
    const std::string path = platform::create_path(tables->table_path(number) + ".DBF");
    ASSERT_TRUE(storage::DbfTable::create(path, fields));
    storage::DbfTable t;
    ASSERT_TRUE(t.open(path, storage::DbfTable::Mode::Exclusive));
    for (const auto& row : rows) {
      t.append_blank();
      for (std::size_t i = 0; i < row.size(); ++i) t.set_text(fields[i].name, row[i]);
      t.commit();
    }
    t.close();
  }
  // The text put into `target` by the last choice ("" when none).
  std::string put_text(std::string_view target) const {
    for (auto it = puts.rbegin(); it != puts.rend(); ++it)
      if (it->first == target) {
        if (auto s = std::get_if<std::string>(&it->second)) return *s;
        if (auto n = std::get_if<Decimal>(&it->second)) return n->str(0);
      }
    return {};
  }

  std::filesystem::path root;
  Rig rig;
  std::unique_ptr<ScreenStorageHost> host;
  std::unique_ptr<storage::Tables> tables;
  std::unique_ptr<PickList> pick;
  std::vector<std::pair<std::string, GetValue>> puts;
};

}  // namespace tx::screen::test
