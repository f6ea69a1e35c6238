// The pick-list table: which list a field opens, and the taxpayer footings.
#include <gtest/gtest.h>

#include "base/codepage.hpp"
#include "picklist_fixture.hpp"

namespace tx::screen {
namespace {

TEST(PickListDefs, ChosenByFieldName) {
  struct C { std::string field; int mode; int table; std::string first_heading; };
  for (const auto& c : std::vector<C>{
           {"M->CPF", 1, 9, "Nome do Contribuinte"},
           {"M->CPF", 0, 9, "Nome do Contribuinte"},
           {"m->cpf2", 0, 9, "Nome do Contribuinte"},
           {"M->CPFSAC", 0, 9, "Nome do Contribuinte"},
           {"M->CGCPAGADOR", 0, 22, " Firma pagadora "},
           {"M->OCUPACAO", 0, 58, "Cód"_cp},
           {"I1_8", 0, 23, "Nome Dependente "},
           {"M->CPFALIEN", 0, 23, "Nome Dependente "},
           {"M->DESCRAT", 0, 59, "Cód"_cp},
           {"M->BANCO", 0, 55, "Nro."},
           {"CODIDEPEN", 0, 47, "Cod."},
           {"nDesFim", 0, 46, "Cod."},
           {"I8_5", 0, 48, "Cod."},
           {"CODIGO", 0, 49, "Cod."},
           {"M->DESTINO", 0, 50, "Nome dos diretórios"_cp},
           {"I8R_3", 0, 60, "Cod."},
           {"M->CODEMB", 0, 61, "Cod."},
           {"M->OPC_TRAN", 0, 66, "Cod."},
           {"M->RUAIMO", 0, 65, "Tipo Endereço"_cp},
           {"MUNICIMO", 0, 64, "Nome dos municípios"_cp},
           {"M->UF", 0, 64, "Nome dos Estados"},
           {"M->CIDDOA", 0, 75, "Nome dos municípios"_cp},
           {"CDCONTA", 0, 62, "Código"_cp},
           {"CODIGOA", 0, 69, "Cod."},
       }) {
    const PickDef* d = find_pick_list(c.field, c.mode);
    ASSERT_NE(d, nullptr) << c.field;
    EXPECT_EQ(d->table, c.table) << c.field;
    ASSERT_FALSE(d->columns.empty()) << c.field;
    EXPECT_EQ(d->columns.front().heading, c.first_heading) << c.field;
    EXPECT_FALSE(d->puts.empty()) << c.field;
  }
  EXPECT_EQ(find_pick_list("M->NADA"), nullptr);
  EXPECT_EQ(find_pick_list("M->CPF", 1)->columns.size(), 2u);     // the plain list
  EXPECT_GT(find_pick_list("M->CPF", 0)->columns.size(), 10u);    // with the DARF columns
  EXPECT_EQ(find_pick_list("M->CPF1", 1), find_pick_list("M->CPF1", 0));  // no plain list of its own
}

TEST(PickListDefs, DependantsAndAlimonyAreApart) {
  EXPECT_EQ(find_pick_list("M->CPFDEPEN")->filter, "CODIDEPEN < 98");
  EXPECT_EQ(find_pick_list("M->CPFALIEN")->filter, "CODIDEPEN >= 98");
}

TEST(PickListDefs, TaxpayerFootings) {
  test::PickOffice o("");
  storage::WorkArea& r = o.tables->area(9);
  r.go_top();
  r.skip(2);
  const auto at = r.recno();
  struct F { PickFooting kind; std::string text; };
  for (const auto& f : std::vector<F>{
           {PickFooting::Declarations, "5 Declaraçöes"_cp},
           {PickFooting::SimplePercent, "40% Simples"},
           {PickFooting::CompletePercent, "60% Compl"},
           {PickFooting::Rural, "2"},
           {PickFooting::Simple, "2"},
           {PickFooting::SimpleComplete, "simp. 3 comp."},
           {PickFooting::None, ""},
       }) {
    EXPECT_EQ(taxpayer_footing(r, f.kind), f.text);
    EXPECT_EQ(r.recno(), at);  // the position is kept
  }
}

}  // namespace
}  // namespace tx::screen
