// Index keys of the catalogue, as written, and their agreement with the
// layouts: every field a key names must exist in the table it indexes.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "storage/catalogue.hpp"
#include "storage/expr.hpp"
#include "storage/layout.hpp"

using namespace tx::storage;

namespace {

std::vector<std::string> keys(int number) {
  std::vector<std::string> out;
  for (const IndexSpec& ix : catalogue_entry(number)->indexes) out.push_back(ix.key);
  return out;
}

// The field names of a key expression: identifiers that are not followed by
// "(" (those are functions) and are not numbers. Upper case.
std::vector<std::string> key_fields(const std::string& key) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < key.size();) {
    unsigned char c = static_cast<unsigned char>(key[i]);
    if (std::isalpha(c) || c == '_') {
      std::size_t j = i;
      std::string word;
      while (j < key.size() && (std::isalnum(static_cast<unsigned char>(key[j])) || key[j] == '_'))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(key[j++])));
      std::size_t k = j;
      while (k < key.size() && key[k] == ' ') ++k;
      if (k >= key.size() || key[k] != '(') out.push_back(word);
      i = j;
    } else if (std::isdigit(c)) {
      while (i < key.size() && std::isalnum(static_cast<unsigned char>(key[i]))) ++i;
    } else {
      ++i;
    }
  }
  return out;
}

bool has_field(const std::vector<FieldDef>& fields, const std::string& name) {
  for (const FieldDef& f : fields)
    if (f.name == name) return true;
  return false;
}

}  // namespace

TEST(CatalogueKeys, KeysAsWritten) {
  struct Case {
    int number;
    std::vector<std::string> keys;
  } cases[] = {
      {1, {"CPF"}},
      {4, {"CPF+str(I7_0,4)"}},
      {5, {"CPF+str(I8_0,4)"}},
      {6, {"CPF+str(I6_3,2)"}},
      {9, {"CPF", "UPPER(NOMECONTR)", "ESTATUS"}},
      {15, {"CPF+ATV_BRASIL"}},
      {18, {"CPF+ATV_BRASIL"}},
      {19, {"CPF+ATV_BRASIL+DTOS(DT_LC)"}},
      {20, {"CPF"}},
      {24, {"str(I7_0)"}},
      {27, {"STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE"}},
      {28, {"STRZERO(BEM_NRO,2)"}},
      {30, {"coddesp"}},
      {31, {"codERR"}},
      {35, {"cpf+ATV_BRASIL"}},
      {37, {"I8R_0"}},
      {38, {"I9R_0"}},
      {29, {"cpf"}},
      {41, {}},
      {42, {"NRO_TERM"}},
      {43, {}},
      {44, {}},
      {45, {"UPPER(NOME)"}},
      {50, {"upper(DIRETOR)"}},
      {51, {"ANOMES"}},
      {55, {"NUMBAN", "NOMEBAN"}},
      {58, {"CDPRO", "upper(OCUPACAO)"}},
      {59, {"CODAT", "UPPER(DESCRAT)"}},
      {64, {}},
      {65, {"upper(nomelogra)"}},
      {66, {"cod"}},
      {67, {"NOSSONRO"}},
      {68, {}},
      {70, {"NOMECONTR", "CPF"}},
      {72, {"NOMEAG", "HORAG+DTOC(DATAG)", "ANOTAG"}},
      {73, {"NOMEAG", "CPF"}},
      {74, {"NOME"}},
      {75, {"NOME"}},
  };
  for (const Case& c : cases) EXPECT_EQ(keys(c.number), c.keys) << "table " << c.number;
}

TEST(CatalogueKeys, KeyFieldParserSkipsFunctionsAndNumbers) {
  EXPECT_EQ(key_fields("CPF+str(I7_0,4)"), (std::vector<std::string>{"CPF", "I7_0"}));
  EXPECT_EQ(key_fields("STRZERO(BEM_NRO,2)+DAY_TRADE"),
            (std::vector<std::string>{"BEM_NRO", "DAY_TRADE"}));
  EXPECT_EQ(key_fields("upper (nomelogra)"), (std::vector<std::string>{"NOMELOGRA"}));
}

TEST(CatalogueKeys, EveryKeyFieldExistsInItsTable) {
  int checked = 0;
  for (int n : catalogue_numbers()) {
    const std::vector<FieldDef>* fields = table_layout(n);
    if (fields == nullptr) continue;  // delivered tables bring their own structure
    for (const IndexSpec& ix : catalogue_entry(n)->indexes) {
      std::vector<std::string> names = key_fields(ix.key);
      EXPECT_FALSE(names.empty()) << "table " << n << " key " << ix.key;
      for (const std::string& name : names) {
        EXPECT_TRUE(has_field(*fields, name)) << "table " << n << " key " << ix.key << ": " << name;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 50);
}

TEST(CatalogueKeys, EveryKeyCompilesAgainstItsLayout) {
  for (int n : catalogue_numbers()) {
    const std::vector<FieldDef>* fields = table_layout(n);
    if (fields == nullptr) continue;
    for (const IndexSpec& ix : catalogue_entry(n)->indexes) {
      std::string error;
      auto expr = Expr::try_compile(ix.key, *fields, &error);
      EXPECT_TRUE(expr.has_value()) << "table " << n << " key " << ix.key << ": " << error;
    }
  }
}
