// The catalogue of item lists, walked as data: every list of every context
// edits fields its table has, its columns, frozen and start columns fit, its
// window fits the screen, and codes and names are unique.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "base/codepage.hpp"
#include "items/catalogue_lists.hpp"
#include "items_fixture.hpp"
#include "storage/layout.hpp"

using namespace tx;
using namespace tx::items;

namespace {

// Delivered reference tables: their structure is the delivered file's, so
// there is no layout to check their fields against.
const std::set<int> kDelivered = {kContasTable, kStatusTable};

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool has_field(const std::vector<storage::FieldDef>& layout, const std::string& name) {
  std::string n = upper(name);
  return std::any_of(layout.begin(), layout.end(), [&](const storage::FieldDef& f) { return f.name == n; });
}

std::vector<CatalogueContext> contexts() {
  std::vector<CatalogueContext> all(1);
  CatalogueContext c;
  c.exit_declaration = true;
  c.transfer = true;
  c.expense_percent = false;
  c.kind = 'L';
  all.push_back(c);
  c = {};
  c.final_estate = true;
  c.abroad = true;
  c.rural = true;
  c.dependants = true;
  c.dependant_cpf = "12345678909";
  c.notes_from = 1;
  c.kind = 'D';
  all.push_back(c);
  for (char k : {'E', 'P', 'I'}) {
    c = {};
    c.kind = k;
    c.notes_from = 2;
    all.push_back(c);
  }
  return all;
}

std::vector<ListDescriptor> every_list(const CatalogueContext& ctx) {
  std::vector<ListDescriptor> lists;
  for (int code : catalogue_codes()) lists.push_back(catalogue_list(code, ctx));
  for (const auto& [name, code] : catalogue_names()) lists.push_back(catalogue_list(name, ctx));
  return lists;
}

void check_list(const ListDescriptor& d, const std::string& where) {
  SCOPED_TRACE(where + " list " + std::to_string(d.code) + " " + d.name);
  ASSERT_NE(d.code, 0);
  EXPECT_FALSE(d.name.empty());
  ASSERT_FALSE(d.columns.empty());
  const int n = static_cast<int>(d.columns.size());
  EXPECT_GE(d.frozen, 0);
  EXPECT_LT(d.frozen, n);
  EXPECT_GE(d.start_column, 1);
  EXPECT_LE(d.start_column, n);
  EXPECT_GE(d.ult_pos, 1);
  EXPECT_FALSE(d.window.empty());
  EXPECT_GE(d.window.top, 0);
  EXPECT_LE(d.window.bottom, 24);
  EXPECT_GE(d.window.left, 0);
  EXPECT_LE(d.window.right, 79);

  const auto* layout = storage::table_layout(d.area);
  if (kDelivered.count(d.area)) {
    EXPECT_EQ(layout, nullptr);
  } else {
    ASSERT_NE(layout, nullptr) << "table " << d.area;
  }
  auto exists = [&](const std::string& field) {
    if (layout) {
      EXPECT_TRUE(has_field(*layout, field)) << field << " in table " << d.area;
    }
  };
  for (const ColumnDef& c : d.columns) {
    SCOPED_TRACE("column " + c.heading);
    EXPECT_FALSE(c.heading.empty());
    EXPECT_NE(c.heading.find_first_not_of(' '), std::string::npos);
    EXPECT_NE(c.field.empty(), c.expression.empty()) << "a column edits a field or shows an expression";
    if (!c.field.empty()) exists(c.field);
    if (!c.shown.empty()) exists(c.shown);
    EXPECT_GE(c.shown_width, 0);
    if (c.monthly == MonthlyKind::Fields) {
      exists(c.monthly_prefix + "01");
      exists(c.monthly_prefix + "12");
    }
  }
  for (const FieldValue& f : d.defaults) exists(f.field);
  for (const FieldValue& f : d.paste_defaults) exists(f.field);
  for (const std::string& f : d.keep_on_insert) exists(f);
  if (!d.recno_line_field.empty()) exists(d.recno_line_field);
  if (d.caps.send) {
    for (const auto& [list_field, register_field] : d.caps.send->fields) exists(list_field);
    const auto* reg = storage::table_layout(d.caps.send->area);
    ASSERT_NE(reg, nullptr);
    EXPECT_TRUE(has_field(*reg, d.caps.send->key_field));
    for (const auto& [list_field, register_field] : d.caps.send->fields)
      EXPECT_TRUE(has_field(*reg, register_field)) << register_field;
  }
  if (d.caps.take) {
    for (const auto& [register_field, list_field] : d.caps.take->fields) exists(register_field);
  }
}

}  // namespace

TEST(CatalogueLists, EveryListFitsItsTableAndItsWindow) {
  for (const CatalogueContext& ctx : contexts()) {
    std::string where = "kind " + std::string(1, ctx.kind ? ctx.kind : '-') +
                        (ctx.exit_declaration ? " exit" : "") + (ctx.final_estate ? " final" : "") +
                        (ctx.abroad ? " abroad" : "");
    for (const ListDescriptor& d : every_list(ctx)) check_list(d, where);
  }
}

