// The exempt part of retirement income after 65.
#include <gtest/gtest.h>

#include "tax/over65.hpp"
#include "tax_test_support.hpp"

using namespace tx;
using namespace tx::tax;
using namespace tx::tax::testing;

TEST(Over65, AgeAndLimitByBirthDate) {
  struct Case { Date birth; bool is65; const char* limit; const char* why; };
  const Case cases[] = {
      {dt(31, 12, 1948), true, "3421.56", "turned 65 on the last day: 1710.78 x (14 - 12)"},
      {dt(10, 3, 1948), true, "18818.58", "turned 65 in March: 1710.78 x 11"},
      {dt(1, 1, 1948), true, "22240.14", "turned 65 in January: 1710.78 x 13 = the whole year"},
      {dt(15, 7, 1940), true, "22240.14", "older: the annual limit"},
      {dt(1, 1, 1949), false, "0", "still 64 at the end of 2013"},
      {{}, false, "0", "no birth date"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TEM_65(c.birth), c.is65) << c.why;
    EXPECT_EQ(LIMITE_65(c.birth), D(c.limit)) << c.why;
  }
}

TEST(Over65, TypedValueAgainstTheLimit) {
  struct Case {
    const char* what;
    const char* typed;
    Date birth;
    bool titular;
    const char* others;
    const char* CODAT;
    bool confirm;
    bool transfer;
    Limit3Motivo reason;
    const char* stored;
    const char* to_taxable;
    const char* excess;
  };
  const Case cases[] = {
      {"within the limit", "5000", dt(1, 1, 1940), true, "0", "61", false, false,
       Limit3Motivo::Aceito, "5000", "0", "0"},
      // limit 18818.58; room 18818.58 - 15000 = 3818.58; excess 5000 - 3818.58
      {"excess moved to taxable income", "5000", dt(10, 3, 1948), true, "15000", "61", false, true,
       Limit3Motivo::Excesso, "3818.58", "1181.42", "1181.42"},
      {"excess kept where it is when the operator declines", "5000", dt(10, 3, 1948), true, "15000",
       "61", false, false, Limit3Motivo::Excesso, "5000", "0", "1181.42"},
      {"other items already over the limit", "1000", dt(10, 3, 1948), true, "20000", "61", false,
       true, Limit3Motivo::Excesso, "0", "1000", "1000"},
      {"born 31/12/1948 is 65", "3000", dt(31, 12, 1948), false, "0", "", false, false,
       Limit3Motivo::Aceito, "3000", "0", "0"},
      {"younger than 65", "3000", dt(1, 1, 1949), true, "0", "61", false, false,
       Limit3Motivo::Menor65, "0", "0", "0"},
      {"dependant without a birth date", "3000", {}, false, "0", "", false, false,
       Limit3Motivo::FaltaNascimento, "0", "0", "0"},
      {"not retired and not confirmed", "3000", dt(1, 1, 1940), true, "0", "11", false, false,
       Limit3Motivo::CodatRecusado, "0", "0", "0"},
      {"not retired but confirmed", "3000", dt(1, 1, 1940), true, "0", "11", true, false,
       Limit3Motivo::Aceito, "3000", "0", "0"},
      {"empty", "0", dt(1, 1, 1940), true, "0", "61", false, false, Limit3Motivo::Vazio, "0", "0",
       "0"},
  };
  for (const auto& c : cases) {
    Limit3Entrada in;
    in.valor = D(c.typed);
    in.nascimento = c.birth;
    in.titular = c.titular;
    in.outros = D(c.others);
    in.CODAT = c.CODAT;
    in.confirma_codat = c.confirm;
    in.transfere_excesso = c.transfer;
    Limit3Saida r = LIMIT3(in);
    EXPECT_EQ(r.motivo, c.reason) << c.what;
    EXPECT_EQ(r.valor, D(c.stored)) << c.what;
    EXPECT_EQ(r.somar_tributavel, D(c.to_taxable)) << c.what;
    EXPECT_EQ(r.excesso, D(c.excess)) << c.what;
  }
}