TEST(CatalogueLists, CodesAndNamesAreUnique) {
  std::set<int> codes;
  for (int code : catalogue_codes()) {
    EXPECT_TRUE(codes.insert(code).second) << "code " << code << " twice";
    EXPECT_EQ(catalogue_list(code).code, code);
  }
  std::set<std::string> names;
  for (const auto& [name, code] : catalogue_names()) {
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
    EXPECT_EQ(catalogue_list(name).code, code) << name;
    EXPECT_EQ(catalogue_list(name).name, name);
  }
  EXPECT_EQ(catalogue_list(7).code, 0);
  EXPECT_EQ(catalogue_list("no such list").code, 0);
}

TEST(CatalogueLists, ContextChangesTheColumns) {
  CatalogueContext exit;
  exit.exit_declaration = true;
  EXPECT_EQ(catalogue_list(1).columns.size(), 28u);
  ASSERT_EQ(catalogue_list(1, exit).columns.size(), 29u);
  EXPECT_EQ(catalogue_list(1, exit).columns.back().field, "DT_LC");
  EXPECT_EQ(catalogue_list(2).columns.size(), 29u);
  EXPECT_EQ(catalogue_list(2).columns.front().field, "I1_8");
  EXPECT_EQ(catalogue_list(3, exit).columns.back().heading, "Sai");
  EXPECT_EQ(catalogue_list(3, exit).ult_pos, 6);
  EXPECT_EQ(catalogue_list(3).ult_pos, 5);
  EXPECT_EQ(catalogue_list("heirs").ult_pos, 2);

  CatalogueContext final_estate;
  final_estate.final_estate = true;
  EXPECT_EQ(catalogue_list(5, final_estate).columns[2].heading, " Data Partilha");
  EXPECT_EQ(catalogue_list(5, final_estate).columns[3].heading, " Val. Transf. ");
  EXPECT_EQ(catalogue_list(5, final_estate).columns[4].valid, "VEJA_IMOV");
  EXPECT_EQ(catalogue_list(5).columns[2].heading, "Em 31/12/2012");
  EXPECT_EQ(catalogue_list(5).columns[4].valid, "TES_COD");

  CatalogueContext abroad;
  abroad.abroad = true;
  EXPECT_EQ(catalogue_list(34).ult_pos, 8);
  ASSERT_EQ(catalogue_list(34, abroad).columns.size(), 13u);
  for (int i = 10; i < 13; ++i) EXPECT_EQ(catalogue_list(34, abroad).columns[i].valid, "CALCULADO");

  CatalogueContext dependant;
  dependant.dependants = true;
  dependant.dependant_cpf = "12345678909";
  dependant.kind = 'P';
  ListDescriptor details = catalogue_list(17, dependant);
  EXPECT_EQ(details.filter, "I1_1 = \"P\" .AND. I1_11 = \"N\" .AND. I1_8 = \"12345678909\"");
  EXPECT_EQ(details.window.bottom, 16);
  EXPECT_EQ(details.start_column, 2);
  EXPECT_EQ(catalogue_list(17).window.bottom, 21);
  EXPECT_EQ(catalogue_list(17).filter, "I1_1 = \"F\" .AND. I1_11 = \"S\"");

  CatalogueContext check;
  check.notes_from = 1;
  EXPECT_EQ(catalogue_list(11, check).frame, 0);
  EXPECT_EQ(catalogue_list(11, check).window.top, 7);
  EXPECT_NE(catalogue_list(11).frame, 0);

  CatalogueContext expenses;
  expenses.kind = 'D';
  EXPECT_EQ(catalogue_list(38, expenses).columns.size(), 5u);
  EXPECT_EQ(catalogue_list(38).columns.size(), 4u);
  EXPECT_EQ(catalogue_list(38, expenses).ult_pos, 5);
}

TEST(CatalogueLists, RegisteredByName) {
  auto con = platform::make_headless_console("");
  screen::Screen screen{*con};
  ItemEditor ed{screen, [](int) -> storage::WorkArea* { return nullptr; }};
  register_catalogue(ed);
  EXPECT_EQ(ed.catalogue.size(), catalogue_names().size());
  for (const auto& [name, code] : catalogue_names()) {
    auto it = ed.catalogue.find(name);
    ASSERT_NE(it, ed.catalogue.end()) << name;
    EXPECT_EQ(it->second.code, code);
  }
  // The registers the lists open are in the catalogue.
  for (const auto& [name, d] : ed.catalogue) {
    if (d.caps.open_register) {
      EXPECT_TRUE(ed.catalogue.count(d.caps.open_register->list)) << name;
    }
  }
  EXPECT_EQ(ed.catalogue.at("payments").columns[4].monthly, MonthlyKind::Fields);
  EXPECT_EQ(ed.catalogue.at("dependants").frozen, 1);
}
